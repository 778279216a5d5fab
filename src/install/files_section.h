// Facts about the [Files] section and the payload that bound the file phase.
#pragma once

#include <cstdint>

class IniFile;

// One past the highest number n, 0 <= n < filesCount, that the section has a key for, spelled
// as the file phase looks it up; 0 when it has none. Numbers beyond it would only be skipped.
int32_t FilesEntriesEnd(const IniFile& script, int32_t filesCount);

// A cabinet of that size at that payload position lies inside the setup file (when its size is
// known, setupSize >= 0) and within the 32-bit offsets of the payload.
bool PayloadHolds(int32_t position, int32_t size, int64_t setupSize);
