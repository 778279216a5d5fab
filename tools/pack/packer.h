// setup-pack's main job: a product folder and a stub program in, a setup file out.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pack/payload.h"

namespace pack {

struct PackOptions {
  std::filesystem::path stub;
  std::filesystem::path output;
  std::filesystem::path productFolder;
  bool pad = false;  // pad a shorter stub with zero bytes to the default payload offset
};

struct PackResult {
  PayloadLayout layout;
  std::vector<std::string> setupCabinetNames;  // in cabinet order
  std::vector<std::string> warnings;
};

// Packs the product onto the stub and writes the setup file, executable when the stub is.
// Throws PackError naming the offending file (and setup.ini line) on bad input; the output
// file is then left untouched, and no temporary file remains.
PackResult PackProduct(const PackOptions& options);

}  // namespace pack
