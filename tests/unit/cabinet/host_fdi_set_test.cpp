// The host FDI library on cabinet sets: a file spanning three cabinets, the files after it
// through repeated FDICopy calls, fdintPARTIAL_FILE and fdintNEXT_CABINET, and next cabinets
// that are moved, missing or wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "cab_test_support.h"
#include "fdi_posix_session.h"
#include "pack/cabinet_writer.h"
#include "platform/host/cabinet/cab_format.h"

namespace cabtest {
namespace {

using pack::CabinetEntry;
using pack::CabinetOptions;
using pack::Compression;

// head.txt and big.bin fill the first cabinet, big.bin goes on through the second into the
// third, where the tail files follow it.
std::vector<CabinetEntry> SpanningEntries() {
  std::vector<CabinetEntry> entries(5);
  entries[0] = {"head.txt", RandomText(3000, 1)};
  entries[1] = {"dir\\big.bin", RandomBytes(90000, 2)};
  entries[2] = {"tail1.txt", RandomText(20000, 3)};
  entries[3] = {"tail2.bin", RandomBytes(2000, 4)};
  entries[4] = {"tail3.txt", ""};
  entries[2].runAfterExtract = true;
  return entries;
}

CabinetOptions SetOptions(Compression compression, bool keepFolder) {
  CabinetOptions options;
  options.compression = compression;
  options.maxCabinetSize = 40000;
  options.setId = 501;
  options.diskName = [](size_t i) { return "Disk " + std::to_string(i + 1); };
  options.keepFolderAcrossCabinets = keepFolder;
  return options;
}

struct Layout {
  Compression compression;
  bool keepFolder;
};

void PrintTo(const Layout& layout, std::ostream* os) {
  *os << (layout.compression == Compression::MsZip ? "MsZip" : "Stored");
}

class SpanningSetTest : public ::testing::TestWithParam<Layout> {
 protected:
  void SetUp() override {
    entries_ = SpanningEntries();
    paths_ =
        WriteSet(dir_.path(), entries_, SetOptions(GetParam().compression, GetParam().keepFolder));
    ASSERT_EQ(paths_.size(), 3u);
  }

  void ExpectAllExtracted(const std::string& out) {
    for (const CabinetEntry& entry : entries_)
      EXPECT_TRUE(SameData(ReadFile(out + UnixPath(entry.name)), entry.data)) << entry.name;
  }

  TempDir dir_;
  std::vector<CabinetEntry> entries_;
  std::vector<std::string> paths_;
};

// The runtime's reader: FDICopy on cab1 follows big.bin through cab2 into cab3, then FDICopy
// on cab3 (where the last fdintNEXT_CABINET settled) extracts the rest.
TEST_P(SpanningSetTest, RuntimeOrderExtractsEverythingOnce) {
  {
    FdiSession session(dir_ / "out");
    ASSERT_TRUE(session.CopySet(dir_.path(), "cab1.cab")) << session.erf.erfOper;
    ExpectAllExtracted(dir_ / "out/");
    EXPECT_EQ(session.Of(fdintCOPY_FILE).size(), entries_.size());

    const std::vector<Notification> asked = session.Of(fdintNEXT_CABINET);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].psz1, "cab2.cab");
    EXPECT_EQ(asked[0].psz2, "Disk 2");
    EXPECT_EQ(asked[0].psz3, dir_.path());
    EXPECT_EQ(asked[0].fdie, FDIERROR_NONE);
    EXPECT_EQ(asked[1].psz1, "cab3.cab");

