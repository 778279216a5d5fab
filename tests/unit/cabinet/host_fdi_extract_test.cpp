// The host FDI library on single cabinets: round trips with the writer, the notifications and
// their fields, the client's answers (skip, abort), I/O and memory through the callbacks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "cab_test_support.h"
#include "fdi_posix_session.h"
#include "pack/cabinet_writer.h"
#include "platform/host/cabinet/host_fdi.h"

namespace cabtest {
namespace {

using pack::CabinetEntry;
using pack::CabinetOptions;
using pack::Compression;

std::vector<CabinetEntry> MakeEntries(const std::vector<std::pair<std::string, size_t>>& files) {
  std::vector<CabinetEntry> entries;
  uint32_t seed = 100;
  for (const auto& [name, size] : files) {
    CabinetEntry entry;
    entry.name = name;
    entry.data = name.back() == 't' ? RandomText(size, ++seed) : RandomBytes(size, ++seed);
    entry.dosDate = static_cast<uint16_t>(0x5800 + seed);
    entry.dosTime = static_cast<uint16_t>(0x6000 + 2 * seed);
    entry.attributes = static_cast<uint16_t>(seed % 2 ? 0x20 : 0x21);
    entries.push_back(entry);
  }
  return entries;
}

struct RoundTrip {
  const char* label;
  std::vector<std::pair<std::string, size_t>> files;
};

std::vector<std::pair<std::string, size_t>> ManyFiles() {
  std::vector<std::pair<std::string, size_t>> files;
  for (int i = 0; i < 300; ++i)
    files.push_back({"f" + std::to_string(i) + (i % 3 ? ".txt" : ".bin"), (i * 7919) % 3000});
  return files;
}

void PrintTo(const RoundTrip& trip, std::ostream* os) { *os << trip.label; }

const RoundTrip kRoundTrips[] = {
    {"EmptyFile", {{"empty.bin", 0}}},
    {"EmptyFilesAroundData", {{"e1.bin", 0}, {"data.txt", 5000}, {"e2.bin", 0}}},
    {"ManyFiles", ManyFiles()},
    {"LargerThanABlock", {{"text.txt", 100000}, {"noise.bin", 100001}}},
    {"ExactBlockMultiples", {{"one.bin", 32768}, {"two.txt", 65536}, {"three.bin", 98304}}},
    {"Subfolders", {{"a\\b\\c.txt", 7000}, {"a\\d.bin", 10}, {"x\\y\\z\\w.txt", 40000}}},
};

class RoundTripTest : public ::testing::TestWithParam<std::tuple<RoundTrip, Compression>> {};

TEST_P(RoundTripTest, ExtractsEveryFileWithItsFields) {
  const auto& [trip, compression] = GetParam();
  const std::vector<CabinetEntry> entries = MakeEntries(trip.files);
  CabinetOptions options;
  options.compression = compression;
  options.setId = 4321;
  TempDir dir;
  WriteSet(dir.path(), entries, options);
  {
    FdiSession session(dir / "out");
    ASSERT_TRUE(session.Copy(dir.path(), "cab1.cab")) << session.erf.erfOper;

    ASSERT_EQ(session.log.size(), 1 + 2 * entries.size());
    const Notification& info = session.log[0];
    EXPECT_EQ(info.type, fdintCABINET_INFO);
    EXPECT_EQ(info.psz1, "");
    EXPECT_EQ(info.psz2, "");
    EXPECT_EQ(info.psz3, dir.path());
    EXPECT_EQ(info.setID, 4321);
    EXPECT_EQ(info.iCabinet, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
      SCOPED_TRACE(entries[i].name);
      const Notification& copy = session.log[1 + 2 * i];
      const Notification& close = session.log[2 + 2 * i];
      EXPECT_EQ(copy.type, fdintCOPY_FILE);
      EXPECT_EQ(copy.psz1, entries[i].name);
      EXPECT_EQ(copy.cb, static_cast<long>(entries[i].data.size()));
      EXPECT_EQ(copy.date, entries[i].dosDate);
      EXPECT_EQ(copy.time, entries[i].dosTime);
      EXPECT_EQ(copy.attribs, entries[i].attributes);
      EXPECT_EQ(copy.iFolder, 0);
      EXPECT_EQ(close.type, fdintCLOSE_FILE_INFO);
      EXPECT_EQ(close.psz1, entries[i].name);
      EXPECT_EQ(close.date, entries[i].dosDate);
      EXPECT_EQ(close.time, entries[i].dosTime);
      EXPECT_EQ(close.attribs, entries[i].attributes);
      EXPECT_EQ(close.cb, 0);
      EXPECT_TRUE(SameData(ReadFile(dir / "out/" + UnixPath(entries[i].name)), entries[i].data));
    }
  }
  EXPECT_EQ(Allocations().live, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cabinets, RoundTripTest,
    ::testing::Combine(::testing::ValuesIn(kRoundTrips),
                       ::testing::Values(Compression::Stored, Compression::MsZip)),
    [](const ::testing::TestParamInfo<std::tuple<RoundTrip, Compression>>& info) {
      return std::string(std::get<0>(info.param).label) +
             (std::get<1>(info.param) == Compression::MsZip ? "MsZip" : "Stored");
    });

class SingleCabinetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    entries_ = MakeEntries({{"one.txt", 50000}, {"two.bin", 3000}, {"three.txt", 20}});
    WriteSet(dir_.path(), entries_, CabinetOptions{});
  }

