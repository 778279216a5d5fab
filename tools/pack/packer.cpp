#include "pack/packer.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "pack/cabinet_writer.h"
#include "pack/file_io.h"
#include "pack/ini_value.h"
#include "pack/output_file.h"
#include "pack/pack_error.h"
#include "pack/product.h"
#include "pack/script_checks.h"
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

void CheckPicture(const ProductFile& file, const BitmapInfo& info, int32_t width, int32_t height,
                  const char* where, std::vector<std::string>& warnings) {
  const std::string name = file.path.string();
  if (info.bitCount != 24) {
    warnings.push_back(ErrorAt(name, 0,
                               std::to_string(info.bitCount) +
                                   "-bit picture; the wizard's pictures are 24-bit BMP files")
                           .what());
  }
  if (info.width != width || info.height != height) {
    warnings.push_back(ErrorAt(name, 0,
                               std::to_string(info.width) + " x " + std::to_string(info.height) +
                                   " pixels; the wizard stretches it to " + std::to_string(width) +
                                   " x " + std::to_string(height) + " (" + where + ")")
                           .what());
  }
}

void CheckPictures(const Product& product, std::vector<std::string>& warnings) {
  for (const ProductFile& file : product.supportFiles) {
    if (file.name == kWizardPictureName) {
      CheckPicture(file, product.wizardPicture, kWizardPictureWidth, kWizardPictureHeight,
                   "the whole language, welcome and finish pages", warnings);
    } else if (file.name == kHeaderPictureName) {
      CheckPicture(file, product.headerPicture, kHeaderPictureWidth, kHeaderPictureHeight,
                   "the header band of the other pages", warnings);
    }
  }
}

// A FilesSize smaller than the files is stale: the destination page would claim too little.
void CheckFilesSize(const SetupScript& script, const std::string& scriptName,
                    uint64_t installedSize, std::vector<std::string>& warnings) {
  const ScriptKey* key = script.Find("Setup", "FilesSize");
  if (!key || key->value.empty()) return;
  const std::optional<int64_t> value = IniInteger(key->value);
  if (value && *value >= 0 && static_cast<uint64_t>(*value) >= installedSize) return;
  warnings.push_back(ErrorAt(scriptName, key->line,
                             "FilesSize=" + key->value + " but the files to install take " +
                                 std::to_string(installedSize) +
                                 " bytes; leave FilesSize out and setup-pack fills it in")
                         .what());
}

bool IsWindowsProgram(const std::string& stub) { return stub.rfind("MZ", 0) == 0; }

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

  PackResult result;
  result.warnings = CheckScript(script, {scriptName, product.languages, product.texts});
  CheckPictures(product, result.warnings);

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
    result.installedSize += data.size();
    fileCabinets.push_back(SingleCabinet({EntryFromFile(name, source, std::move(data))}));
    storedSizes.push_back(fileCabinets.back().size());
    result.packedSize += storedSizes.back();
  }
  CheckFilesSize(script, scriptName, result.installedSize, result.warnings);

  // The setup program reads FilesSize as a 32-bit signed number.
  const uint64_t filesSize = std::min<uint64_t>(result.installedSize, 0x7FFFFFFF);
  std::vector<CabinetEntry> setupEntries;
  setupEntries.push_back(
      EntryFromFile(kScriptName, product.script, script.Rewrite(storedSizes, filesSize)));
  for (const ProductFile& file : product.supportFiles) {
    setupEntries.push_back(EntryFromFile(file.name, file.path, ReadWholeFile(file.path)));
  }
  for (const CabinetEntry& entry : setupEntries) result.setupCabinetNames.push_back(entry.name);
  const std::string setupCabinet = SingleCabinet(setupEntries);

  const bool pad = options.padding == Padding::Always ||
                   (options.padding == Padding::Auto && stub.size() <= kDefaultPayloadOffset);
  result.layout = PlanPayload(stub.size(), pad, setupCabinet.size(), storedSizes);
  const PayloadParts parts{stub, setupCabinet, fileCabinets};
  const std::vector<std::string> faults = PayloadFaults(result.layout, parts);
  if (!faults.empty()) throw ErrorAt(options.output.string(), 0, faults.front());
  if (!pad && IsWindowsProgram(stub)) {
    result.warnings.push_back(
        ErrorAt(options.output.string(), 0,
                "not padded: the setup program finds its payload through the trailer at the "
                "end of the file, so a signed copy (the signature goes after the trailer) "
                "would report itself as corrupted")
            .what());
  }
  if (options.strict && !result.warnings.empty()) throw WarningsAsErrors(result.warnings);

  OutputFile output(options.output);
  WritePayload(output.Stream(), result.layout, parts);
  output.Commit(IsExecutable(options.stub));
  return result;
}

std::string Summary(const fs::path& output, const PackResult& result) {
  const PayloadLayout& layout = result.layout;
  const size_t files = layout.fileCabinetSizes.size();
  char ratio[32] = "";
  if (result.installedSize > 0) {
    std::snprintf(
        ratio, sizeof ratio, " (%.0f%%)",
        100.0 * static_cast<double>(result.packedSize) / static_cast<double>(result.installedSize));
  }
  return output.string() + ": " + std::to_string(files) + " file" + (files == 1 ? "" : "s") + ", " +
         std::to_string(result.installedSize) + " bytes packed into " +
         std::to_string(result.packedSize) + ratio + ", MSZIP; setup cabinet " +
         std::to_string(layout.setupCabinetSize) + " bytes; " + std::to_string(layout.totalSize) +
         " bytes in all, payload at " + std::to_string(layout.payloadStart) +
         (layout.payloadStart == kDefaultPayloadOffset && layout.stubSize < kDefaultPayloadOffset
              ? " (padded)"
              : "");
}

}  // namespace pack