    // Every cabinet opened is announced: cab1, cab2 and cab3 during the first copy, then cab3.
    const std::vector<Notification> infos = session.Of(fdintCABINET_INFO);
    ASSERT_EQ(infos.size(), 4u);
    const unsigned short indices[] = {0, 1, 2, 2};
    const char* next[] = {"cab2.cab", "cab3.cab", "", ""};
    for (size_t i = 0; i < infos.size(); ++i) {
      EXPECT_EQ(infos[i].iCabinet, indices[i]);
      EXPECT_EQ(infos[i].psz1, next[i]);
      EXPECT_EQ(infos[i].psz2, *next[i] ? "Disk " + std::to_string(indices[i] + 2) : "");
      EXPECT_EQ(infos[i].psz3, dir_.path());
      EXPECT_EQ(infos[i].setID, 501);
    }
    std::vector<FDINOTIFICATIONTYPE> order;
    for (const Notification& n : session.log) order.push_back(n.type);
    const std::vector<FDINOTIFICATIONTYPE> expected = {
        fdintCABINET_INFO,    fdintCOPY_FILE,       fdintCLOSE_FILE_INFO, fdintCOPY_FILE,
        fdintNEXT_CABINET,    fdintCABINET_INFO,    fdintNEXT_CABINET,    fdintCABINET_INFO,
        fdintCLOSE_FILE_INFO,  // cab1 done; then cab3:
        fdintCABINET_INFO,    fdintPARTIAL_FILE,    fdintCOPY_FILE,       fdintCLOSE_FILE_INFO,
        fdintCOPY_FILE,       fdintCLOSE_FILE_INFO, fdintCOPY_FILE,       fdintCLOSE_FILE_INFO};
    EXPECT_EQ(order, expected);

    // In cab3, big.bin began two cabinets earlier.
    const std::vector<Notification> partial = session.Of(fdintPARTIAL_FILE);
    ASSERT_EQ(partial.size(), 1u);
    EXPECT_EQ(partial[0].psz1, "dir\\big.bin");
    EXPECT_EQ(partial[0].psz2, "cab1.cab");
    EXPECT_EQ(partial[0].psz3, "Disk 1");

    const std::vector<Notification> closes = session.Of(fdintCLOSE_FILE_INFO);
    ASSERT_EQ(closes.size(), entries_.size());
    EXPECT_EQ(closes[2].psz1, "tail1.txt");
    EXPECT_EQ(closes[2].cb, 1);
  }
  EXPECT_EQ(Allocations().live, 0);
}

// FDICopy on every cabinet in turn: each file is still written once.
TEST_P(SpanningSetTest, EveryCabinetInTurnExtractsEverythingOnce) {
  FdiSession session(dir_ / "out");
  for (const char* name : {"cab1.cab", "cab2.cab", "cab3.cab"})
    ASSERT_TRUE(session.Copy(dir_.path(), name)) << name << ": " << session.erf.erfOper;
  ExpectAllExtracted(dir_ / "out/");
  EXPECT_EQ(session.Of(fdintCOPY_FILE).size(), entries_.size());
  const std::vector<Notification> partial = session.Of(fdintPARTIAL_FILE);
  ASSERT_EQ(partial.size(), 2u);
  for (const Notification& n : partial) {
    EXPECT_EQ(n.psz1, "dir\\big.bin");
    EXPECT_EQ(n.psz2, "cab1.cab");
    EXPECT_EQ(n.psz3, "Disk 1");
  }
}

TEST_P(SpanningSetTest, NextCabinetMayMoveTheSetElsewhere) {
  const std::string moved = dir_ / "disk2/";
  std::filesystem::create_directories(moved);
  for (const char* name : {"cab2.cab", "cab3.cab"})
    std::filesystem::rename(dir_ / name, moved + name);
  OpenCalls().clear();
  FdiSession session(dir_ / "out");
  std::vector<std::string> pathsSeen;
  session.hook = [&](FDINOTIFICATIONTYPE type, FDINOTIFICATION& n) -> std::optional<intptr_t> {
    if (type != fdintNEXT_CABINET) return std::nullopt;
    pathsSeen.push_back(n.psz3);
    std::strcpy(n.psz3, moved.c_str());
    return 0;
  };
  ASSERT_TRUE(session.Copy(dir_.path(), "cab1.cab")) << session.erf.erfOper;
  EXPECT_EQ(pathsSeen, (std::vector<std::string>{dir_.path(), moved}));
  bool opened = false;
  for (const OpenCall& call : OpenCalls()) opened |= call.path == moved + "cab3.cab";
  EXPECT_TRUE(opened);
  EXPECT_TRUE(SameData(ReadFile(dir_ / "out/dir/big.bin"), entries_[1].data));
  session.hook = nullptr;
  ASSERT_TRUE(session.Copy(moved, "cab3.cab")) << session.erf.erfOper;
  ExpectAllExtracted(dir_ / "out/");
}

