// Reading a text value of HKEY_LOCAL_MACHINE, as the probes do.
#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

// The text of a REG_SZ or REG_EXPAND_SZ value (up to its first terminator); nothing when the
// key or value is missing. A value of another type holds no text and reads as missing: a probe
// reports absence as a value and never stops the setup.
std::optional<std::string> TextOfValue(const std::optional<platform::RegistryValue>& value);
std::optional<std::string> ReadMachineString(const std::string& path, const std::string& name);
