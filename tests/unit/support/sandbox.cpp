#include "support/sandbox.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/host_control.h"

void SandboxTest::SetUp() {
  char pattern[] = "/tmp/setup-unit.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  std::filesystem::create_directories(root_ + "/C");
  host::SetSandbox(root_);
  host::ClearAnswers();
  host::ClearMessageBoxLog();
  // The registry and the machine's facts are process-wide: every test starts from the defaults.
  host::ResetRegistry();
  host::ResetSystemFacts();
}

void SandboxTest::TearDown() {
  host::ClearAnswers();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string SandboxTest::Host(const std::string& windowsPath) const {
  return host::HostPath(windowsPath);
}

void SandboxTest::WriteFile(const std::string& windowsPath, const std::string& content) const {
  std::string path = Host(windowsPath);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string SandboxTest::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(Host(windowsPath), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}