INSTANTIATE_TEST_SUITE_P(Layouts, SpanningSetTest,
                         ::testing::Values(Layout{Compression::Stored, false},
                                           Layout{Compression::MsZip, false}),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                           return info.param.compression == Compression::MsZip ? "MsZip" : "Stored";
                         });

// A set that keeps one folder across its cabinets: the files after the spanning one lie in the
// continued folder of the second cabinet, which only the decoder carried over from the first
// FDICopy can read.
TEST(OneFolderSet, FilesAfterTheSpanComeFromTheCarriedDecoder) {
  for (Compression compression : {Compression::Stored, Compression::MsZip}) {
    SCOPED_TRACE(compression == Compression::MsZip ? "MsZip" : "Stored");
    std::vector<CabinetEntry> entries(4);
    entries[0] = {"head.txt", RandomText(3000, 1)};
    entries[1] = {"big.bin", RandomBytes(50000, 2)};
    entries[2] = {"tail1.txt", RandomText(20000, 3)};
    entries[3] = {"tail2.bin", RandomBytes(2000, 4)};
    TempDir dir;
    ASSERT_EQ(WriteSet(dir.path(), entries, SetOptions(compression, true)).size(), 2u);
    {
      FdiSession session(dir / "out");
      ASSERT_TRUE(session.CopySet(dir.path(), "cab1.cab")) << session.erf.erfOper;
      for (const CabinetEntry& entry : entries)
        EXPECT_TRUE(SameData(ReadFile(dir / "out/" + entry.name), entry.data)) << entry.name;
      const std::vector<Notification> copies = session.Of(fdintCOPY_FILE);
      ASSERT_EQ(copies.size(), 4u);
      EXPECT_EQ(copies[3].psz1, "tail2.bin");
      EXPECT_EQ(copies[3].iFolder, 0);  // the second cabinet's first, continued folder
    }
    {
      FdiSession fresh(dir / "fresh");
      EXPECT_FALSE(fresh.Copy(dir.path(), "cab2.cab"));
      EXPECT_EQ(fresh.erf.erfOper, FDIERROR_CORRUPT_CABINET);
    }
    EXPECT_EQ(Allocations().live, 0);
  }
}

class BrokenSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    entries_ = SpanningEntries();
    WriteSet(dir_.path(), entries_, SetOptions(Compression::MsZip, false));
  }

  // FDICopy on cab1 with cab2 replaced by the given bytes (none: removed); the notifications
  // of fdintNEXT_CABINET are answered with 0 up to `patience` times, then with -1.
  FdiSession& CopyWithSecond(const std::optional<std::string>& second, int patience) {
    if (second)
      WriteFile(dir_ / "cab2.cab", *second);
    else
      std::filesystem::remove(dir_ / "cab2.cab");
    session_ = std::make_unique<FdiSession>(dir_ / "out");
    session_->hook = [patience](FDINOTIFICATIONTYPE type,
                                FDINOTIFICATION&) mutable -> std::optional<intptr_t> {
      if (type != fdintNEXT_CABINET) return std::nullopt;
      return patience-- > 0 ? 0 : -1;
    };
    EXPECT_FALSE(session_->Copy(dir_.path(), "cab1.cab"));
    return *session_;
  }

  TempDir dir_;
  std::vector<CabinetEntry> entries_;
  std::unique_ptr<FdiSession> session_;
};

