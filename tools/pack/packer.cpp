#include "pack/packer.h"

#include "pack/cabinet_writer.h"
#include "pack/file_io.h"
#include "pack/output_file.h"
#include "pack/pack_error.h"
#include "pack/product.h"
#include "pack/setup_script.h"

namespace pack {

namespace fs = std::filesystem;

namespace {

CabinetEntry EntryFromFile(std::string name, const fs::path& path, std::string data) {
  CabinetEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  ModificationDosTime(path, entry.dosDate, entry.dosTime);
  return entry;
}

std::string SingleCabinet(const std::vector<CabinetEntry>& entries) {
  CabinetOptions options;
  options.compression = Compression::MsZip;
  std::vector<std::string> cabinets = WriteCabinets(entries, options);
  return std::move(cabinets.front());
}

}  // namespace

PackResult PackProduct(const PackOptions& options) {
  std::string stub;
  try {
    stub = ReadWholeFile(options.stub);
  } catch (const PackError& e) {
    throw PackError(std::string("stub ") + e.what());
  }
  const Product product = ScanProduct(options.productFolder);
  const std::string scriptName = product.script.string();
  const SetupScript script = SetupScript::Parse(ReadWholeFile(product.script), scriptName);

  // Each installed file travels in a cabinet of its own, under the name it is installed as.
  std::vector<std::string> fileCabinets;
  std::vector<uint64_t> storedSizes;
  for (const FilesEntry& entry : script.Entries()) {
    const std::string name = StoredFileName(entry, scriptName);
    const fs::path source = ResolveSource(product.folder, entry.source);
    std::string data;
    try {
      data = ReadWholeFile(source);
    } catch (const PackError& e) {
      throw ErrorAt(scriptName, entry.line,
                    "source file \"" + entry.source + "\" of [Files] entry \"" + entry.key +
                        "\": " + e.what());
    }
    fileCabinets.push_back(SingleCabinet({EntryFromFile(name, source, std::move(data))}));
    storedSizes.push_back(fileCabinets.back().size());
  }

  PackResult result;
  std::vector<CabinetEntry> setupEntries;
  setupEntries.push_back(EntryFromFile(kScriptName, product.script, script.Rewrite(storedSizes)));
  for (const ProductFile& file : product.supportFiles) {
    setupEntries.push_back(EntryFromFile(file.name, file.path, ReadWholeFile(file.path)));
  }
  for (const CabinetEntry& entry : setupEntries) result.setupCabinetNames.push_back(entry.name);
  const std::string setupCabinet = SingleCabinet(setupEntries);

  result.layout = PlanPayload(stub.size(), options.pad, setupCabinet.size(), storedSizes);
  const PayloadParts parts{stub, setupCabinet, fileCabinets};
  result.warnings = PayloadWarnings(result.layout, parts);
  for (const FilesEntry& entry : script.Entries()) {
    if (entry.fieldCount < 4) {
      result.warnings.push_back(
          ErrorAt(scriptName, entry.line,
                  "[Files] entry \"" + entry.key + "\" has " + std::to_string(entry.fieldCount) +
                      " fields; the setup program needs four "
                      "(destination?size?existmode?removal) and reports the setup file as "
                      "corrupted")
              .what());
    }
  }

  OutputFile output(options.output);
  WritePayload(output.Stream(), result.layout, parts);
  output.Commit(IsExecutable(options.stub));
  return result;
}

}  // namespace pack