  TempDir dir_;
  std::vector<CabinetEntry> entries_;
};

TEST_F(SingleCabinetTest, OpensTheCabinetReadOnlyThroughTheCallback) {
  OpenCalls().clear();
  FdiSession session(dir_ / "out");
  ASSERT_TRUE(session.Copy(dir_.path(), "cab1.cab"));
  ASSERT_FALSE(OpenCalls().empty());
  EXPECT_EQ(OpenCalls()[0].path, dir_ / "cab1.cab");
  EXPECT_EQ(OpenCalls()[0].flags, kOpenBinary | kOpenReadOnly);
}

TEST_F(SingleCabinetTest, SkipsAFileWhenCopyFileAnswersZero) {
  FdiSession session(dir_ / "out");
  session.hook = [](FDINOTIFICATIONTYPE type, FDINOTIFICATION& n) -> std::optional<intptr_t> {
    if (type == fdintCOPY_FILE && std::strcmp(n.psz1, "one.txt") == 0) return 0;
    return std::nullopt;
  };
  ASSERT_TRUE(session.Copy(dir_.path(), "cab1.cab"));
  EXPECT_FALSE(FileExists(dir_ / "out/one.txt"));
  EXPECT_TRUE(SameData(ReadFile(dir_ / "out/two.bin"), entries_[1].data));
  EXPECT_TRUE(SameData(ReadFile(dir_ / "out/three.txt"), entries_[2].data));
  EXPECT_EQ(session.Of(fdintCLOSE_FILE_INFO).size(), 2u);
}

TEST_F(SingleCabinetTest, ClientAnswersThatAbort) {
  struct Row {
    FDINOTIFICATIONTYPE type;
    intptr_t answer;
  } rows[] = {
      {fdintCABINET_INFO, -1},
      {fdintCOPY_FILE, -1},
      {fdintCLOSE_FILE_INFO, 0},
      {fdintCLOSE_FILE_INFO, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.type << " answered " << row.answer);
    {
      FdiSession session(dir_ / "out");
      session.erf.erfType = 1234;
      session.hook = [&](FDINOTIFICATIONTYPE type, FDINOTIFICATION& n) -> std::optional<intptr_t> {
        if (type != row.type) return std::nullopt;
        if (type == fdintCLOSE_FILE_INFO) ::close(static_cast<int>(n.hf));
        return row.answer;
      };
      EXPECT_FALSE(session.Copy(dir_.path(), "cab1.cab"));
      EXPECT_EQ(session.erf.erfOper, FDIERROR_USER_ABORT);
      EXPECT_EQ(session.erf.fError, 1);
      EXPECT_EQ(session.erf.erfType, 1234);          // left for the caller
      EXPECT_EQ(session.log.back().type, row.type);  // nothing after the aborting answer
    }
    EXPECT_EQ(Allocations().live, 0);
  }
}

TEST_F(SingleCabinetTest, AShortWriteFailsWithTargetFileAndClosesTheHandle) {
  int handle = -1;
  FdiSession session(dir_ / "out");
  session.hook = [&](FDINOTIFICATIONTYPE type, FDINOTIFICATION&) -> std::optional<intptr_t> {
    if (type != fdintCOPY_FILE) return std::nullopt;
    handle = ::open("/dev/full", O_WRONLY);
    return handle;
  };
  EXPECT_FALSE(session.Copy(dir_.path(), "cab1.cab"));
  EXPECT_EQ(session.erf.erfOper, FDIERROR_TARGET_FILE);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(::fcntl(handle, F_GETFD), -1);  // FDI closed it
  EXPECT_TRUE(session.Of(fdintCLOSE_FILE_INFO).empty());
}

TEST_F(SingleCabinetTest, AMissingCabinetIsNotFound) {
  FdiSession session(dir_ / "out");
  EXPECT_FALSE(session.Copy(dir_.path(), "none.cab"));
  EXPECT_EQ(session.erf.erfOper, FDIERROR_CABINET_NOT_FOUND);
  EXPECT_TRUE(session.log.empty());
}

TEST_F(SingleCabinetTest, EveryAllocationFailureIsReportedAndLeaksNothing) {
  bool succeeded = false;
  for (long failAt = 0; !succeeded && failAt < 200; ++failAt) {
    SCOPED_TRACE(failAt);
    TempDir out;
    Allocations().failAt = Allocations().total + failAt;
    {
      FdiSession session(out.path());
      if (session.context() == nullptr) {
        EXPECT_EQ(session.erf.erfOper, FDIERROR_ALLOC_FAIL);
        continue;
      }
      succeeded = session.Copy(dir_.path(), "cab1.cab");
      if (!succeeded) {
        EXPECT_EQ(session.erf.erfOper, FDIERROR_ALLOC_FAIL);
      }
    }
    EXPECT_EQ(Allocations().live, 0);
  }
  Allocations().failAt = -1;
  EXPECT_TRUE(succeeded);
}

// FDIIsCabinet reads the header where the handle stands, here behind 100 other bytes.
TEST(HostFdiIsCabinet, ReportsTheHeaderAtTheHandlesPosition) {
  CabinetOptions options;
  options.compression = Compression::Stored;
  options.maxCabinetSize = 30000;
  options.setId = 99;
  const std::vector<std::string> set =
      pack::WriteCabinets(MakeEntries({{"a.bin", 70000}, {"b.bin", 10}}), options);
  ASSERT_EQ(set.size(), 3u);
  CraftedCabinet reserved;
  reserved.reserve = true;
  reserved.headerReserve = 4;
  struct Row {
    std::string cabinet;
    bool isCabinet, reserve, previous, next;
    unsigned short index;
  } rows[] = {
      {set[1], true, false, true, true, 1},
      {set[2], true, false, true, false, 2},
      {reserved.Build(), true, true, false, false, 0},
      {"MSCX" + set[0].substr(4), false, false, false, false, 0},
  };
  TempDir dir;
  FdiSession session(dir / "out");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.index);
    WriteFile(dir / "c.cab", std::string(100, 'x') + row.cabinet);
    const int handle = ::open((dir / "c.cab").c_str(), O_RDONLY);
    ::lseek(handle, 100, SEEK_SET);
    FDICABINETINFO info{};
    session.erf = {};
    EXPECT_EQ(HostFDIIsCabinet(session.context(), handle, &info) != 0, row.isCabinet);
    ::close(handle);
    if (!row.isCabinet) {
      EXPECT_EQ(session.erf.erfOper, FDIERROR_NOT_A_CABINET);
      continue;
    }
    EXPECT_EQ(info.cbCabinet, static_cast<long>(row.cabinet.size()));
    EXPECT_EQ(info.cFiles, row.reserve ? 0 : (row.next ? 1 : 2));
    EXPECT_EQ(info.setID, row.reserve ? 0 : 99);
    EXPECT_EQ(info.iCabinet, row.index);
    EXPECT_EQ(info.fReserve != 0, row.reserve);
    EXPECT_EQ(info.hasprev != 0, row.previous);
    EXPECT_EQ(info.hasnext != 0, row.next);
  }
}

