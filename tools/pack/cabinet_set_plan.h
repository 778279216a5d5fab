// Lays the entries of a cabinet set out into folders, compressed data blocks and cabinets,
// filling each cabinet up to the maximum size. The cabinet writer then only serialises the plan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pack/cabinet_writer.h"

namespace pack {

struct PlannedBlock {
  std::string bytes;  // compressed
  uint32_t uncompressedSize = 0;
};

struct PlannedFolder {
  size_t firstFile = 0;  // the entries [firstFile, endFile) lie in this folder
  size_t endFile = 0;
  uint64_t start = 0;  // offset of the folder's first byte in all entries' data laid end to end
  std::vector<PlannedBlock> blocks;
};

// A run of one block's compressed bytes stored in one cabinet. A block split across cabinets
// has a piece in each; only its last piece ends the block (and carries cbUncomp).
struct PlannedPiece {
  size_t block = 0;
  uint32_t offset = 0;
  uint32_t size = 0;
  bool endsBlock = true;
};

// The part of one folder held by one cabinet (one CFFOLDER record there) and the files that it
// lists for it: those with data in a block that has a piece here.
struct CabinetFolderPart {
  size_t folder = 0;
  std::vector<PlannedPiece> pieces;
  size_t firstFile = 0;
  size_t endFile = 0;
};

struct PlannedCabinet {
  std::vector<CabinetFolderPart> parts;
};

struct CabinetSetPlan {
  std::vector<PlannedFolder> folders;
  std::vector<PlannedCabinet> cabinets;
  std::vector<uint64_t> fileStart;  // each entry's offset in all entries' data laid end to end
  // The first and last cabinet that lists each entry.
  std::vector<size_t> firstCabinet;
  std::vector<size_t> lastCabinet;
};

// Throws PackError when maxCabinetSize leaves no room for data or the data reach 4 GiB.
CabinetSetPlan PlanCabinetSet(const std::vector<CabinetEntry>& entries,
                              const CabinetOptions& options);

// The names written into the headers, checked for length (PackError).
std::string CabinetNameOf(const CabinetOptions& options, size_t index);
std::string DiskNameOf(const CabinetOptions& options, size_t index);

}  // namespace pack
