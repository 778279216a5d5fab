// `setup-pack cab`: writes a cabinet, or a cabinet set, from files on disk. A test instrument
// for the cabinet reader: stored or MSZIP data, sets whose files span cabinets.
//
// A set split into k cabinets is written as OUT.cab, OUT2.cab, ..., OUTk.cab (the number goes
// before the extension; without an extension it is appended), and each cabinet names its
// neighbours by those file names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pack {

struct CabInput {
  std::filesystem::path path;
  std::string storedName;  // empty: the file's own name
};

struct CabOptions {
  std::filesystem::path output;
  std::vector<CabInput> inputs;
  bool stored = false;     // no compression instead of MSZIP
  uint32_t splitSize = 0;  // 0: one cabinet; else the largest size of a cabinet of the set
  uint16_t setId = 0;
};

// The file name of cabinet `index` (from 0) of the set whose first cabinet is `first`.
std::filesystem::path CabinetSetPath(const std::filesystem::path& first, size_t index);

// Writes the cabinet(s) and returns their paths. Throws PackError naming the offending file;
// then none of the cabinets is written.
std::vector<std::filesystem::path> WriteCabinetFiles(const CabOptions& options);

}  // namespace pack
