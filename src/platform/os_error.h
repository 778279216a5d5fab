// The operating-system error raised when a system service fails outright.
#pragma once

#include <cstdint>
#include <string>

#include "platform/setup_error.h"

namespace platform {

class EOSError : public ESetupError {
 public:
  EOSError(uint32_t code, const std::string& message) : ESetupError(message), code_(code) {}
  uint32_t Code() const { return code_; }

 private:
  uint32_t code_;
};

// Raises the last platform error as "System Error.  Code: N.\r\nTEXT".
[[noreturn]] void RaiseLastOSError();

}  // namespace platform
