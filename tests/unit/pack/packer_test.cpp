#include "pack/packer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pack/cabinet_peek.h"
#include "pack/cabinet_writer.h"
#include "pack/pack_error.h"
#include "pack/pack_test_folder.h"
#include "pack/payload.h"

namespace pack {
namespace {

namespace fs = std::filesystem;
using pack_test::PeekCabinet;
using pack_test::PeekedCabinet;
using pack_test::ReadBytes;
using pack_test::TestFolder;
using pack_test::WriteBytes;

const std::string kScript =
    "; demo\r\n"
    "[Setup]\r\n"
    "AppName=Demo\r\n"
    "FilesCount=0\r\n"
    "\r\n"
    "[Files]\r\n"
    "0=<InstallDir>\\demo.exe?bin\\demo.exe?Overwrite?Yes\r\n"
    "1=<InstallDir>\\docs\\guide.txt?docs/guide.txt?Skip?Yes\r\n"
    "2=<InstallDir>\\empty.dat?empty.dat?Overwrite?No\r\n";

// 2021-03-04 05:06:08 local time as a DOS date and time.
constexpr uint16_t kDosDate = ((2021 - 1980) << 9) | (3 << 5) | 4;
constexpr uint16_t kDosTime = (5 << 11) | (6 << 5) | (8 / 2);

void SetModificationTime(const fs::path& path) {
  std::tm local{};
  local.tm_year = 2021 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 4;
  local.tm_hour = 5;
  local.tm_min = 6;
  local.tm_sec = 8;
  local.tm_isdst = -1;
  const auto system = std::chrono::system_clock::from_time_t(std::mktime(&local));
  fs::last_write_time(path, std::chrono::file_clock::from_sys(system));
}

// Members are public: the failure table's lambdas break the product through them.
class PackerTest : public testing::Test {
 public:
  void SetUp() override {
    product_ = folder_.path / "product";
    Put("setup.ini", kScript);
    Put("English.lng", "[Title]\r\n0=Demo Setup\r\n");
    Put("German.lng", "[Title]\r\n0=Demo Installation\r\n");
    Put("vqwizard.bmp", "BM wizard picture");
    Put("vqheader.bmp", "BM header picture");
    Put("LEnglish.rtf", "{\\rtf1 licence}");
    Put("R(Default).rtf", "{\\rtf1 readme}");
    Put("notes.txt", "not for the setup cabinet");
    Put("bin/demo.exe", std::string(70000, 'x') + "tail");
    Put("docs/guide.txt", "Guide\r\n");
    Put("empty.dat", "");
    stub_ = folder_.path / "stub";
    WriteBytes(stub_, "MZ this is the stub");
    fs::permissions(stub_, fs::perms::owner_all);
    output_ = folder_.path / "out" / "setup.exe";
    fs::create_directories(output_.parent_path());
  }

  void Put(const std::string& relative, const std::string& bytes) {
    WriteBytes(product_ / relative, bytes);
    SetModificationTime(product_ / relative);
  }

  PackOptions Options(bool pad = false) const { return {stub_, output_, product_, pad}; }

