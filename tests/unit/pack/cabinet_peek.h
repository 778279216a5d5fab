// Reads the headers of a cabinet written by setup-pack (cabinet size, set links, the file
// list) without decompressing anything, so the tests check the packer's output directly.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pack_test {

struct PeekedFile {
  std::string name;
  uint32_t size = 0;
  uint16_t folder = 0;
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
  uint16_t attributes = 0;
};

struct PeekedCabinet {
  uint32_t cabinetSize = 0;  // cbCabinet
  uint16_t folders = 0;
  uint16_t setId = 0;
  uint16_t index = 0;
  std::string previousCabinet;  // empty unless the header links one
  std::string nextCabinet;
  uint16_t compression = 0;  // of the first folder
  std::vector<PeekedFile> files;
};

inline PeekedCabinet PeekCabinet(const std::string& bytes) {
  size_t at = 0;
  auto need = [&](size_t n) {
    if (at + n > bytes.size()) throw std::runtime_error("cabinet truncated");
  };
  auto u8 = [&] {
    need(1);
    return static_cast<uint8_t>(bytes[at++]);
  };
  auto u16 = [&] { return static_cast<uint16_t>(u8() | (u8() << 8)); };
  auto u32 = [&] { return static_cast<uint32_t>(u16() | (static_cast<uint32_t>(u16()) << 16)); };
  auto text = [&] {
    std::string s;
    for (char c = static_cast<char>(u8()); c != '\0'; c = static_cast<char>(u8())) s += c;
    return s;
  };

  if (bytes.compare(0, 4, "MSCF") != 0) throw std::runtime_error("no MSCF signature");
  PeekedCabinet cab;
  at = 8;
  cab.cabinetSize = u32();
  at = 16;
  const uint32_t filesOffset = u32();
  at = 26;
  cab.folders = u16();
  const uint16_t fileCount = u16();
  const uint16_t flags = u16();
  cab.setId = u16();
  cab.index = u16();
  uint8_t folderReserve = 0;
  if (flags & 4) {
    const uint16_t headerReserve = u16();
    folderReserve = u8();
    u8();
    at += headerReserve;
  }
  if (flags & 1) {
    cab.previousCabinet = text();
    text();
  }
  if (flags & 2) {
    cab.nextCabinet = text();
    text();
  }
  if (cab.folders > 0) {
    u32();
    u16();
    cab.compression = u16() & 0x000F;
    at += folderReserve;
  }
  at = filesOffset;
  for (uint16_t i = 0; i < fileCount; ++i) {
    PeekedFile file;
    file.size = u32();
    u32();
    file.folder = u16();
    file.dosDate = u16();
    file.dosTime = u16();
    file.attributes = u16();
    file.name = text();
    cab.files.push_back(file);
  }
  return cab;
}

}  // namespace pack_test
