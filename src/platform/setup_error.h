// The base of the program's own errors: a message carried in an ordinary string. The standard
// runtime_error keeps its message in the old reference-counted string, which would link a
// second string implementation into the program for nothing.
#pragma once

#include <exception>
#include <string>
#include <utility>

class ESetupError : public std::exception {
 public:
  explicit ESetupError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};
