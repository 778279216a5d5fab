// A fresh host sandbox per test: drive C: lives in a temporary Linux folder that is removed
// afterwards; the message-box queue and log start empty.
#pragma once

#include <gtest/gtest.h>

#include <string>

class SandboxTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The Linux path of a Windows path inside the sandbox.
  std::string Host(const std::string& windowsPath) const;
  void WriteFile(const std::string& windowsPath, const std::string& content) const;
  std::string ReadFile(const std::string& windowsPath) const;

  std::string root_;
};
