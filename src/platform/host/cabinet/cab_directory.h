// The directory of one cabinet: CFHEADER with its optional fields, the CFFOLDER records and
// the CFFILE records, checked so that later stages can trust counts, indices and names.
#pragma once

#include <cstdint>

#include "platform/host/cabinet/cab_file.h"
#include "platform/host/cabinet/fdi_memory.h"

namespace host::fdi {

struct CabinetFolder {
  uint32_t dataOffset = 0;   // coffCabStart
  uint16_t dataBlocks = 0;   // cCFData
  uint16_t compression = 0;  // typeCompress
};

struct CabinetFileEntry {
  uint32_t size = 0;
  uint32_t folderOffset = 0;
  uint16_t folderField = 0;  // iFolder as stored, continuation markers included
  uint16_t date = 0;
  uint16_t time = 0;
  uint16_t attributes = 0;
  FdiString name;

  // Begins in an earlier cabinet (reported as fdintPARTIAL_FILE, not extracted here).
  bool ContinuedFromPrevious() const;
};

struct CabinetDirectory {
  explicit CabinetDirectory(const FdiMemory* memory);

  uint32_t cabinetSize = 0;
  uint16_t flags = 0;
  uint16_t setId = 0;
  uint16_t index = 0;  // iCabinet
  uint16_t folderCount = 0;
  uint16_t fileCount = 0;
  uint16_t headerReserve = 0;
  uint8_t folderReserve = 0;
  uint8_t dataReserve = 0;
  uint64_t foldersOffset = 0;  // the folder records follow the header
  uint32_t filesOffset = 0;    // coffFiles
  FdiString previousCabinet, previousDisk, nextCabinet, nextDisk;
  FdiVector<CabinetFolder> folders;
  FdiVector<CabinetFileEntry> files;
  // The first folder began in an earlier cabinet (some file is continued from there).
  bool firstFolderContinued = false;

  bool HasNext() const;
  // The index of the folder that holds a file's data in this cabinet.
  uint16_t FolderOf(const CabinetFileEntry& file) const;
};

// Reads CFHEADER from the current position: NOT_A_CABINET, UNKNOWN_CABINET_VERSION or
// CORRUPT_CABINET on failure. Leaves folders and files empty.
void ReadCabinetHeader(CabinetFile& file, CabinetDirectory& directory);
// The header, then every folder and file record.
void ReadCabinetDirectory(CabinetFile& file, CabinetDirectory& directory);

}  // namespace host::fdi
