// Whether this 32-bit process runs on 64-bit Windows.
#pragma once

#include <string>

#include "platform/setup_error.h"
#include "platform/system_facts.h"

// The one error a probe raises itself: the system rejected a question about this very process.
class ESystemInfo : public ESetupError {
 public:
  explicit ESystemInfo(const std::string& message) : ESetupError(message) {}
};

class TOSInfo {
 public:
  // True under WOW64; false where the system cannot tell (no IsWow64Process). Throws
  // ESystemInfo "Bad process handle" when the system refuses the query.
  static bool Is64BitWindows();
};

// The rule of Is64BitWindows over the platform's answer.
bool Is64BitFromAnswer(platform::Wow64Answer answer);
