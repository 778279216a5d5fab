// The cabinet reader over the host's cabinet library, with cabinets made by the packer's writer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "cab/cab_intf.h"
#include "cab/cab_st_comps.h"
#include "pack/cabinet_writer.h"
#include "platform/file_system.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/os_error.h"
#include "support/sandbox.h"

namespace {

using pack::CabinetEntry;

CabinetEntry Entry(const std::string& name, const std::string& data) {
  CabinetEntry entry;
  entry.name = name;
  entry.data = data;
  entry.dosDate = ((2021 - 1980) << 9) | (3 << 5) | 14;  // 2021-03-14
  entry.dosTime = (15 << 11) | (9 << 5) | (26 / 2);       // 15:09:26
  return entry;
}

std::string Text(size_t size, int seed) {
  std::string text;
  unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    text += static_cast<char>('a' + (state >> 16) % 7 + (i % 61 == 0 ? 10 : 0));
  }
  return text;
}

class CabReaderTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    setenv("TZ", "UTC", 1);
    tzset();
  }

  void WriteCabinet(const std::string& path, const std::vector<CabinetEntry>& entries) {
    std::vector<std::string> cabinets = pack::WriteCabinets(entries, {});
    ASSERT_EQ(cabinets.size(), 1u);
    WriteFile(path, cabinets[0]);
  }

  // The last-write time of an extracted file, and the one every Entry carries.
  time_t ModifiedAt(const std::string& path) const {
    struct stat info;
    return stat(Host(path).c_str(), &info) == 0 ? info.st_mtime : 0;
  }
  static time_t EntryTime() {
    tm expected = {};
    expected.tm_year = 121, expected.tm_mon = 2, expected.tm_mday = 14;
    expected.tm_hour = 15, expected.tm_min = 9, expected.tm_sec = 26;
    return timegm(&expected);
  }

  int ExtractError(TSTCabReader& reader, const std::string& cabinet, std::string* message = nullptr,
                   int32_t* osError = nullptr) {
    try {
      reader.Extract(cabinet, "C:\\dest");
    } catch (const ESTCabinet& error) {
      if (message) *message = error.what();
      if (osError) *osError = error.OsError;
      return error.ErrorCode;
    }
    return -1;
  }
};

TEST_F(CabReaderTest, ExtractsIntoSubfoldersWithDatesAndPlainAttributes) {
  CabinetEntry hidden = Entry("a\\b\\c.txt", "deep");
  hidden.attributes = 0x27 | 0x40;  // read-only, hidden, system, archive, and a bit that is dropped
  WriteCabinet("C:\\in\\x.cab", {Entry("top.txt", Text(70000, 1)), hidden});
  TSTCabReader reader;
  reader.Extract("C:\\in\\x.cab", "C:\\dest");
  EXPECT_EQ(ReadFile("C:\\dest\\top.txt"), Text(70000, 1));
  EXPECT_EQ(ReadFile("C:\\dest\\a\\b\\c.txt"), "deep");
  EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\a\\b\\c.txt"), 0x27u);
  EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\top.txt"), platform::kAttrArchive);
  EXPECT_EQ(ModifiedAt("C:\\dest\\top.txt"), EntryTime());
}

TEST_F(CabReaderTest, ReadOnlyTargetsAreReplacedUnlessTheOptionKeepsThem) {
  WriteCabinet("C:\\in\\x.cab", {Entry("locked.txt", "new"), Entry("free.txt", "fresh")});
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    WriteFile("C:\\dest\\locked.txt", "old content that is longer");
    ASSERT_TRUE(platform::FileAttributesSet("C:\\dest\\locked.txt",
                                            platform::kAttrReadOnly | platform::kAttrHidden));
    platform::FileDelete("C:\\dest\\free.txt");
    TSTCabReader reader;
    if (keep) reader.Options = croDontOverwriteReadOnlyFiles;
    reader.Extract("C:\\in\\x.cab", "C:\\dest");
    EXPECT_EQ(ReadFile("C:\\dest\\free.txt"), "fresh");
    if (keep) {
      EXPECT_EQ(ReadFile("C:\\dest\\locked.txt"), "old content that is longer");
      EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\locked.txt"),
                platform::kAttrReadOnly | platform::kAttrHidden);
    } else {
      // The reader opens the existing file at its start; the driver deletes targets first.
      EXPECT_EQ(ReadFile("C:\\dest\\locked.txt").substr(0, 3), "new");
      EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\locked.txt"), platform::kAttrArchive);
      platform::FileAttributesSet("C:\\dest\\locked.txt", 0);
      platform::FileDelete("C:\\dest\\locked.txt");
    }
  }
}

