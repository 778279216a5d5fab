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
#include "pack/test_bitmap.h"

namespace pack {
namespace {

namespace fs = std::filesystem;
using pack_test::Bitmap;
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
    Put("vqwizard.bmp", wizard_);
    Put("vqheader.bmp", header_);
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

  PackOptions Options(Padding padding = Padding::Auto, bool strict = false) const {
    return {stub_, output_, product_, padding, strict};
  }

  // A stub longer than the default payload offset, without digits where the size field goes.
  void LongStub() {
    WriteBytes(stub_, "MZ" + std::string(260000, 'S'));
    fs::permissions(stub_, fs::perms::owner_all);
  }

  // The file names in the output folder, to prove that nothing else was left there.
  std::vector<std::string> OutputFolderListing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(output_.parent_path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  const std::string wizard_ = Bitmap(500, 314, 24, 'w');
  const std::string header_ = Bitmap(498, -55, 24, 'h');
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
  for (bool pad : {true, false}) {
    SCOPED_TRACE(pad ? "padded" : "unpadded");
    if (!pad) LongStub();  // an unpadded file on a short stub would be refused
    const PackResult result = PackProduct(Options(pad ? Padding::Always : Padding::Never));
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
        "; demo\r\n[Setup]\r\nAppName=Demo\r\nFilesCount=3\r\nFilesSize=70011\r\n\r\n[Files]\r\n"
        "0=<InstallDir>\\demo.exe?" +
        std::to_string(sizes[0]) +
        "?Overwrite?Yes\r\n"
        "1=<InstallDir>\\docs\\guide.txt?" +
        std::to_string(sizes[1]) +
        "?Skip?Yes\r\n"
        "2=<InstallDir>\\empty.dat?" +
        std::to_string(sizes[2]) + "?Overwrite?No\r\n";
    EXPECT_EQ(result.installedSize, 70004u + 7u + 0u);
    const std::string setupCabinet = Cabinet({{"setup.ini", script},
                                              {"English.lng", "[Title]\r\n0=Demo Setup\r\n"},
                                              {"German.lng", "[Title]\r\n0=Demo Installation\r\n"},
                                              {"vqwizard.bmp", wizard_},
                                              {"vqheader.bmp", header_},
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

struct FailureCase {
  const char* name;
  std::function<void(PackerTest&)> breakIt;
  Padding padding;
  std::string expected;  // part of the message
};

class PackerFailureTest : public PackerTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(PackerFailureTest, ReportsAndLeavesNoOutput) {
  const FailureCase& c = GetParam();
  WriteBytes(output_, "previous setup file");
  c.breakIt(*this);
  try {
    PackProduct(Options(c.padding));
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
                    Padding::Auto, "setup.ini: missing"},
        FailureCase{"MissingWizardPicture",
                    [](PackerTest& t) { fs::remove(t.product_ / "vqwizard.bmp"); }, Padding::Auto,
                    "vqwizard.bmp: missing"},
        FailureCase{"MissingHeaderPicture",
                    [](PackerTest& t) { fs::remove(t.product_ / "vqheader.bmp"); }, Padding::Auto,
                    "vqheader.bmp: missing"},
        FailureCase{"PictureNotBmp", [](PackerTest& t) { t.Put("vqheader.bmp", "GIF89a"); },
                    Padding::Auto, "vqheader.bmp: not a BMP picture"},
        FailureCase{"NoLanguage",
                    [](PackerTest& t) {
                      fs::remove(t.product_ / "English.lng");
                      fs::remove(t.product_ / "German.lng");
                    },
                    Padding::Auto, "no language file"},
        FailureCase{"LanguagesDifferingInCase",
                    [](PackerTest& t) { t.Put("english.LNG", "[Title]\r\n"); }, Padding::Auto,
                    "differ only in letter case"},
        FailureCase{"EntryWithOneField",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Setup]\nA=1\n[Files]\n0=a?a.txt?x?y\n1=<InstallDir>\n");
                    },
                    Padding::Auto, "setup.ini line 5: [Files] entry \"1\" needs at least"},
        FailureCase{"MissingSource",
                    [](PackerTest& t) { fs::remove(t.product_ / "docs/guide.txt"); }, Padding::Auto,
                    "setup.ini line 8: source file \"docs/guide.txt\" of [Files] entry \"1\""},
        FailureCase{"SourceIsAFolder",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Files]\n0=<InstallDir>\\docs?docs?Overwrite?Yes\n");
                    },
                    Padding::Auto, "not a regular file"},
        FailureCase{"VariableInFileName",
                    [](PackerTest& t) {
                      t.Put("setup.ini", "[Files]\n0=<InstallDir>\\<AppName>.exe?empty.dat?a?b\n");
                    },
                    Padding::Auto, "setup.ini line 2: the file name \"<AppName>.exe\""},
        FailureCase{"MissingStub", [](PackerTest& t) { fs::remove(t.stub_); }, Padding::Auto,
                    "stub: no such file"},
        FailureCase{"StubLongerThanPad",
                    [](PackerTest& t) { WriteBytes(t.stub_, std::string(250881, 'S')); },
                    Padding::Always, "longer than the default payload offset 250880"},
        FailureCase{"FilesEntryOfThreeFields",
                    [](PackerTest& t) {
                      t.Put("setup.ini",
                            "[Files]\n0=<InstallDir>\\a.txt?docs/guide.txt?Overwrite\n");
                    },
                    Padding::Auto,
                    "setup.ini line 2: [Files] entry \"0\" has 3 fields; the setup program needs "
                    "four"},
        FailureCase{"DamagedPicture",
                    [](PackerTest& t) { t.Put("vqwizard.bmp", Bitmap(500, 314).substr(0, 1000)); },
                    Padding::Auto, "vqwizard.bmp: a damaged BMP picture (the pixels end"},
        FailureCase{"UnpaddedAndTooShort", [](PackerTest&) {}, Padding::Never,
                    "setup.exe: the setup file would be only"},
        FailureCase{"DigitsWhereTheSizeFieldIsRead",
                    [](PackerTest& t) {
                      std::string stub = "MZ" + std::string(260000, 'S');
                      stub.replace(250880, 10, "0000001234");
                      WriteBytes(t.stub_, stub);
                    },
                    Padding::Auto, "setup.exe: the ten bytes at offset 250880 read as a number"},
        FailureCase{"MissingProductFolder", [](PackerTest& t) { fs::remove_all(t.product_); },
                    Padding::Auto, "product folder does not exist"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

// The fixture's script with `setupLines` after AppName (from line 4 on) and `appended` at the
// end (from line 10 on, or later by the number of setup lines).
std::string ScriptWith(const std::string& setupLines, const std::string& appended = "") {
  std::string script = kScript;
  script.insert(script.find("FilesCount"), setupLines);
  return script + appended;
}

TEST_F(PackerTest, PadsAShortStubByDefaultAndLeavesALongOneAsItIs) {
  PackResult result = PackProduct(Options());
  EXPECT_EQ(result.layout.payloadStart, kDefaultPayloadOffset);
  EXPECT_EQ(ReadBytes(output_).substr(result.layout.totalSize - 10), "0000250880");
  EXPECT_TRUE(result.warnings.empty()) << result.warnings.front();
  EXPECT_NE(Summary(output_, result).find("(padded)"), std::string::npos);

  LongStub();
  result = PackProduct(Options());
  EXPECT_EQ(result.layout.payloadStart, 260002u);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("setup.exe: not padded"), std::string::npos)
      << result.warnings[0];
}

TEST_F(PackerTest, TheExampleProductPacksWithoutWarnings) {
  product_ = fs::path(SETUP_SOURCE_DIR) / "examples";
  const PackResult result = PackProduct(Options(Padding::Auto, true));
  EXPECT_TRUE(result.warnings.empty());
  EXPECT_EQ(result.layout.fileCabinetSizes.size(), 4u);
  EXPECT_GT(result.installedSize, 0u);
}

TEST_F(PackerTest, SummaryNamesFilesSizesAndCompression) {
  const PackResult result = PackProduct(Options());
  const std::string summary = Summary(output_, result);
  EXPECT_EQ(summary.rfind(output_.string() + ": 3 files, 70011 bytes packed into " +
                              std::to_string(result.packedSize) + " (",
                          0),
            0u)
      << summary;
  EXPECT_NE(summary.find("MSZIP; setup cabinet " + std::to_string(result.layout.setupCabinetSize) +
                         " bytes; " + std::to_string(result.layout.totalSize) +
                         " bytes in all, payload at 250880 (padded)"),
            std::string::npos)
      << summary;
}

struct WarningCase {
  const char* name;
  std::function<void(PackerTest&)> change;
  std::string expected;  // part of the one warning; empty: no warning at all
};

class PackerWarningTest : public PackerTest, public testing::WithParamInterface<WarningCase> {};

TEST_P(PackerWarningTest, WarnsWithFileAndLine) {
  const WarningCase& c = GetParam();
  c.change(*this);
  const PackResult result = PackProduct(Options());
  if (c.expected.empty()) {
    EXPECT_TRUE(result.warnings.empty()) << result.warnings.front();
    return;
  }
  ASSERT_EQ(result.warnings.size(), 1u) << (result.warnings.empty() ? "" : result.warnings[1]);
  EXPECT_NE(result.warnings[0].find(c.expected), std::string::npos) << result.warnings[0];
  const std::string prefix =
      (c.expected.rfind("setup.exe", 0) == 0 ? output_.parent_path() : product_).string();
  EXPECT_EQ(result.warnings[0].rfind(prefix, 0), 0u) << "names the file: " << result.warnings[0];
}

// --strict: the same product is refused, and the old output stays.
TEST_P(PackerWarningTest, StrictRefuses) {
  const WarningCase& c = GetParam();
  if (c.expected.empty()) return;
  c.change(*this);
  WriteBytes(output_, "previous setup file");
  try {
    PackProduct(Options(Padding::Auto, true));
    FAIL() << "packed";
  } catch (const WarningsAsErrors& e) {
    ASSERT_EQ(e.Warnings().size(), 1u);
    EXPECT_NE(e.Warnings()[0].find(c.expected), std::string::npos) << e.Warnings()[0];
  }
  EXPECT_EQ(ReadBytes(output_), "previous setup file");
  EXPECT_EQ(OutputFolderListing(), std::vector<std::string>{"setup.exe"});
}

auto Script(const std::string& setupLines, const std::string& appended = "") {
  return [=](PackerTest& t) { t.Put("setup.ini", ScriptWith(setupLines, appended)); };
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, PackerWarningTest,
    testing::Values(
        WarningCase{"Clean", [](PackerTest&) {}, ""},
        WarningCase{"KeyNearMiss", Script("DialogWelcom=1\r\n"),
                    "setup.ini line 4: unknown [Setup] key DialogWelcom: did you mean "
                    "DialogWelcome?"},
        WarningCase{
            "KeySwappedLetters", Script("DialogRaedme=1\r\n"),
            "setup.ini line 4: unknown [Setup] key DialogRaedme: did you mean DialogReadme?"},
        WarningCase{"KeyFarFromAny", Script("Colour=red\r\n"),
                    "setup.ini line 4: unknown [Setup] key Colour: the setup program does not "
                    "read it"},
        WarningCase{"KeyInOtherCase", Script("dialogwelcome=1\r\n; DialogWelcom=1\r\n"), ""},
        WarningCase{"RepeatedKey", Script("AppName=Other\r\n"),
                    "setup.ini line 4: [Setup] key AppName repeats line 3"},
        WarningCase{"SectionNearMiss", Script("", "[Shortcut]\r\n0=a\r\n"),
                    "setup.ini line 10: unknown section [Shortcut]: did you mean [Shortcuts]?"},
        WarningCase{"SectionFarFromAny", Script("", "[Colours]\r\n"),
                    "setup.ini line 10: unknown section [Colours]: the setup program does not "
                    "read it"},
        WarningCase{"SectionInOtherCase", Script("", "[shortcuts]\r\n[INI]\r\n"), ""},
        WarningCase{"SecondListSection", Script("", "[INI]\r\n[ini]\r\n"),
                    "setup.ini line 11: a second [ini] section (the first is at line 10)"},
        WarningCase{"ShortcutFields", Script("", "[Shortcuts]\r\n0=a*?b*?c\r\n"),
                    "setup.ini line 11: [Shortcuts] entry \"0\" has 3 fields where the setup "
                    "program expects 8 (link*?"},
        WarningCase{"ShortcutEmptyLastField",
                    Script("", "[Shortcuts]\r\nx=a*?b*?c*?d*?e*?f*?g*?\r\n"),
                    "setup.ini line 11: [Shortcuts] entry \"x\" has 7 fields"},
        WarningCase{"RegistryFields", Script("", "[Registry]\r\n0=a*?b*?c*?d*?e*?f\r\n"),
                    "setup.ini line 11: [Registry] entry \"0\" has 6 fields where the setup "
                    "program expects 7"},
        WarningCase{"IniFields", Script("", "[INI]\r\n0=a*?b*?c*?d*?e*?f*?g\r\n"),
                    "setup.ini line 11: [INI] entry \"0\" has 7 fields where the setup program "
                    "expects 6"},
        WarningCase{"ExtensionFields", Script("", "[Extensions]\r\n0=a*?b*?c\r\n"),
                    "setup.ini line 11: [Extensions] entry \"0\" has 3 fields where the setup "
                    "program expects 4 or 5"},
        WarningCase{"ExtensionWithoutIconIndex", Script("", "[Extensions]\r\n0=a*?b*?c*?*?\r\n"),
                    ""},
        WarningCase{"OthersFields", Script("", "[Others]\r\n0=Font*?a.ttf\r\n"),
                    "setup.ini line 11: [Others] entry \"0\" has 2 fields where the setup "
                    "program expects 3"},
        WarningCase{"CommandFields",
                    Script("", "[Commands]\r\n0=a*?b*?Normal*?After Installation\r\n"),
                    "setup.ini line 11: [Commands] entry \"0\" has 4 fields where the setup "
                    "program expects 5"},
        WarningCase{"VariableFields", Script("", "[Variables]\r\n0=<V>*?HKEY_CURRENT_USER*?k\r\n"),
                    "setup.ini line 11: [Variables] entry \"0\" has 3 fields where the setup "
                    "program expects 5 or 6"},
        WarningCase{"VariableWithoutDefault",
                    Script("", "[Variables]\r\n0=<V>*?HKEY_CURRENT_USER*?k*?v*?STRING\r\n"), ""},
        WarningCase{"FilesFields",
                    [](PackerTest& t) {
                      t.Put("setup.ini",
                            "[Files]\r\n0=<InstallDir>\\a?empty.dat?Overwrite?Yes?x\r\n");
                    },
                    "setup.ini line 2: [Files] entry \"0\" has 5 fields where the setup program "
                    "expects 4"},
        WarningCase{"WizardPictureDepth",
                    [](PackerTest& t) { t.Put("vqwizard.bmp", Bitmap(500, 314, 8)); },
                    "vqwizard.bmp: 8-bit picture; the wizard's pictures are 24-bit BMP files"},
        WarningCase{"WizardPictureSize",
                    [](PackerTest& t) { t.Put("vqwizard.bmp", Bitmap(164, 314)); },
                    "vqwizard.bmp: 164 x 314 pixels; the wizard stretches it to 500 x 314"},
        WarningCase{"HeaderPictureSize",
                    [](PackerTest& t) { t.Put("vqheader.bmp", Bitmap(55, 55)); },
                    "vqheader.bmp: 55 x 55 pixels; the wizard stretches it to 498 x 55"},
        WarningCase{"LicenceWithoutText", Script("DialogLicense=1\r\n"),
                    "setup.ini line 4: DialogLicense shows the licence page, but there is "
                    "neither LGerman.rtf nor L(Default).rtf: the page stays empty"},
        WarningCase{"LicenceWithTextForEveryLanguage",
                    [](PackerTest& t) {
                      t.Put("setup.ini", ScriptWith("DialogLicense=1\r\n"));
                      t.Put("lgerman.RTF", "{\\rtf1 Lizenz}");
                    },
                    ""},
        WarningCase{"LicenceSwitchedOff", Script("DialogLicense=0\r\n"), ""},
        WarningCase{"ReadmeWithoutText",
                    [](PackerTest& t) {
                      t.Put("setup.ini", ScriptWith("DialogReadme=$1\r\n"));
                      fs::remove(t.product_ / "R(Default).rtf");
                    },
                    "setup.ini line 4: DialogReadme shows the readme page, but there is neither "
                    "REnglish.rtf, RGerman.rtf nor R(Default).rtf"},
        WarningCase{"ReadmeWithDefaultText", Script("DialogReadme=1\r\n"), ""},
        WarningCase{"DefaultLanguageInOtherCase", Script("DefaultLanguage=english\r\n"),
                    "setup.ini line 4: DefaultLanguage=english names no language file (there is "
                    "English.lng, German.lng;"},
        WarningCase{"DefaultLanguageOfNoFile",
                    [](PackerTest& t) { fs::remove(t.product_ / "English.lng"); },
                    "setup.ini: DefaultLanguage is not set, so it is English, and there is no "
                    "English.lng"},
        WarningCase{"DefaultLanguageOfAFile",
                    [](PackerTest& t) {
                      t.Put("setup.ini", ScriptWith("DefaultLanguage=German\r\n"));
                      fs::remove(t.product_ / "English.lng");
                    },
                    ""},
        WarningCase{"FilesSizeTooSmall", Script("FilesSize=100\r\n"),
                    "setup.ini line 4: FilesSize=100 but the files to install take 70011 bytes"},
        WarningCase{"FilesSizeLarger", Script("FilesSize=1000000\r\n"), ""},
        WarningCase{"UnpaddedWindowsStub", [](PackerTest& t) { t.LongStub(); },
                    "setup.exe: not padded"}),
    [](const testing::TestParamInfo<WarningCase>& info) { return info.param.name; });

TEST_F(PackerTest, MissingOutputFolderIsReportedAndNothingCreated) {
  output_ = folder_.path / "no-such-folder" / "setup.exe";
  EXPECT_THROW(PackProduct(Options()), PackError);
  EXPECT_FALSE(fs::exists(output_.parent_path()));
}

}  // namespace
}  // namespace pack
