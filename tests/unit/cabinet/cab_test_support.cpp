#include "cab_test_support.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/host/cabinet/cab_format.h"

namespace cabtest {
namespace {

namespace cf = cab_format;

void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void PutText(std::string& out, const std::string& text) {
  out.append(text.c_str(), text.size() + 1);
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "cabtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& data) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      .write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

std::string UnixPath(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

::testing::AssertionResult SameData(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                       << " were expected, first difference at " << at;
}

std::string RandomText(size_t size, uint32_t seed) {
  static const char kWords[][8] = {"setup ", "cab ", "folder ", "file\r\n", "data ", "MSZIP "};
  std::mt19937 random(seed);
  std::string text;
  while (text.size() < size) text += kWords[random() % 6];
  text.resize(size);
  return text;
}

std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

bool HaveTool(const std::string& name) {
  return RunShell("command -v " + name + " >/dev/null 2>&1") == 0;
}

int RunShell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> WriteSet(const std::string& dir,
                                  const std::vector<pack::CabinetEntry>& entries,
                                  const pack::CabinetOptions& options) {
  const std::vector<std::string> cabinets = pack::WriteCabinets(entries, options);
  std::vector<std::string> paths;
  for (size_t i = 0; i < cabinets.size(); ++i) {
    paths.push_back(dir + (options.cabinetName ? options.cabinetName(i)
                                               : "cab" + std::to_string(i + 1) + ".cab"));
    WriteFile(paths.back(), cabinets[i]);
  }
  return paths;
}

std::string MsZipBlock(const std::string& data, const std::string& history) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  if (!history.empty())
    deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(history.data()),
                         static_cast<uInt>(history.size()));
  std::string out(2 + deflateBound(&stream, data.size()), '\0');
  out[0] = 'C';
  out[1] = 'K';
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data() + 2);
  stream.avail_out = static_cast<uInt>(out.size() - 2);
  deflate(&stream, Z_FINISH);
  out.resize(out.size() - stream.avail_out);
  deflateEnd(&stream);
  return out;
}

std::string CraftedCabinet::Build() const {
  std::string header = "MSCF";
  Put32(header, 0);
  Put32(header, 0);  // cbCabinet, patched
  Put32(header, 0);
  Put32(header, 0);  // coffFiles, patched
  Put32(header, 0);
  header += '\x03';
  header += '\x01';
  Put16(header, static_cast<uint16_t>(folders.size()));
  Put16(header, static_cast<uint16_t>(files.size()));
  Put16(header, static_cast<uint16_t>((hasPrevious ? cf::kFlagPrevCabinet : 0) |
                                      (hasNext ? cf::kFlagNextCabinet : 0) |
                                      (reserve ? cf::kFlagReservePresent : 0)));
  Put16(header, setId);
  Put16(header, index);
  if (reserve) {
    Put16(header, headerReserve);
    header += static_cast<char>(folderReserve);
    header += static_cast<char>(dataReserve);
    header.append(headerReserve, '\xA5');
  }
  if (hasPrevious) {
    PutText(header, previousCabinet);
    PutText(header, previousDisk);
  }
  if (hasNext) {
    PutText(header, nextCabinet);
    PutText(header, nextDisk);
  }
  std::string fileRecords;
  for (const CraftedFile& file : files) {
    Put32(fileRecords, file.size);
    Put32(fileRecords, file.offset);
    Put16(fileRecords, file.folder);
    Put16(fileRecords, file.date);
    Put16(fileRecords, file.time);
    Put16(fileRecords, file.attributes);
    PutText(fileRecords, file.name);
  }
  const size_t folderRecordSize = cf::kFolderSize + (reserve ? folderReserve : 0);
  const size_t filesOffset = header.size() + folderRecordSize * folders.size();
  size_t dataOffset = filesOffset + fileRecords.size();
  std::string folderRecords, data;
  const std::string dataReserveBytes(reserve ? dataReserve : 0, '\x5A');
  for (const CraftedFolder& folder : folders) {
    Put32(folderRecords, static_cast<uint32_t>(dataOffset + data.size()));
    Put16(folderRecords, static_cast<uint16_t>(folder.blocks.size()));
    Put16(folderRecords, folder.compression);
    folderRecords.append(reserve ? folderReserve : 0, '\x3C');
    for (const CraftedBlock& block : folder.blocks) {
      std::string fields;
      Put16(fields, static_cast<uint16_t>(block.data.size()));
      Put16(fields, block.uncompressed);
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(block.data.data());
      uint32_t sum = cf::Checksum(bytes, block.data.size(), 0);
      const std::string summed = checksumOverReserve ? fields + dataReserveBytes : fields;
      sum = cf::Checksum(reinterpret_cast<const uint8_t*>(summed.data()), summed.size(), sum);
      Put32(data, block.checksum ? sum : 0);
      data += fields + dataReserveBytes + block.data;
    }
  }
  std::string cabinet = header + folderRecords + fileRecords + data;
  cf::Store32(reinterpret_cast<uint8_t*>(&cabinet[cf::kOffCabinetSize]),
              static_cast<uint32_t>(cabinet.size()));
  cf::Store32(reinterpret_cast<uint8_t*>(&cabinet[cf::kOffFilesOffset]),
              static_cast<uint32_t>(filesOffset));
  return cabinet;
}

}  // namespace cabtest
