#include "pack/cab_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pack/cabinet_peek.h"
#include "pack/pack_error.h"
#include "pack/pack_test_folder.h"

namespace pack {
namespace {

namespace fs = std::filesystem;
using pack_test::PeekCabinet;
using pack_test::PeekedCabinet;
using pack_test::ReadBytes;
using pack_test::TestFolder;
using pack_test::WriteBytes;

TEST(CabinetSetPathTest, NumberGoesBeforeTheExtension) {
  EXPECT_EQ(CabinetSetPath("out/test.cab", 0), fs::path("out/test.cab"));
  EXPECT_EQ(CabinetSetPath("out/test.cab", 1), fs::path("out/test2.cab"));
  EXPECT_EQ(CabinetSetPath("out/test.cab", 9), fs::path("out/test10.cab"));
  EXPECT_EQ(CabinetSetPath("set", 2), fs::path("set3"));
}

TEST(WriteCabinetFilesTest, OneCabinetWithNamesAsAsked) {
  TestFolder folder;
  WriteBytes(folder.path / "a.txt", "alpha");
  WriteBytes(folder.path / "b.bin", std::string(5000, 'b'));
  CabOptions options;
  options.output = folder.path / "one.cab";
  options.stored = true;
  options.setId = 4242;
  options.inputs = {{folder.path / "a.txt", ""}, {folder.path / "b.bin", "sub\\renamed.bin"}};
  const std::vector<fs::path> written = WriteCabinetFiles(options);
  ASSERT_EQ(written, std::vector<fs::path>{options.output});
  const PeekedCabinet cab = PeekCabinet(ReadBytes(options.output));
  EXPECT_EQ(cab.compression, 0) << "stored";
  EXPECT_EQ(cab.setId, 4242);
  ASSERT_EQ(cab.files.size(), 2u);
  EXPECT_EQ(cab.files[0].name, "a.txt");
  EXPECT_EQ(cab.files[0].size, 5u);
  EXPECT_EQ(cab.files[1].name, "sub\\renamed.bin");
  EXPECT_EQ(cab.files[1].size, 5000u);
}

TEST(WriteCabinetFilesTest, SplitSetLinksItsCabinetsByFileName) {
  TestFolder folder;
  std::string noise;
  for (uint32_t x = 1; noise.size() < 150000;) {
    x = x * 1103515245 + 12345;
    noise += static_cast<char>(x >> 24);
  }
  WriteBytes(folder.path / "big.dat", noise);
  CabOptions options;
  options.output = folder.path / "disk.cab";
  options.splitSize = 60000;
  options.inputs = {{folder.path / "big.dat", ""}};
  const std::vector<fs::path> written = WriteCabinetFiles(options);
  ASSERT_GE(written.size(), 3u);
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(written[i], CabinetSetPath(options.output, i));
    const std::string bytes = ReadBytes(written[i]);
    EXPECT_LE(bytes.size(), 60000u);
    const PeekedCabinet cab = PeekCabinet(bytes);
    EXPECT_EQ(cab.index, i);
    EXPECT_EQ(cab.previousCabinet,
              i == 0 ? "" : CabinetSetPath(options.output, i - 1).filename().string());
    EXPECT_EQ(cab.nextCabinet, i + 1 == written.size()
                                   ? ""
                                   : CabinetSetPath(options.output, i + 1).filename().string());
  }
}

TEST(WriteCabinetFilesTest, MissingInputWritesNothing) {
  TestFolder folder;
  WriteBytes(folder.path / "a.txt", "alpha");
  CabOptions options;
  options.output = folder.path / "x.cab";
  options.inputs = {{folder.path / "a.txt", ""}, {folder.path / "gone.txt", ""}};
  EXPECT_THROW(WriteCabinetFiles(options), PackError);
  EXPECT_FALSE(fs::exists(options.output));
}

}  // namespace
}  // namespace pack