TEST(HostFdiCreate, NeedsEveryCallback) {
  ERF erf{};
  EXPECT_EQ(HostFDICreate(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          kFdiCpuUnknown, &erf),
            nullptr);
  EXPECT_EQ(erf.erfOper, FDIERROR_ALLOC_FAIL);
  EXPECT_EQ(erf.fError, 1);
  EXPECT_FALSE(HostFDIDestroy(nullptr));
}

TEST(HostFdiCrafted, HonoursReserveFieldsAndBothChecksumConventions) {
  const std::string text = RandomText(40000, 3);
  const std::string noise = RandomBytes(500, 4);
  for (bool overReserve : {false, true}) {
    SCOPED_TRACE(overReserve);
    CraftedCabinet cabinet;
    cabinet.reserve = true;
    cabinet.headerReserve = 10;
    cabinet.folderReserve = 3;
    cabinet.dataReserve = 5;
    cabinet.checksumOverReserve = overReserve;
    cabinet.folders = {
        {1, {{MsZipBlock(text.substr(0, 32768)), 32768}, {MsZipBlock(text.substr(32768)), 7232}}},
        {0, {{noise, 500}}}};
    cabinet.files = {{"text.txt", 40000, 0, 0}, {"noise.bin", 500, 0, 1}};
    TempDir dir;
    WriteFile(dir / "r.cab", cabinet.Build());
    FdiSession session(dir / "out");
    ASSERT_TRUE(session.Copy(dir.path(), "r.cab")) << session.erf.erfOper;
    EXPECT_TRUE(SameData(ReadFile(dir / "out/text.txt"), text));
    EXPECT_TRUE(SameData(ReadFile(dir / "out/noise.bin"), noise));
  }
}

