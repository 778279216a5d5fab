// A sandbox on the host's default machine (Windows 7 SP1, 64-bit, an administrator; the sandbox
// fixture resets the registry and the facts for every test), with helpers to change it.
#pragma once

#include <string>

#include "platform/host/host_control.h"
#include "platform/registry.h"
#include "platform/system_facts.h"
#include "support/sandbox.h"

class SystemHostTest : public SandboxTest {
 protected:
  static platform::VersionRecord Version(uint32_t major, uint32_t minor, uint32_t platformId) {
    platform::VersionRecord version;
    version.major = major;
    version.minor = minor;
    version.platformId = platformId;
    return version;
  }

  // Registry-file lines below the REGEDIT4 header.
  static void Import(const std::string& lines) {
    std::string error;
    ASSERT_TRUE(host::RegistryImport("REGEDIT4\n\n" + lines, &error)) << error;
  }
  static void CreateMachineKey(const std::string& path) {
    ASSERT_TRUE(host::RegistryCreateKey(platform::RegistryRoot::LocalMachine, path)) << path;
  }
  static void SetMachineString(const std::string& path, const std::string& name,
                               const std::string& text) {
    ASSERT_TRUE(host::RegistrySetValue(platform::RegistryRoot::LocalMachine, path, name,
                                       host::RegistryString(text)));
  }
};
