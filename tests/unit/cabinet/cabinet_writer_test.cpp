// The cabinet writer: headers of single cabinets and sets, size limits, MSZIP history, and
// agreement with cabextract (an independent reader) and with the host FDI library.
#include "pack/cabinet_writer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <optional>

#include "cab_test_support.h"
#include "fdi_posix_session.h"
#include "pack/pack_error.h"
#include "platform/host/cabinet/cab_format.h"

namespace cabtest {
namespace {

namespace cf = cab_format;
using pack::CabinetEntry;
using pack::CabinetOptions;
using pack::Compression;

struct Header {
  uint32_t size;
  uint16_t folders, files, flags, setId, index;
  std::vector<std::string> names;  // previous cabinet and disk, then next cabinet and disk
};

Header ParseHeader(const std::string& cabinet) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(cabinet.data());
  Header h{cf::Load32(p + 8),
           cf::Load16(p + 26),
           cf::Load16(p + 28),
           cf::Load16(p + 30),
           cf::Load16(p + 32),
           cf::Load16(p + 34),
           {}};
  size_t at = cf::kHeaderSize;
  const int names = ((h.flags & 1) ? 2 : 0) + ((h.flags & 2) ? 2 : 0);
  for (int i = 0; i < names; ++i) {
    h.names.push_back(cabinet.c_str() + at);
    at += h.names.back().size() + 1;
  }
  return h;
}

std::vector<CabinetEntry> Entries(const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<CabinetEntry> entries;
  for (const auto& [name, data] : files) {
    CabinetEntry entry;
    entry.name = name;
    entry.data = data;
    entry.dosDate = 0x5864;
    entry.dosTime = 0x6000;
    entries.push_back(entry);
  }
  return entries;
}

class ScopedUtc {
 public:
  ScopedUtc() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  ~ScopedUtc() {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

TEST(DosDateTimeOf, ConvertsAndClampsToTheDosRange) {
  ScopedUtc utc;
  struct Row {
    int64_t seconds;
    uint16_t date, time;
  } rows[] = {
      {315532800, (0 << 9) | (1 << 5) | 1, 0},                             // 1980-01-01 00:00:00
      {1709555411, (44 << 9) | (3 << 5) | 4, (12 << 11) | (30 << 5) | 5},  // 2024-03-04 12:30:11
      {951782400, (20 << 9) | (2 << 5) | 29, 0},                           // 2000-02-29
      {0, (0 << 9) | (1 << 5) | 1, 0},                                     // 1970: clamped
      {4354819200, (127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29},  // 2108
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.seconds);
    uint16_t date = 0, time = 0;
    pack::DosDateTimeOf(row.seconds, date, time);
    EXPECT_EQ(date, row.date);
    EXPECT_EQ(time, row.time);
  }
}

TEST(CabinetWriter, SingleCabinetHeaderAndEntries) {
  std::vector<CabinetEntry> entries =
      Entries({{"a.txt", "hello"}, {"sub\\b.bin", RandomBytes(40000, 1)}});
  entries[1].attributes = 0x21;
  entries[1].runAfterExtract = true;
  CabinetOptions options;
  options.setId = 0x1234;
  const std::vector<std::string> cabinets = pack::WriteCabinets(entries, options);
  ASSERT_EQ(cabinets.size(), 1u);
  const Header h = ParseHeader(cabinets[0]);
  EXPECT_EQ(cabinets[0].compare(0, 4, "MSCF"), 0);
  EXPECT_EQ(cabinets[0][24], 3);  // version 1.3
  EXPECT_EQ(cabinets[0][25], 1);
  EXPECT_EQ(h.size, cabinets[0].size());
  EXPECT_EQ(h.folders, 1);
  EXPECT_EQ(h.files, 2);
  EXPECT_EQ(h.flags, 0);
  EXPECT_EQ(h.setId, 0x1234);
  EXPECT_EQ(h.index, 0);

  TempDir dir;
  WriteFile(dir / "one.cab", cabinets[0]);
  FdiSession session(dir / "out");
  ASSERT_TRUE(session.Copy(dir.path(), "one.cab"));
  const std::vector<Notification> copies = session.Of(fdintCOPY_FILE);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[1].attribs, 0x421);  // the run-after-extract bit travels in the attributes
  const std::vector<Notification> closes = session.Of(fdintCLOSE_FILE_INFO);
  EXPECT_EQ(closes[0].cb, 0);
  EXPECT_EQ(closes[1].cb, 1);
  EXPECT_EQ(closes[1].attribs, 0x21);
  EXPECT_TRUE(SameData(ReadFile(dir / "out/sub/b.bin"), entries[1].data));
}

TEST(CabinetWriter, MsZipCarriesTheHistoryAcrossBlocks) {
  // Random data repeating every 40000 bytes: incompressible within a block, but each repeat
  // refers back into the previous block when the history carries over.
  const std::string period = RandomBytes(20000, 7);
  std::string data;
  for (int i = 0; i < 8; ++i) data += period;
  const std::vector<std::string> cabinets =
      pack::WriteCabinets(Entries({{"repeat.bin", data}}), CabinetOptions{});
  EXPECT_LT(cabinets[0].size(), 2 * period.size());

  TempDir dir;
  WriteFile(dir / "r.cab", cabinets[0]);
  FdiSession session(dir / "out");
  ASSERT_TRUE(session.Copy(dir.path(), "r.cab"));
  EXPECT_TRUE(SameData(ReadFile(dir / "out/repeat.bin"), data));
}

TEST(CabinetWriter, IncompressibleBlocksStayWithinTheMsZipBound) {
  const std::vector<std::string> cabinets =
      pack::WriteCabinets(Entries({{"noise", RandomBytes(3 * 32768, 3)}}), CabinetOptions{});
  const uint8_t* p = reinterpret_cast<const uint8_t*>(cabinets[0].data());
  size_t at = cf::Load32(p + cf::kHeaderSize);  // coffCabStart of the folder
  for (int block = 0; block < 3; ++block) {
    const uint16_t stored = cf::Load16(p + at + 4);
    EXPECT_LE(stored, 32768 + 12) << "block " << block;
    at += cf::kDataHeaderSize + stored;
  }
}

TEST(CabinetWriter, DataThatFitOneCabinetStayInOne) {
  const std::vector<CabinetEntry> entries = Entries({{"a.bin", RandomBytes(50000, 8)}});
  const size_t single = pack::WriteCabinets(entries, CabinetOptions{})[0].size();
  CabinetOptions options;
  options.maxCabinetSize = static_cast<uint32_t>(single);
  EXPECT_EQ(pack::WriteCabinets(entries, options).size(), 1u);
  options.maxCabinetSize = static_cast<uint32_t>(single - 1);
  EXPECT_EQ(pack::WriteCabinets(entries, options).size(), 2u);
}

TEST(CabinetWriter, RejectsWhatTheFormatCannotHold) {
  EXPECT_THROW(pack::WriteCabinets(Entries({{std::string(256, 'n'), "x"}}), {}), pack::PackError);
  EXPECT_THROW(pack::WriteCabinets(Entries({{"", "x"}}), {}), pack::PackError);
  CabinetOptions tiny;
  tiny.maxCabinetSize = 80;
  EXPECT_THROW(pack::WriteCabinets(Entries({{"a", RandomBytes(1000, 1)}}), tiny), pack::PackError);
  CabinetOptions longName;
  longName.maxCabinetSize = 5000;
  longName.cabinetName = [](size_t) { return std::string(300, 'c'); };
  EXPECT_THROW(pack::WriteCabinets(Entries({{"a", RandomBytes(20000, 1)}}), longName),
               pack::PackError);
}

struct SetCase {
  const char* label;
  Compression compression;
  uint32_t maxSize;
  std::vector<std::pair<std::string, size_t>> files;  // name, size (text if the name ends in t)
  size_t minCabinets;
};

std::vector<CabinetEntry> SetEntries(const SetCase& c) {
  std::vector<CabinetEntry> entries;
  uint32_t seed = 10;
  for (const auto& [name, size] : c.files) {
    CabinetEntry entry;
    entry.name = name;
    entry.data = name.back() == 't' ? RandomText(size, ++seed) : RandomBytes(size, ++seed);
    entry.dosDate = 0x5864;
    entries.push_back(entry);
  }
  return entries;
}

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.label; }

const SetCase kSetCases[] = {
    {"stored, single cabinet",
     Compression::Stored,
     0,
     {{"empty.bin", 0}, {"a\\b\\c.txt", 100000}, {"exact.bin", 65536}, {"z.txt", 1}},
     1},
    {"mszip, single cabinet",
     Compression::MsZip,
     0,
     {{"empty.bin", 0}, {"a\\b\\c.txt", 100000}, {"exact.bin", 65536}, {"z.txt", 1}},
     1},
    {"stored, one file over three cabinets", Compression::Stored, 30000, {{"big.bin", 70000}}, 3},
    {"stored, files across boundaries",
     Compression::Stored,
     30000,
     {{"a.bin", 20000}, {"b.bin", 20000}, {"c.bin", 40000}, {"d.bin", 10}},
     3},
    {"mszip, mixed files and an empty one",
     Compression::MsZip,
     40000,
     {{"a.txt", 1000},
      {"dir\\b.bin", 70000},
      {"e.bin", 0},
      {"dir\\sub\\c.txt", 300000},
      {"d.bin", 65536},
      {"f.txt", 10}},
     3},
    {"mszip, many small files",
     Compression::MsZip,
     3000,
     {{"1.bin", 900},
      {"2.bin", 900},
      {"3.bin", 900},
      {"4.bin", 900},
      {"5.bin", 900},
      {"6.bin", 900},
      {"7.bin", 900},
      {"8.bin", 900},
      {"9.bin", 900},
      {"10.bin", 900}},
     3},
    {"mszip, block-sized files meeting at a cut",
     Compression::MsZip,
     33000,
     {{"a.bin", 32768}, {"b.bin", 32768}, {"c.bin", 32768}, {"z.bin", 0}},
     3},
    {"stored, cabinets smaller than a block",
     Compression::Stored,
     1200,
     {{"x.bin", 5000}, {"y.bin", 3}},
     5},
};

class CabinetSetTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(CabinetSetTest, HeadersChainAndEveryReaderGetsTheFilesBack) {
  const SetCase& c = GetParam();
  CabinetOptions options;
  options.compression = c.compression;
  options.maxCabinetSize = c.maxSize;
  options.setId = 77;
  options.diskName = [](size_t i) { return "Disk " + std::to_string(i + 1); };
  const std::vector<CabinetEntry> entries = SetEntries(c);
  const std::vector<std::string> cabinets = pack::WriteCabinets(entries, options);
  ASSERT_GE(cabinets.size(), c.minCabinets);
  for (size_t i = 0; i < cabinets.size(); ++i) {
    SCOPED_TRACE(i);
    const Header h = ParseHeader(cabinets[i]);
    EXPECT_LE(cabinets[i].size(), c.maxSize == 0 ? SIZE_MAX : c.maxSize);
    EXPECT_EQ(h.size, cabinets[i].size());
    EXPECT_EQ(h.index, i);
    EXPECT_EQ(h.setId, 77);
    const bool first = i == 0, last = i + 1 == cabinets.size();
    EXPECT_EQ(h.flags, (first ? 0 : cf::kFlagPrevCabinet) | (last ? 0 : cf::kFlagNextCabinet));
    std::vector<std::string> names;
    if (!first) names = {"cab" + std::to_string(i) + ".cab", "Disk " + std::to_string(i)};
    if (!last) {
      names.push_back("cab" + std::to_string(i + 2) + ".cab");
      names.push_back("Disk " + std::to_string(i + 2));
    }
    EXPECT_EQ(h.names, names);
  }

