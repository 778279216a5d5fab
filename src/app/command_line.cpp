#include "app/command_line.h"

#include <string>
#include <vector>

#include "platform/process.h"

bool SilentOnCommandLine() {
  std::vector<std::string> parameters = platform::CommandLineParameters();
  return !parameters.empty() && parameters[0] == "/s";
}
