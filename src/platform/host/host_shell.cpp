// The shell on the host: requests are logged, nothing is started.
#include "platform/shell.h"

#include "platform/host/host_state.h"

namespace platform {

bool ShellOpen(const std::string& file) {
  host::State().started.push_back("open " + file);
  host::AppendLog("started.log", "open " + file + "\n");
  return true;
}

}  // namespace platform