  // The file names in the output folder, to prove that nothing else was left there.
  std::vector<std::string> OutputFolderListing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(output_.parent_path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  TestFolder folder_;
  fs::path product_;
  fs::path stub_;
  fs::path output_;
};

std::string Cabinet(const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<CabinetEntry> entries;
  for (const auto& [name, data] : files) {
    CabinetEntry entry;
    entry.name = name;
    entry.data = data;
    entry.dosDate = kDosDate;
    entry.dosTime = kDosTime;
    entries.push_back(entry);
  }
  return WriteCabinets(entries, CabinetOptions{}).front();
}

TEST_F(PackerTest, WritesTheDocumentedLayout) {
  for (bool pad : {false, true}) {
    SCOPED_TRACE(pad ? "padded" : "unpadded");
    const PackResult result = PackProduct(Options(pad));
    const std::string file = ReadBytes(output_);
    const std::string stub = ReadBytes(stub_);
    const uint64_t p = pad ? kDefaultPayloadOffset : stub.size();

    ASSERT_EQ(file.size(), result.layout.totalSize);
    EXPECT_EQ(file.substr(0, stub.size()), stub);
    EXPECT_EQ(file.substr(stub.size(), p - stub.size()), std::string(p - stub.size(), '\0'));
    EXPECT_EQ(file.substr(file.size() - 10), DecimalField(p));
    const uint64_t setupSize = std::stoull(file.substr(p, 10));
    EXPECT_EQ(file.substr(p, 10), DecimalField(setupSize));

    // Each per-file cabinet holds exactly its file, under the destination's last component,
    // with the source's time and the archive attribute.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"demo.exe", ReadBytes(product_ / "bin/demo.exe")},
        {"guide.txt", "Guide\r\n"},
        {"empty.dat", ""}};
    uint64_t offset = p + 10 + setupSize;
    std::vector<uint64_t> sizes;
    for (const auto& [name, data] : expected) {
      const PeekedCabinet cab = PeekCabinet(file.substr(offset));
      ASSERT_EQ(cab.files.size(), 1u) << name;
      EXPECT_EQ(cab.files[0].name, name);
      EXPECT_EQ(cab.files[0].size, data.size());
      EXPECT_EQ(cab.files[0].dosDate, kDosDate);
      EXPECT_EQ(cab.files[0].dosTime, kDosTime);
      EXPECT_EQ(cab.files[0].attributes, 0x20);
      EXPECT_EQ(cab.compression, 1) << "MSZIP";
      EXPECT_EQ(file.substr(offset, cab.cabinetSize), Cabinet({{name, data}}));
      sizes.push_back(cab.cabinetSize);
      offset += cab.cabinetSize;
    }
    EXPECT_EQ(offset, file.size() - 10) << "the cabinets end at the trailer";
    EXPECT_EQ(result.layout.fileCabinetSizes, sizes);

    // The setup cabinet: the rewritten script first, languages, pictures, then RTF texts.
    const std::string script =
        "; demo\r\n[Setup]\r\nAppName=Demo\r\nFilesCount=3\r\n\r\n[Files]\r\n"
        "0=<InstallDir>\\demo.exe?" +
        std::to_string(sizes[0]) +
        "?Overwrite?Yes\r\n"
        "1=<InstallDir>\\docs\\guide.txt?" +
        std::to_string(sizes[1]) +
        "?Skip?Yes\r\n"
        "2=<InstallDir>\\empty.dat?" +
        std::to_string(sizes[2]) + "?Overwrite?No\r\n";
    const std::string setupCabinet = Cabinet({{"setup.ini", script},
                                              {"English.lng", "[Title]\r\n0=Demo Setup\r\n"},
                                              {"German.lng", "[Title]\r\n0=Demo Installation\r\n"},
                                              {"vqwizard.bmp", "BM wizard picture"},
                                              {"vqheader.bmp", "BM header picture"},
                                              {"LEnglish.rtf", "{\\rtf1 licence}"},
                                              {"R(Default).rtf", "{\\rtf1 readme}"}});
    EXPECT_EQ(file.substr(p + 10, setupSize), setupCabinet);
    EXPECT_EQ(result.setupCabinetNames,
              (std::vector<std::string>{"setup.ini", "English.lng", "German.lng", "vqwizard.bmp",
                                        "vqheader.bmp", "LEnglish.rtf", "R(Default).rtf"}));
    EXPECT_EQ(OutputFolderListing(), std::vector<std::string>{"setup.exe"});
  }
}

TEST_F(PackerTest, OutputIsExecutableWhenTheStubIs) {
  PackProduct(Options());
  EXPECT_NE(fs::status(output_).permissions() & fs::perms::owner_exec, fs::perms::none);
  fs::permissions(stub_, fs::perms::owner_read | fs::perms::owner_write);
  PackProduct(Options());
  EXPECT_EQ(fs::status(output_).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(PackerTest, FindsWellKnownNamesWithoutRegardToCase) {
  fs::rename(product_ / "setup.ini", product_ / "SETUP.INI");
  fs::rename(product_ / "vqwizard.bmp", product_ / "VQWizard.BMP");
  const PackResult result = PackProduct(Options());
  EXPECT_EQ(result.setupCabinetNames[0], "setup.ini");
  EXPECT_EQ(result.setupCabinetNames[3], "vqwizard.bmp");
}

TEST_F(PackerTest, WarnsAboutFilesEntriesTheSetupCannotRead) {
  Put("setup.ini", "[Files]\n0=<InstallDir>\\a.txt?docs/guide.txt?Overwrite\n");
  const PackResult result = PackProduct(Options());
  ASSERT_EQ(result.warnings.size(), 2u);  // and the stub is too short without --pad
  EXPECT_NE(result.warnings[1].find("line 2: [Files] entry \"0\" has 3 fields"), std::string::npos)
      << result.warnings[1];
}

struct FailureCase {
  const char* name;
  std::function<void(PackerTest&)> breakIt;
  bool pad;
  std::string expected;  // part of the message
};

class PackerFailureTest : public PackerTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(PackerFailureTest, ReportsAndLeavesNoOutput) {
  const FailureCase& c = GetParam();
  WriteBytes(output_, "previous setup file");
  c.breakIt(*this);
  try {
    PackProduct(Options(c.pad));
    FAIL() << "packed";
  } catch (const PackError& e) {
    EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadBytes(output_), "previous setup file");
  EXPECT_EQ(OutputFolderListing(), std::vector<std::string>{"setup.exe"});
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PackerFailureTest,
    testing::Values(
        FailureCase{"MissingScript", [](PackerTest& t) { fs::remove(t.product_ / "setup.ini"); },
                    false, "setup.ini: missing"},
        FailureCase{"MissingWizardPicture",
                    [](PackerTest& t) { fs::remove(t.product_ / "vqwizard.bmp"); }, false,
                    "vqwizard.bmp: missing"},
        FailureCase{"MissingHeaderPicture",
                    [](PackerTest& t) { fs::remove(t.product_ / "vqheader.bmp"); }, false,
                    "vqheader.bmp: missing"},
        FailureCase{"PictureNotBmp", [](PackerTest& t) { t.Put("vqheader.bmp", "GIF89a"); }, false,
                    "vqheader.bmp: not a BMP picture"},
        FailureCase{"NoLanguage",
                    [](PackerTest& t) {
                      fs::remove(t.product_ / "English.lng");
                      fs::remove(t.product_ / "German.lng");
                    },
                    false, "no language file"},
        FailureCase{"LanguagesDifferingInCase",
                    [](PackerTest& t) { t.Put("english.LNG", "[Title]\r\n"); }, false,
                    "differ only in letter case"},
        FailureCase{"EntryWithOneField",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Setup]\nA=1\n[Files]\n0=a?a.txt?x?y\n1=<InstallDir>\n");
                    },
                    false, "setup.ini line 5: [Files] entry \"1\" needs at least"},
        FailureCase{"MissingSource",
                    [](PackerTest& t) { fs::remove(t.product_ / "docs/guide.txt"); }, false,
                    "setup.ini line 8: source file \"docs/guide.txt\" of [Files] entry \"1\""},
        FailureCase{"SourceIsAFolder",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Files]\n0=<InstallDir>\\docs?docs?Overwrite?Yes\n");
                    },
                    false, "not a regular file"},
        FailureCase{"VariableInFileName",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Files]\n0=<InstallDir>\\<AppName>.exe?empty.dat?a?b\n");
                    },
                    false, "setup.ini line 2: the file name \"<AppName>.exe\""},
        FailureCase{"MissingStub", [](PackerTest& t) { fs::remove(t.stub_); }, false,
                    "stub: no such file"},
        FailureCase{"StubLongerThanPad",
                    [](PackerTest& t) { WriteBytes(t.stub_, std::string(250881, 'S')); }, true,
                    "longer than the default payload offset 250880"},
        FailureCase{"MissingProductFolder", [](PackerTest& t) { fs::remove_all(t.product_); },
                    false, "product folder does not exist"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(PackerTest, MissingOutputFolderIsReportedAndNothingCreated) {
  output_ = folder_.path / "no-such-folder" / "setup.exe";
  EXPECT_THROW(PackProduct(Options()), PackError);
  EXPECT_FALSE(fs::exists(output_.parent_path()));
}

}  // namespace
}  // namespace pack
