// setup-pack's main job: a product folder and a stub program in, a setup file out.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pack/pack_error.h"
#include "pack/payload.h"

namespace pack {

// Whether the stub is padded with zero bytes to the default payload offset.
enum class Padding {
  Auto,    // when the stub is shorter than the offset
  Always,  // --pad: a longer stub is refused
  Never,   // --no-pad
};

struct PackOptions {
  std::filesystem::path stub;
  std::filesystem::path output;
  std::filesystem::path productFolder;
  Padding padding = Padding::Auto;
  bool strict = false;  // warnings are errors
};

struct PackResult {
  PayloadLayout layout;
  std::vector<std::string> setupCabinetNames;  // in cabinet order
  std::vector<std::string> warnings;
  uint64_t installedSize = 0;  // the files to install, uncompressed
  uint64_t packedSize = 0;     // their cabinets
};

// With --strict: the warnings, refused as errors.
class WarningsAsErrors : public PackError {
 public:
  explicit WarningsAsErrors(std::vector<std::string> warnings)
      : PackError(std::to_string(warnings.size()) + " warning(s) with --strict"),
        warnings_(std::move(warnings)) {}
  const std::vector<std::string>& Warnings() const { return warnings_; }

 private:
  std::vector<std::string> warnings_;
};

// The one-line summary of a packed setup file.
std::string Summary(const std::filesystem::path& output, const PackResult& result);

// Packs the product onto the stub and writes the setup file, executable when the stub is.
// Throws PackError naming the offending file (and setup.ini line) on bad input and for a setup
// file the setup program would report as corrupted; the output file is then left untouched,
// and no temporary file remains.
PackResult PackProduct(const PackOptions& options);

}  // namespace pack
