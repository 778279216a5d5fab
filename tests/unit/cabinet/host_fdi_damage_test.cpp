// Damaged cabinets: each damage gives the FDI error that Windows' cabinet.dll gives for it,
// without crashing, leaking or reading outside what the file holds.
#include <gtest/gtest.h>

#include <functional>

#include "cab_test_support.h"
#include "fdi_posix_session.h"
#include "pack/cabinet_writer.h"
#include "platform/host/cabinet/cab_format.h"

namespace cabtest {
namespace {

namespace cf = cab_format;
using pack::CabinetEntry;
using pack::CabinetOptions;
using pack::Compression;

// Where the records of a single-folder cabinet with two files lie.
struct Offsets {
  size_t folder = cf::kHeaderSize;
  size_t files = 0;
  size_t secondFile = 0;
  size_t data = 0;

  explicit Offsets(const std::string& c) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(c.data());
    files = cf::Load32(p + cf::kOffFilesOffset);
    secondFile = files + cf::kFileSize + std::string(c.c_str() + files + cf::kFileSize).size() + 1;
    data = cf::Load32(p + folder);
  }
};

void Set16(std::string& c, size_t at, uint16_t v) {
  cf::Store16(reinterpret_cast<uint8_t*>(&c[at]), v);
}
void Set32(std::string& c, size_t at, uint32_t v) {
  cf::Store32(reinterpret_cast<uint8_t*>(&c[at]), v);
}

struct Damage {
  const char* label;
  Compression base;
  std::function<void(std::string&, const Offsets&)> apply;
  FDIERROR expected;
};

void PrintTo(const Damage& damage, std::ostream* os) { *os << damage.label; }

const Damage kDamages[] = {
    {"WrongSignature", Compression::MsZip, [](std::string& c, const Offsets&) { c[0] = 'X'; },
     FDIERROR_NOT_A_CABINET},
    {"EmptyFile", Compression::MsZip, [](std::string& c, const Offsets&) { c.clear(); },
     FDIERROR_NOT_A_CABINET},
    {"TruncatedHeader", Compression::MsZip, [](std::string& c, const Offsets&) { c.resize(20); },
     FDIERROR_NOT_A_CABINET},
    {"Version12", Compression::MsZip,
     [](std::string& c, const Offsets&) { c[cf::kOffVersionMinor] = 2; },
     FDIERROR_UNKNOWN_CABINET_VERSION},
    {"Version23", Compression::MsZip,
     [](std::string& c, const Offsets&) { c[cf::kOffVersionMajor] = 2; },
     FDIERROR_UNKNOWN_CABINET_VERSION},
    {"FlippedDataByte", Compression::MsZip,
     [](std::string& c, const Offsets& o) { c[o.data + 8 + 100] ^= 0x55; },
     FDIERROR_CORRUPT_CABINET},
    {"FlippedStoredByte", Compression::Stored,
     [](std::string& c, const Offsets& o) { c[o.data + 8 + 100] ^= 0x55; },
     FDIERROR_CORRUPT_CABINET},
    {"BadChecksum", Compression::MsZip, [](std::string& c, const Offsets& o) { c[o.data] ^= 1; },
     FDIERROR_CORRUPT_CABINET},
    {"InvalidDeflateBlockWithoutChecksum", Compression::MsZip,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       c[o.data + 8 + 2] |= 0x06;  // block type 3, which DEFLATE reserves
     },
     FDIERROR_CORRUPT_CABINET},
    {"MissingCkWithoutChecksum", Compression::MsZip,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       c[o.data + 8] = 'X';
     },
     FDIERROR_CORRUPT_CABINET},
    {"TruncatedData", Compression::MsZip,
     [](std::string& c, const Offsets&) { c.resize(c.size() / 2); }, FDIERROR_CORRUPT_CABINET},
    {"TruncatedFileRecords", Compression::MsZip,
     [](std::string& c, const Offsets& o) { c.resize(o.files + 5); }, FDIERROR_CORRUPT_CABINET},
    {"UnterminatedName", Compression::MsZip,
     [](std::string& c, const Offsets& o) { c.resize(o.files + cf::kFileSize + 3); },
     FDIERROR_CORRUPT_CABINET},
    {"Lzx", Compression::MsZip, [](std::string& c, const Offsets& o) { Set16(c, o.folder + 6, 3); },
     FDIERROR_BAD_COMPR_TYPE},
    {"Quantum", Compression::MsZip,
     [](std::string& c, const Offsets& o) { Set16(c, o.folder + 6, 2); }, FDIERROR_BAD_COMPR_TYPE},
    {"UnknownMethod", Compression::Stored,
     [](std::string& c, const Offsets& o) { Set16(c, o.folder + 6, 0x0F); },
     FDIERROR_BAD_COMPR_TYPE},
    {"FolderIndexOutOfRange", Compression::MsZip,
     [](std::string& c, const Offsets& o) { Set16(c, o.files + 8, 1); }, FDIERROR_CORRUPT_CABINET},
    {"NoFoldersButFiles", Compression::MsZip,
     [](std::string& c, const Offsets&) { Set16(c, cf::kOffFolderCount, 0); },
     FDIERROR_CORRUPT_CABINET},
    {"FileBeyondTheFolderData", Compression::MsZip,
     [](std::string& c, const Offsets& o) { Set32(c, o.secondFile, 100000); },
     FDIERROR_CORRUPT_CABINET},
    {"FileAtAHugeOffset", Compression::Stored,
     [](std::string& c, const Offsets& o) { Set32(c, o.secondFile + 4, 0xFFFFFF00); },
     FDIERROR_CORRUPT_CABINET},
    {"UncompressedSizeOver32K", Compression::MsZip,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       Set16(c, o.data + 6, 40000);
     },
     FDIERROR_CORRUPT_CABINET},
    {"UncompressedSizeOneShort", Compression::MsZip,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       Set16(c, o.data + 6, 32767);
     },
     FDIERROR_CORRUPT_CABINET},
    {"StoredSizesDisagree", Compression::Stored,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       Set16(c, o.data + 6, 1000);
     },
     FDIERROR_CORRUPT_CABINET},
    {"CompressedSizeOverTheBound", Compression::Stored,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       Set16(c, o.data + 4, 65535);
     },
     FDIERROR_CORRUPT_CABINET},
    {"ContinuedBlockWithoutNextCabinet", Compression::Stored,
     [](std::string& c, const Offsets& o) {
       Set32(c, o.data, 0);
       Set16(c, o.data + 6, 0);
     },
     FDIERROR_CORRUPT_CABINET},
    {"DataOffsetPastTheEnd", Compression::MsZip,
     [](std::string& c, const Offsets& o) { Set32(c, o.folder, 0x7FFFFFF0); },
     FDIERROR_CORRUPT_CABINET},
    {"DataOffsetHuge", Compression::MsZip,
     [](std::string& c, const Offsets& o) { Set32(c, o.folder, 0xFFFFFFFF); },
     FDIERROR_CORRUPT_CABINET},
    {"FileRecordsPastTheEnd", Compression::MsZip,
     [](std::string& c, const Offsets&) { Set32(c, cf::kOffFilesOffset, 0xFFFFFFF0); },
     FDIERROR_CORRUPT_CABINET},
    {"FileCountBeyondTheRecords", Compression::MsZip,
     [](std::string& c, const Offsets&) { Set16(c, cf::kOffFileCount, 65535); },
     FDIERROR_CORRUPT_CABINET},
    {"HeaderReservePastTheEnd", Compression::MsZip,
     [](std::string& c, const Offsets&) {
       // Reserve fields where the folder record was: cbCFHeader then reaches past the file.
       Set16(c, cf::kOffFlags, cf::kFlagReservePresent);
       Set32(c, cf::kHeaderSize, 0x0000FFFF);
     },
     FDIERROR_CORRUPT_CABINET},
};

class DamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamageTest, GivesTheErrorOfTheDamage) {
  const Damage& damage = GetParam();
  CabinetOptions options;
  options.compression = damage.base;
  const std::vector<CabinetEntry> entries = {{"a.txt", RandomText(50000, 1)},
                                             {"b.bin", RandomBytes(1000, 2)}};
  std::string cabinet = pack::WriteCabinets(entries, options)[0];
  damage.apply(cabinet, Offsets(cabinet));
  TempDir dir;
  WriteFile(dir / "d.cab", cabinet);
  {
    FdiSession session(dir / "out");
    EXPECT_FALSE(session.Copy(dir.path(), "d.cab"));
    EXPECT_EQ(session.erf.erfOper, damage.expected);
    EXPECT_EQ(session.erf.fError, 1);
  }
  EXPECT_EQ(Allocations().live, 0);
}

INSTANTIATE_TEST_SUITE_P(Cabinets, DamageTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.label);
                         });

}  // namespace
}  // namespace cabtest
