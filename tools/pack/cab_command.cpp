#include "pack/cab_command.h"

#include <memory>

#include "pack/cabinet_writer.h"
#include "pack/file_io.h"
#include "pack/output_file.h"
#include "pack/pack_error.h"

namespace pack {

namespace fs = std::filesystem;

fs::path CabinetSetPath(const fs::path& first, size_t index) {
  if (index == 0) return first;
  fs::path path = first.parent_path() / first.stem();
  path += std::to_string(index + 1);
  path += first.extension();
  return path;
}

std::vector<fs::path> WriteCabinetFiles(const CabOptions& options) {
  if (options.inputs.empty()) throw PackError("no files to put into the cabinet");
  std::vector<CabinetEntry> entries;
  for (const CabInput& input : options.inputs) {
    CabinetEntry entry;
    entry.name = input.storedName.empty() ? input.path.filename().string() : input.storedName;
    entry.data = ReadWholeFile(input.path);
    ModificationDosTime(input.path, entry.dosDate, entry.dosTime);
    entries.push_back(std::move(entry));
  }

  CabinetOptions cabinetOptions;
  cabinetOptions.compression = options.stored ? Compression::Stored : Compression::MsZip;
  cabinetOptions.maxCabinetSize = options.splitSize;
  cabinetOptions.setId = options.setId;
  cabinetOptions.cabinetName = [&](size_t index) {
    return CabinetSetPath(options.output, index).filename().string();
  };
  const std::vector<std::string> cabinets = WriteCabinets(entries, cabinetOptions);

  // All cabinets are complete on disk before any replaces an existing file.
  std::vector<std::unique_ptr<OutputFile>> outputs;
  std::vector<fs::path> paths;
  for (size_t i = 0; i < cabinets.size(); ++i) {
    paths.push_back(CabinetSetPath(options.output, i));
    outputs.push_back(std::make_unique<OutputFile>(paths.back()));
    outputs.back()->Stream().write(cabinets[i].data(),
                                   static_cast<std::streamsize>(cabinets[i].size()));
  }
  for (auto& output : outputs) output->Commit(false);
  return paths;
}

}  // namespace pack