  TempDir dir;
  WriteSet(dir.path(), entries, options);
  FdiSession session(dir / "fdi");
  ASSERT_TRUE(session.CopySet(dir.path(), "cab1.cab")) << session.erf.erfOper;
  for (const CabinetEntry& entry : entries)
    EXPECT_TRUE(SameData(ReadFile(dir / "fdi/" + UnixPath(entry.name)), entry.data)) << entry.name;
  EXPECT_EQ(session.Of(fdintCOPY_FILE).size(), entries.size());

  if (!HaveTool("cabextract")) GTEST_SKIP() << "cabextract is not installed";
  ASSERT_EQ(RunShell("cd " + dir.path() + " && cabextract -q -d ext cab1.cab 2>err.txt"), 0)
      << ReadFile(dir / "err.txt");
  EXPECT_TRUE(SameData(ReadFile(dir / "err.txt"), ""));  // no warnings about the set's structure
  for (const CabinetEntry& entry : entries)
    EXPECT_TRUE(SameData(ReadFile(dir / "ext/" + UnixPath(entry.name)), entry.data)) << entry.name;
}

INSTANTIATE_TEST_SUITE_P(Sets, CabinetSetTest, ::testing::ValuesIn(kSetCases),
                         [](const ::testing::TestParamInfo<SetCase>& info) {
                           std::string name;
                           for (const char* p = info.param.label; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

}  // namespace
}  // namespace cabtest
