// The shell on the host: requests are logged, nothing is started.
#include "platform/shell.h"

#include "platform/host/host_state.h"

namespace platform {

bool ShellOpen(const std::string& file) {
  host::State().started.push_back("open " + file);
  host::AppendLog("started.log", "open " + file + "\n");
  return true;
}

bool ShellOpenWith(const std::string& file, const std::string& parameters,
                   const std::string& folder, int show) {
  std::string entry = "open " + file + " parameters " + parameters + " folder " + folder +
                      " show " + std::to_string(show);
  host::State().started.push_back(entry);
  host::AppendLog("started.log", entry + "\n");
  return true;
}

}  // namespace platform