// Each extracted file is opened once, by the write that fills it; its date goes on through that
// handle, and only attributes a new file does not already have cost a call.
TEST_F(CabReaderTest, EachFileIsOpenedOnceAndOnlyDifferingAttributesAreSet) {
  CabinetEntry hidden = Entry("hidden.txt", "h");
  hidden.attributes = platform::kAttrHidden | platform::kAttrArchive;
  CabinetEntry plain = Entry("plain.txt", "p");
  plain.attributes = 0;
  WriteCabinet("C:\\in\\x.cab", {Entry("a.txt", Text(5000, 2)), hidden, plain,
                                 Entry("sub\\b.txt", "b")});
  WriteFile("C:\\dest\\plain.txt", "an older and longer file");
  host::State().traceFileCalls = true;
  host::State().openedFiles.clear();
  host::State().attributeChanges.clear();
  TSTCabReader reader;
  reader.Extract("C:\\in\\x.cab", "C:\\dest");
  host::State().traceFileCalls = false;
  std::vector<std::string> destinations;
  for (const std::string& path : host::State().openedFiles)
    if (path.rfind("C:\\dest\\", 0) == 0) destinations.push_back(path);
  EXPECT_EQ(destinations, (std::vector<std::string>{"C:\\dest\\a.txt", "C:\\dest\\hidden.txt",
                                                     "C:\\dest\\plain.txt",
                                                     "C:\\dest\\sub\\b.txt"}));
  EXPECT_EQ(host::State().attributeChanges,
            (std::vector<std::string>{"C:\\dest\\hidden.txt", "C:\\dest\\plain.txt"}));
  EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\hidden.txt"),
            platform::kAttrHidden | platform::kAttrArchive);
  EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\a.txt"), platform::kAttrArchive);
  // The file that was there is cut to the new length and gets what the cabinet says.
  EXPECT_EQ(ReadFile("C:\\dest\\plain.txt"), "p");
  EXPECT_EQ(platform::FileAttributesGet("C:\\dest\\plain.txt"), platform::kAttrNormal);
  EXPECT_EQ(ModifiedAt("C:\\dest\\sub\\b.txt"), EntryTime());
}

TEST_F(CabReaderTest, CopyFileHandlerCanSkipOrRedirect) {
  WriteCabinet("C:\\in\\x.cab", {Entry("skip.txt", "s"), Entry("move.txt", "m"), Entry("keep.txt", "k")});
  TSTCabReader reader;
  std::vector<std::string> closed;
  reader.OnCopyFile = [](TSTCabReader&, const std::string& name, int32_t size, uint16_t, uint16_t,
                         uint16_t, uint16_t, std::string& destination, bool&) {
    EXPECT_EQ(size, 1);
    if (name == "skip.txt") destination.clear();
    if (name == "move.txt") destination = "C:\\elsewhere\\moved.txt";
  };
  reader.OnCloseFile = [&](TSTCabReader&, const std::string& name, uint16_t, uint16_t, uint16_t,
                           uint16_t, bool&, const std::string& destination, bool&) {
    closed.push_back(name + ">" + destination);
  };
  reader.Extract("C:\\in\\x.cab", "C:\\dest");
  EXPECT_FALSE(platform::FileExists("C:\\dest\\skip.txt"));
  EXPECT_EQ(ReadFile("C:\\elsewhere\\moved.txt"), "m");
  EXPECT_EQ(ReadFile("C:\\dest\\keep.txt"), "k");
  EXPECT_EQ(closed, (std::vector<std::string>{"move.txt>C:\\elsewhere\\moved.txt",
                                              "keep.txt>C:\\dest\\keep.txt"}));
}

