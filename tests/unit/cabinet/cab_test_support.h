// Test support for the cabinet suites: temporary folders, file contents, test data, external
// tools, and a builder for hand-made cabinets (reserved areas, unusual or damaged records).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pack/cabinet_writer.h"

namespace cabtest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder, with a trailing slash.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& data);
std::string ReadFile(const std::string& path);  // empty when missing
// A name inside a cabinet (backslashes) as a relative POSIX path.
std::string UnixPath(std::string name);
bool FileExists(const std::string& path);
// Compares file contents without printing them: sizes and the first differing offset.
::testing::AssertionResult SameData(const std::string& actual, const std::string& expected);

// Deterministic test data: compressible text, or incompressible bytes.
std::string RandomText(size_t size, uint32_t seed);
std::string RandomBytes(size_t size, uint32_t seed);

bool HaveTool(const std::string& name);
// Runs a shell command; its exit status.
int RunShell(const std::string& command);

// Writes a cabinet set made by the writer into dir, named as the options name them; the paths.
std::vector<std::string> WriteSet(const std::string& dir,
                                  const std::vector<pack::CabinetEntry>& entries,
                                  const pack::CabinetOptions& options);

// "CK" and a raw DEFLATE stream of the data, primed with the given history (up to 32 KiB).
std::string MsZipBlock(const std::string& data, const std::string& history = "");

struct CraftedBlock {
  std::string data;  // as stored
  uint16_t uncompressed = 0;
  bool checksum = true;  // write the checksum, else 0
};

struct CraftedFolder {
  uint16_t compression = 1;
  std::vector<CraftedBlock> blocks;
};

struct CraftedFile {
  std::string name;
  uint32_t size = 0;
  uint32_t offset = 0;
  uint16_t folder = 0;
  uint16_t date = 0x5864;
  uint16_t time = 0x6000;
  uint16_t attributes = 0x20;
};

struct CraftedCabinet {
  uint16_t setId = 0;
  uint16_t index = 0;
  bool reserve = false;
  uint16_t headerReserve = 0;
  uint8_t folderReserve = 0;
  uint8_t dataReserve = 0;
  bool checksumOverReserve = false;  // count the data reserve into the checksum
  bool hasPrevious = false, hasNext = false;
  std::string previousCabinet, previousDisk, nextCabinet, nextDisk;
  std::vector<CraftedFolder> folders;
  std::vector<CraftedFile> files;

  std::string Build() const;
};

}  // namespace cabtest