TEST_F(BrokenSetTest, UnusableNextCabinetsAreReportedInFdie) {
  const std::string cab3 = ReadFile(dir_ / "cab3.cab");
  std::string otherSet = ReadFile(dir_ / "cab2.cab");
  otherSet[cab_format::kOffSetId] ^= 1;
  std::string badSignature = ReadFile(dir_ / "cab2.cab");
  badSignature[0] = 'X';
  std::string badVersion = ReadFile(dir_ / "cab2.cab");
  badVersion[cab_format::kOffVersionMajor] = 2;
  CraftedCabinet otherReserve;
  otherReserve.setId = 501;
  otherReserve.index = 1;
  otherReserve.hasPrevious = true;
  otherReserve.previousCabinet = "cab1.cab";
  otherReserve.reserve = true;
  otherReserve.dataReserve = 4;
  otherReserve.folders = {{1, {}}};
  struct Row {
    const char* label;
    std::optional<std::string> second;
    FDIERROR problem;
  } rows[] = {
      {"other reserve sizes", otherReserve.Build(), FDIERROR_RESERVE_MISMATCH},
      {"missing", std::nullopt, FDIERROR_CABINET_NOT_FOUND},
      {"third cabinet in its place", cab3, FDIERROR_WRONG_CABINET},
      {"another set", otherSet, FDIERROR_WRONG_CABINET},
      {"not a cabinet", badSignature, FDIERROR_NOT_A_CABINET},
      {"unknown version", badVersion, FDIERROR_UNKNOWN_CABINET_VERSION},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    {
      // Giving up at the second notification aborts the copy.
      FdiSession& session = CopyWithSecond(row.second, 1);
      EXPECT_EQ(session.erf.erfOper, FDIERROR_USER_ABORT);
      const std::vector<Notification> next = session.Of(fdintNEXT_CABINET);
      ASSERT_EQ(next.size(), 2u);
      EXPECT_EQ(next[0].fdie, FDIERROR_NONE);
      EXPECT_EQ(next[1].fdie, row.problem);
    }
    {
      // A client that never gives up is asked a bounded number of times.
      FdiSession& session = CopyWithSecond(row.second, 1000);
      EXPECT_EQ(session.erf.erfOper, row.problem);
      EXPECT_EQ(session.Of(fdintNEXT_CABINET).size(), 8u);
    }
    session_.reset();
    EXPECT_EQ(Allocations().live, 0);
  }
}

TEST_F(BrokenSetTest, AbortAtPartialFileStopsTheCopy) {
  FdiSession session(dir_ / "out");
  ASSERT_TRUE(session.Copy(dir_.path(), "cab1.cab"));
  session.hook = [](FDINOTIFICATIONTYPE type, FDINOTIFICATION&) -> std::optional<intptr_t> {
    if (type == fdintPARTIAL_FILE) return -1;
    return std::nullopt;
  };
  EXPECT_FALSE(session.Copy(dir_.path(), "cab3.cab"));
  EXPECT_EQ(session.erf.erfOper, FDIERROR_USER_ABORT);
}

// Without the decoder of the previous cabinets, a continuation cabinet still yields the files
// of its own folders.
TEST(ContinuationCabinetAlone, ExtractsWhatDoesNotNeedThePreviousCabinets) {
  TempDir dir;
  const std::vector<CabinetEntry> entries = SpanningEntries();
  WriteSet(dir.path(), entries, SetOptions(Compression::MsZip, false));
  {
    FdiSession session(dir / "out");
    ASSERT_TRUE(session.Copy(dir.path(), "cab3.cab")) << session.erf.erfOper;
    EXPECT_EQ(session.Of(fdintPARTIAL_FILE).size(), 1u);
    EXPECT_TRUE(SameData(ReadFile(dir / "out/tail1.txt"), entries[2].data));
    EXPECT_TRUE(SameData(ReadFile(dir / "out/tail2.bin"), entries[3].data));
  }
  EXPECT_EQ(Allocations().live, 0);
}

// A decoder kept for a set gives way to another cabinet copied in between; the set goes on with
// the folders that need no carried decoder.
TEST(HostFdiState, AnotherCabinetInBetween) {
  TempDir dir;
  const std::vector<CabinetEntry> entries = SpanningEntries();
  WriteSet(dir.path(), entries, SetOptions(Compression::MsZip, false));
  CabinetOptions single;
  single.cabinetName = [](size_t) { return std::string("other.cab"); };
  const std::vector<CabinetEntry> other = {{"other.txt", RandomText(70000, 9)}};
  WriteSet(dir.path(), other, single);

  FdiSession session(dir / "out");
  ASSERT_TRUE(session.Copy(dir.path(), "cab1.cab"));
  ASSERT_TRUE(session.Copy(dir.path(), "other.cab"));
  EXPECT_TRUE(SameData(ReadFile(dir / "out/other.txt"), other[0].data));
  ASSERT_TRUE(session.Copy(dir.path(), "cab3.cab"));
  EXPECT_TRUE(SameData(ReadFile(dir / "out/tail1.txt"), entries[2].data));
}

}  // namespace
}  // namespace cabtest