TEST_F(CabReaderTest, RunAfterExtractionOpensTheFileOnlyWithTheOption) {
  CabinetEntry program = Entry("run.exe", "MZ");
  program.runAfterExtract = true;
  WriteCabinet("C:\\in\\x.cab", {program, Entry("plain.txt", "p")});
  for (bool option : {false, true}) {
    size_t before = host::StartedLog().size();
    TSTCabReader reader;
    bool reportedExec = false;
    reader.OnCloseFile = [&](TSTCabReader&, const std::string& name, uint16_t, uint16_t, uint16_t,
                             uint16_t, bool& exec, const std::string&, bool&) {
      if (name == "run.exe") reportedExec = exec;
      else EXPECT_FALSE(exec);
    };
    if (option) reader.Options = croExecuteOnExtract;
    reader.Extract("C:\\in\\x.cab", "C:\\dest");
    EXPECT_TRUE(reportedExec);
    size_t started = host::StartedLog().size() - before;
    if (option) {
      ASSERT_EQ(started, 1u);
      EXPECT_EQ(host::StartedLog().back(), "open C:\\dest\\run.exe");
    } else {
      EXPECT_EQ(started, 0u);
    }
  }
}

TEST_F(CabReaderTest, ACabinetSetIsFollowedToItsEnd) {
  std::vector<CabinetEntry> entries = {Entry("one.bin", Text(50000, 2)), Entry("two.bin", Text(90000, 3)),
                                       Entry("three.txt", "small"), Entry("four.bin", Text(40000, 4))};
  pack::CabinetOptions options;
  options.compression = pack::Compression::Stored;
  options.maxCabinetSize = 30000;
  options.cabinetName = [](size_t i) { return "part" + std::to_string(i + 1) + ".cab"; };
  std::vector<std::string> cabinets = pack::WriteCabinets(entries, options);
  ASSERT_GE(cabinets.size(), 3u);
  for (size_t i = 0; i < cabinets.size(); ++i)
    WriteFile("C:\\set\\part" + std::to_string(i + 1) + ".cab", cabinets[i]);
  TSTCabReader reader;
  int partial = 0;
  reader.OnCopyPartialFile = [&](TSTCabReader&, const std::string&, const std::string&,
                                 const std::string&, const std::string&, bool&) { ++partial; };
  reader.Extract("C:\\set\\part1.cab", "C:\\dest");
  for (const CabinetEntry& entry : entries) EXPECT_EQ(ReadFile("C:\\dest\\" + entry.name), entry.data) << entry.name;
  EXPECT_GE(partial, 1);

  // Only the first cabinet: files that end in it are there, nothing from later ones.
  platform::FileDelete("C:\\dest\\four.bin");
  reader.Extract("C:\\set\\part1.cab", "C:\\dest", OnlyFirstCabinet);
  EXPECT_FALSE(platform::FileExists("C:\\dest\\four.bin"));
}

