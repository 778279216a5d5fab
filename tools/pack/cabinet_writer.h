// Writes cabinets in the Microsoft Cabinet format: one folder per cabinet set, MSZIP (zlib
// DEFLATE in 32 KiB blocks) or stored, optionally split into a cabinet set whose files may
// span cabinets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pack {

struct CabinetEntry {
  std::string name;  // name inside the cabinet; may hold subfolders separated by backslashes
  std::string data;
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
  uint16_t attributes = 0x20;  // archive
  bool runAfterExtract = false;  // the attribute bit 0x400 that readers report as cb bit 0
};

enum class Compression { Stored, MsZip };

struct CabinetOptions {
  Compression compression = Compression::MsZip;
  // 0: one cabinet. Otherwise each cabinet of the set stays at or below this many bytes.
  uint32_t maxCabinetSize = 0;
  uint16_t setId = 0;
  // Name of cabinet i of a set (from 0), as written into the previous/next header fields.
  // Unset: "cab1.cab", "cab2.cab", ...
  std::function<std::string(size_t)> cabinetName;
};

// The cabinets' bytes, in order; one element unless the set was split.
std::vector<std::string> WriteCabinets(const std::vector<CabinetEntry>& entries,
                                       const CabinetOptions& options);

// Current local time as a DOS date and time, for entries made from files on disk.
void DosDateTimeOf(int64_t unixSeconds, uint16_t& dosDate, uint16_t& dosTime);

}  // namespace pack
