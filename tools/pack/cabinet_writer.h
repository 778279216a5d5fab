// Writes cabinets in the Microsoft Cabinet format: MSZIP (zlib DEFLATE in 32 KiB blocks) or
// stored, all files in one folder, optionally split into a cabinet set whose files may span
// cabinets (each cabinet then holds at most the continued part of one folder and one new one).
//
// MSZIP blocks carry the compression history across blocks, as Microsoft's compressor does:
// each block is a complete raw DEFLATE stream primed with the previous 32 KiB of the folder, so
// readers decode a folder's blocks in order (every published reader does).
//
// A set is filled greedily: each cabinet takes as many data bytes as fit, splitting a data
// block across the cabinet boundary when needed (its pieces but the last have cbUncomp 0). A
// file is listed in every cabinet that holds a piece of a data block with its data, marked as
// continued to the next and/or from the previous cabinet accordingly. A folder goes on into the
// next cabinet only through such continued files; where a cabinet fills up exactly between two
// files, the next cabinet begins a new folder. See keepFolderAcrossCabinets for what follows
// the continued files.
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
  uint16_t attributes = 0x20;    // archive
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
  // Name of the disk that holds cabinet i, written next to the cabinet names. Unset: empty.
  std::function<std::string(size_t)> diskName;
  // false: a folder that crosses into the next cabinet ends with the last file it carries
  // across; the files after it begin a new folder. cabextract (libmspack) needs this, as it
  // drops files that begin in the continued part of a folder.
  // true: the folder goes on across cabinets, so later files begin in a continued folder; only
  // readers that carry the decoder state from one cabinet to the next (as the host FDI library
  // does) can extract those.
  bool keepFolderAcrossCabinets = false;
};

// The cabinets' bytes, in order; one element unless the set was split. Throws PackError when
// the entries cannot be represented (names longer than 255 bytes, more than 65535 files or
// data blocks in one cabinet, a folder of 4 GiB or more) or maxCabinetSize leaves no room for
// data.
std::vector<std::string> WriteCabinets(const std::vector<CabinetEntry>& entries,
                                       const CabinetOptions& options);

// A time (seconds since 1970, UTC) as local DOS date and time, for entries made from files on
// disk. Times outside the DOS range (1980 to 2107) are clamped to its ends.
void DosDateTimeOf(int64_t unixSeconds, uint16_t& dosDate, uint16_t& dosTime);

}  // namespace pack