// A stored cabinet whose header names a next cabinet; the packer never writes such a thing.
std::string CabinetNamingNext(const std::string& next, const std::string& name, const std::string& data) {
  auto u16 = [](uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  auto u32 = [&](uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
  std::string names = next + '\0' + "disk" + '\0';
  uint32_t filesOffset = 36 + static_cast<uint32_t>(names.size()) + 8;
  std::string file = u32(static_cast<uint32_t>(data.size())) + u32(0) + u16(0) + u16(0x5221) + u16(0) +
                     u16(0x20) + name + '\0';
  uint32_t dataOffset = filesOffset + static_cast<uint32_t>(file.size());
  std::string block = u32(0) + u16(static_cast<uint16_t>(data.size())) + u16(static_cast<uint16_t>(data.size())) + data;
  uint32_t total = dataOffset + static_cast<uint32_t>(block.size());
  std::string header = "MSCF" + u32(0) + u32(total) + u32(0) + u32(filesOffset) + u32(0) +
                       std::string{3, 1} + u16(1) + u16(1) + u16(0x0002) + u16(7) + u16(0);
  return header + names + u32(dataOffset) + u16(1) + u16(0) + file + block;
}

TEST_F(CabReaderTest, ACabinetNamingItselfAsNextIsReadOnce) {
  WriteFile("C:\\in\\self.cab", CabinetNamingNext("SELF.CAB", "f.txt", "hello"));
  TSTCabReader reader;
  int cabinets = 0;
  reader.OnCabinetInfo = [&](TSTCabReader&, const std::string& next, const std::string&,
                             const std::string&, uint16_t, uint16_t, bool&) {
    EXPECT_EQ(next, "SELF.CAB");
    ++cabinets;
  };
  reader.Extract("C:\\in\\self.cab", "C:\\dest");
  EXPECT_EQ(cabinets, 1);
  EXPECT_EQ(ReadFile("C:\\dest\\f.txt"), "hello");
}

TEST_F(CabReaderTest, AMissingNextCabinetEndsQuietly) {
  WriteFile("C:\\in\\first.cab", CabinetNamingNext("second.cab", "f.txt", "hello"));
  TSTCabReader reader;
  reader.Extract("C:\\in\\first.cab", "C:\\dest");
  EXPECT_EQ(ReadFile("C:\\dest\\f.txt"), "hello");
}

// Cabinets that name each other in a circle: each cabinet is read once, then the set counts as
// damaged instead of being extracted for ever.
TEST_F(CabReaderTest, ACabinetSetThatLoopsIsADamagedCabinet) {
  struct Loop {
    const char* name;
    std::vector<std::pair<std::string, std::string>> cabinets;  // file name, next cabinet
  };
  const Loop loops[] = {
      {"two naming each other", {{"a.cab", "B.CAB"}, {"b.cab", "a.cab"}}},
      {"three in a circle", {{"a.cab", "b.cab"}, {"b.cab", "c.cab"}, {"c.cab", "a.cab"}}},
      {"back to the second", {{"a.cab", "b.cab"}, {"b.cab", "c.cab"}, {"c.cab", "b.cab"}}},
  };
  for (const Loop& loop : loops) {
    SCOPED_TRACE(loop.name);
    for (size_t i = 0; i < loop.cabinets.size(); ++i)
      WriteFile("C:\\loop\\" + loop.cabinets[i].first,
                CabinetNamingNext(loop.cabinets[i].second, "f" + std::to_string(i) + ".txt", "data"));
    TSTCabReader reader;
    int opened = 0;
    reader.OnCabinetInfo = [&](TSTCabReader&, const std::string&, const std::string&,
                               const std::string&, uint16_t, uint16_t, bool& abort) {
      // A reader that does not stop would run on here; end it so the test cannot hang.
      if (++opened > 10) abort = true;
    };
    std::string message;
    EXPECT_EQ(ExtractError(reader, "C:\\loop\\a.cab", &message), 4);
    EXPECT_EQ(message, "Cabinet file is corrupt [0x0004]");
    EXPECT_EQ(opened, static_cast<int>(loop.cabinets.size()));
    platform::FileDelete("C:\\loop\\c.cab");
  }
}

// The files a failed extraction was still writing, so that its caller can remove them; a file
// that stood there before is the caller's to judge and is not listed.
TEST_F(CabReaderTest, AFailedExtractionNamesTheFilesItCreatedAndLeftUnfinished) {
  WriteCabinet("C:\\in\\good.cab", {Entry("done.txt", "complete"), Entry("big.bin", Text(200000, 7))});
  std::string damaged = ReadFile("C:\\in\\good.cab");
  damaged[damaged.size() - 100] ^= 0x55;
  WriteFile("C:\\in\\damaged.cab", damaged);

  TSTCabReader reader;
  EXPECT_EQ(ExtractError(reader, "C:\\in\\damaged.cab"), 4);
  EXPECT_EQ(reader.UnfinishedCreatedFiles(), std::vector<std::string>{"C:\\dest\\big.bin"});

  // Written over an existing file: not listed.
  platform::FileDelete("C:\\dest\\big.bin");
  WriteFile("C:\\dest\\big.bin", "earlier");
  EXPECT_EQ(ExtractError(reader, "C:\\in\\damaged.cab"), 4);
  EXPECT_TRUE(reader.UnfinishedCreatedFiles().empty());

  // A good extraction leaves nothing listed, also after a failed one.
  reader.Extract("C:\\in\\good.cab", "C:\\dest");
  EXPECT_TRUE(reader.UnfinishedCreatedFiles().empty());
}

TEST_F(CabReaderTest, FailuresRaiseTheirCodeAndText) {
  WriteCabinet("C:\\in\\good.cab", {Entry("f.txt", Text(5000, 5)), Entry("g.txt", "g")});
  std::string good = ReadFile("C:\\in\\good.cab");
  std::string flipped = good;
  flipped[flipped.size() - 100] ^= 0x55;
  WriteFile("C:\\in\\flipped.cab", flipped);
  WriteFile("C:\\in\\text.cab", "this is not a cabinet at all, just some text");

  TSTCabReader reader;
  std::string message;
  int32_t osError = 0;
  EXPECT_EQ(ExtractError(reader, "C:\\in\\missing.cab", &message, &osError), 1);
  EXPECT_EQ(message.rfind("Cabinet not found [0x0001]", 0), 0u) << message;
  // The error of an earlier extraction does not leak into a later one.
  EXPECT_EQ(ExtractError(reader, "C:\\in\\text.cab", &message), 2);
  EXPECT_EQ(message, "Cabinet file does not have the correct format [0x0002]");
  EXPECT_EQ(ExtractError(reader, "C:\\in\\flipped.cab", &message), 4);
  EXPECT_EQ(message, "Cabinet file is corrupt [0x0004]");

  TSTCabReader aborting;
  aborting.OnCopyFile = [](TSTCabReader&, const std::string&, int32_t, uint16_t, uint16_t, uint16_t,
                           uint16_t, std::string&, bool& abort) { abort = true; };
  EXPECT_EQ(ExtractError(aborting, "C:\\in\\good.cab", &message), 11);
  EXPECT_EQ(message, "FDI aborted [0x000B]");

  // A destination that cannot be opened (a folder stands there) carries the system's error.
  platform::FileDelete("C:\\dest\\f.txt");
  ASSERT_TRUE(platform::FolderCreate("C:\\dest\\f.txt"));
  EXPECT_EQ(ExtractError(reader, "C:\\in\\good.cab", &message, &osError), 11);
  EXPECT_EQ(osError, 5);
  EXPECT_EQ(message, "FDI aborted [0x000B].\r\n" + platform::SystemErrorText(5) + " [0x0005].");
}

TEST_F(CabReaderTest, NamesThatLeaveTheDestinationAreRefusedAsCorrupt) {
  for (const char* name : {"..\\evil.txt", "a\\..\\..\\evil.txt", "\\evil.txt", "C:\\evil.txt", "C:evil.txt"}) {
    SCOPED_TRACE(name);
    WriteCabinet("C:\\in\\bad.cab", {Entry("fine.txt", "f"), Entry(name, "x")});
    TSTCabReader reader;
    std::string message;
    EXPECT_EQ(ExtractError(reader, "C:\\in\\bad.cab", &message), 4);
    EXPECT_EQ(message, "Cabinet file is corrupt [0x0004]");
    EXPECT_FALSE(platform::FileExists("C:\\evil.txt"));
    EXPECT_FALSE(platform::FileExists("C:\\dest\\evil.txt"));
  }
}

TEST_F(CabReaderTest, AMissingLibraryRaisesTheSystemErrorAndIsRetriedLater) {
  FreeCabinetLibrary();
  host::SetLibraryAvailable("cabinet.dll", false);
  TSTCabReader reader;
  WriteCabinet("C:\\in\\x.cab", {Entry("f.txt", "f")});
  try {
    reader.Extract("C:\\in\\x.cab", "C:\\dest");
    host::SetLibraryAvailable("cabinet.dll", true);
    FAIL() << "no error raised";
  } catch (const platform::EOSError& error) {
    EXPECT_EQ(error.what(), "System Error.  Code: 126.\r\n" + platform::SystemErrorText(126));
  }
  host::SetLibraryAvailable("cabinet.dll", true);
  reader.Extract("C:\\in\\x.cab", "C:\\dest");
  EXPECT_EQ(ReadFile("C:\\dest\\f.txt"), "f");
}

}  // namespace
