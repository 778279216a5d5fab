// Cabinets of an independent writer (gcab) read by the host FDI library, and the writer's
// cabinets read by gcab.
#include <gtest/gtest.h>

#include "cab_test_support.h"
#include "fdi_posix_session.h"
#include "pack/cabinet_writer.h"

namespace cabtest {
namespace {

struct Source {
  std::string name;  // with slashes, as given to gcab
  std::string data;
};

std::vector<Source> Sources() {
  return {{"readme.txt", RandomText(120001, 1)},
          {"sub/noise.bin", RandomBytes(100000, 2)},
          {"sub/deeper/exact.bin", RandomText(65536, 3)},
          {"empty.txt", ""}};
}

TEST(GcabCabinets, HostLibraryExtractsThem) {
  if (!HaveTool("gcab")) GTEST_SKIP() << "gcab is not installed";
  for (const char* flags : {"-c -z", "-c"}) {
    SCOPED_TRACE(flags);
    TempDir dir;
    std::string names;
    for (const Source& source : Sources()) {
      WriteFile(dir / "in/" + source.name, source.data);
      names += " " + source.name;
    }
    ASSERT_EQ(RunShell("cd " + dir.path() + "in && gcab " + flags + " ../g.cab" + names), 0);
    {
      FdiSession session(dir / "out");
      ASSERT_TRUE(session.Copy(dir.path(), "g.cab")) << session.erf.erfOper;
      for (const Source& source : Sources())
        EXPECT_TRUE(SameData(ReadFile(dir / "out/" + source.name), source.data)) << source.name;
      ASSERT_EQ(session.Of(fdintCOPY_FILE).size(), Sources().size());
      EXPECT_EQ(session.Of(fdintCOPY_FILE)[1].psz1, "sub\\noise.bin");
    }
    EXPECT_EQ(Allocations().live, 0);
  }
}

TEST(GcabCabinets, GcabExtractsTheWritersCabinets) {
  if (!HaveTool("gcab")) GTEST_SKIP() << "gcab is not installed";
  for (pack::Compression compression : {pack::Compression::Stored, pack::Compression::MsZip}) {
    TempDir dir;
    std::vector<pack::CabinetEntry> entries;
    for (const Source& source : Sources()) {
      std::string name = source.name;
      for (char& c : name)
        if (c == '/') c = '\\';
      entries.push_back({name, source.data});
    }
    pack::CabinetOptions options;
    options.compression = compression;
    WriteSet(dir.path(), entries, options);
    ASSERT_EQ(RunShell("cd " + dir.path() + " && gcab -x -C out cab1.cab"), 0);
    for (const Source& source : Sources())
      EXPECT_TRUE(SameData(ReadFile(dir / "out/" + source.name), source.data)) << source.name;
  }
}

}  // namespace
}  // namespace cabtest
