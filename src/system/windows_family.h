// The Windows family the setup runs on. The names double as [Setup] keys, so their exact texts
// (including "WinUnknow") are part of the setup script's vocabulary.
#pragma once

#include <string>

#include "platform/system_facts.h"

// "WinUnknow", "WinNT", "Win9x", "Win2000", "WinXP", "WinSrv2003", "WinVista" or "Win7".
// Asks for the 64-bit answer only on version 5.2, so only there can it throw ESystemInfo.
std::string GetWindowsFamily();

// Version 5.2 is both XP x64 and Server 2003; only there does the 64-bit answer matter.
bool FamilyNeedsWow64Answer(const platform::VersionRecord& version);
// The family table over a version record; `is64` is only looked at for version 5.2.
std::string FamilyFromVersion(const platform::VersionRecord& version, bool is64);
