// The operating-system error raised when a system service fails outright.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

class EOSError : public std::runtime_error {
 public:
  EOSError(uint32_t code, const std::string& message) : std::runtime_error(message), code_(code) {}
  uint32_t Code() const { return code_; }

 private:
  uint32_t code_;
};

// Raises the last platform error as "System Error.  Code: N.\r\nTEXT".
[[noreturn]] void RaiseLastOSError();

}  // namespace platform
