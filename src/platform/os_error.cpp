#include "platform/os_error.h"

#include "platform/file_system.h"

namespace platform {

void RaiseLastOSError() {
  uint32_t code = LastError();
  throw EOSError(code, "System Error.  Code: " + std::to_string(code) + ".\r\n" +
                           SystemErrorText(code));
}

}  // namespace platform
