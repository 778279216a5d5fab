// Writes the seed corpus of fuzz_host_fdi into the folder given as the argument: small single
// cabinets and cabinet sets (joined by the fuzz target's separator) made by setup-pack's
// cabinet writer.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "pack/cabinet_writer.h"

namespace {

std::string Text(size_t size, unsigned seed) {
  std::string text;
  while (text.size() < size) text += "line " + std::to_string(seed++ % 97) + " of text\r\n";
  text.resize(size);
  return text;
}

std::string Noise(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  return bytes;
}

void Write(const std::string& folder, const std::string& name,
           const std::vector<std::string>& cabinets) {
  std::string joined;
  for (size_t i = 0; i < cabinets.size(); ++i) joined += (i ? "|NEXTCAB|" : "") + cabinets[i];
  std::ofstream(folder + "/" + name, std::ios::binary) << joined;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: host_fdi_seeds FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  using pack::CabinetEntry;
  using pack::CabinetOptions;
  using pack::Compression;
  const std::vector<std::vector<CabinetEntry>> sets = {
      {{"a.txt", Text(300, 1)}},
      {{"empty", ""}, {"dir\\sub\\b.txt", Text(100, 2)}, {"c.bin", Noise(200, 3)}},
      {{"blocks.txt", Text(70000, 4)}, {"exact.txt", Text(32768, 5)}},
      {{"noise.bin", Noise(1500, 6)}, {"tail.txt", Text(40000, 7)}, {"z", "z"}},
  };
  int count = 0;
  for (const auto& entries : sets) {
    for (Compression compression : {Compression::Stored, Compression::MsZip}) {
      for (uint32_t max : {0u, 700u, 1500u}) {
        for (bool keep : {false, true}) {
          if (max == 0 && keep) continue;
          CabinetOptions options;
          options.compression = compression;
          options.maxCabinetSize = max;
          options.keepFolderAcrossCabinets = keep;
          options.diskName = [](size_t i) { return "disk" + std::to_string(i + 1); };
          std::vector<std::string> cabinets;
          try {
            cabinets = pack::WriteCabinets(entries, options);
          } catch (const std::exception&) {
            continue;  // too small a limit for these names
          }
          if (cabinets.size() > 3) continue;  // the target reads at most three
          size_t total = 0;
          for (const std::string& cabinet : cabinets) total += cabinet.size();
          if (total > 8192) continue;  // keep the corpus quick to run
          Write(folder, "seed" + std::to_string(++count), cabinets);
        }
      }
    }
  }
  std::cout << count << " seeds\n";
  return 0;
}