// Blocks shorter than 32 KiB (as other writers make them): the history is the folder's last
// 32 KiB, across as many blocks as that takes.
TEST(HostFdiCrafted, HistoryReachesBackOverShortBlocks) {
  const std::string r = RandomBytes(10000, 1), s = RandomBytes(10000, 2);
  CraftedCabinet cabinet;
  cabinet.folders = {
      {1, {{MsZipBlock(r), 10000}, {MsZipBlock(s, r), 10000}, {MsZipBlock(r, r + s), 10000}}}};
  cabinet.files = {{"three.bin", 30000, 0, 0}};
  ASSERT_LT(cabinet.folders[0].blocks[2].data.size(), 1000u);  // it does refer back
  TempDir dir;
  WriteFile(dir / "r.cab", cabinet.Build());
  FdiSession session(dir / "out");
  ASSERT_TRUE(session.Copy(dir.path(), "r.cab")) << session.erf.erfOper;
  EXPECT_TRUE(SameData(ReadFile(dir / "out/three.bin"), r + s + r));
}

TEST(HostFdiCrafted, FilesOutOfFolderOrderAreStillExtracted) {
  const std::string data = RandomText(60000, 9);
  CraftedCabinet cabinet;
  cabinet.folders = {{1,
                      {{MsZipBlock(data.substr(0, 32768)), 32768},
                       {MsZipBlock(data.substr(32768)), static_cast<uint16_t>(60000 - 32768)}}}};
  cabinet.files = {{"late.txt", 20000, 40000, 0}, {"early.txt", 40000, 0, 0}};
  TempDir dir;
  WriteFile(dir / "r.cab", cabinet.Build());
  FdiSession session(dir / "out");
  ASSERT_TRUE(session.Copy(dir.path(), "r.cab")) << session.erf.erfOper;
  EXPECT_TRUE(SameData(ReadFile(dir / "out/late.txt"), data.substr(40000)));
  EXPECT_TRUE(SameData(ReadFile(dir / "out/early.txt"), data.substr(0, 40000)));
}

}  // namespace
}  // namespace cabtest
