#include "platform/host/cabinet/cab_directory.h"

#include <cstring>

#include "platform/host/cabinet/cab_format.h"

namespace host::fdi {
namespace {

namespace cf = cab_format;

[[noreturn]] void Corrupt() { throw FdiError{FDIERROR_CORRUPT_CABINET}; }

}  // namespace

bool CabinetFileEntry::ContinuedFromPrevious() const {
  return folderField == cf::kFolderContinuedFromPrev ||
         folderField == cf::kFolderContinuedPrevAndNext;
}

CabinetDirectory::CabinetDirectory(const FdiMemory* memory)
    : previousCabinet(FdiAllocator<char>(memory)),
      previousDisk(FdiAllocator<char>(memory)),
      nextCabinet(FdiAllocator<char>(memory)),
      nextDisk(FdiAllocator<char>(memory)),
      folders(FdiAllocator<CabinetFolder>(memory)),
      files(FdiAllocator<CabinetFileEntry>(memory)) {}

bool CabinetDirectory::HasNext() const { return (flags & cf::kFlagNextCabinet) != 0; }

uint16_t CabinetDirectory::FolderOf(const CabinetFileEntry& file) const {
  switch (file.folderField) {
    case cf::kFolderContinuedFromPrev:
    case cf::kFolderContinuedPrevAndNext:
      return 0;
    case cf::kFolderContinuedToNext:
      return static_cast<uint16_t>(folderCount - 1);
    default:
      return file.folderField;
  }
}

void ReadCabinetHeader(CabinetFile& file, CabinetDirectory& directory) {
  uint8_t header[cf::kHeaderSize];
  if (!file.ReadExact(header, sizeof header) ||
      std::memcmp(header, cf::kSignature, sizeof cf::kSignature) != 0)
    throw FdiError{FDIERROR_NOT_A_CABINET};
  if (header[cf::kOffVersionMajor] != cf::kVersionMajor ||
      header[cf::kOffVersionMinor] != cf::kVersionMinor)
    throw FdiError{FDIERROR_UNKNOWN_CABINET_VERSION};
  directory.cabinetSize = cf::Load32(header + cf::kOffCabinetSize);
  directory.folderCount = cf::Load16(header + cf::kOffFolderCount);
  directory.fileCount = cf::Load16(header + cf::kOffFileCount);
  directory.flags = cf::Load16(header + cf::kOffFlags);
  directory.setId = cf::Load16(header + cf::kOffSetId);
  directory.index = cf::Load16(header + cf::kOffCabinetIndex);
  if (directory.flags & cf::kFlagReservePresent) {
    uint8_t reserve[cf::kReserveFieldsSize];
    file.Read(reserve, sizeof reserve);
    directory.headerReserve = cf::Load16(reserve);
    directory.folderReserve = reserve[2];
    directory.dataReserve = reserve[3];
    file.Skip(directory.headerReserve);
  }
  if (directory.flags & cf::kFlagPrevCabinet) {
    directory.previousCabinet = file.ReadName();
    directory.previousDisk = file.ReadName();
  }
  if (directory.flags & cf::kFlagNextCabinet) {
    directory.nextCabinet = file.ReadName();
    directory.nextDisk = file.ReadName();
  }
  directory.filesOffset = cf::Load32(header + cf::kOffFilesOffset);
  directory.foldersOffset = file.Position();
}

void ReadCabinetDirectory(CabinetFile& file, CabinetDirectory& directory) {
  ReadCabinetHeader(file, directory);
  // Records are read one by one, so a count larger than the file costs nothing.
  directory.folders.clear();
  for (uint16_t i = 0; i < directory.folderCount; ++i) {
    uint8_t record[cf::kFolderSize];
    file.Read(record, sizeof record);
    file.Skip(directory.folderReserve);
    directory.folders.push_back(
        {cf::Load32(record), cf::Load16(record + 4), cf::Load16(record + 6)});
  }
  file.SeekTo(directory.filesOffset);
  directory.files.clear();
  directory.firstFolderContinued = false;
  for (uint16_t i = 0; i < directory.fileCount; ++i) {
    uint8_t record[cf::kFileSize];
    file.Read(record, sizeof record);
    CabinetFileEntry entry{cf::Load32(record),      cf::Load32(record + 4),
                           cf::Load16(record + 8),  cf::Load16(record + 10),
                           cf::Load16(record + 12), cf::Load16(record + 14),
                           file.ReadName()};
    const bool marker = entry.folderField >= cf::kFolderContinuedFromPrev;
    if (marker ? directory.folderCount == 0 : entry.folderField >= directory.folderCount) Corrupt();
    directory.firstFolderContinued |= entry.ContinuedFromPrevious();
    directory.files.push_back(std::move(entry));
  }
}

}  // namespace host::fdi
