// The one error type of setup-pack: a message for the user that already names the offending
// file (and line, where there is one).
#pragma once

#include <stdexcept>
#include <string>

namespace pack {

class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "FILE line N: WHAT", or "FILE: WHAT" when line is 0.
inline PackError ErrorAt(const std::string& file, int line, const std::string& what) {
  if (line <= 0) return PackError(file + ": " + what);
  return PackError(file + " line " + std::to_string(line) + ": " + what);
}

}  // namespace pack
