#include "pack/payload.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/pack_error.h"

namespace pack {
namespace {

TEST(DecimalFieldTest, TenDigitsZeroPadded) {
  EXPECT_EQ(DecimalField(0), "0000000000");
  EXPECT_EQ(DecimalField(5), "0000000005");
  EXPECT_EQ(DecimalField(250880), "0000250880");
  EXPECT_EQ(DecimalField(2147483647), "2147483647");
}

struct LayoutCase {
  const char* name;
  uint64_t stub;
  bool pad;
  uint64_t setupCabinet;
  std::vector<uint64_t> files;
  uint64_t payloadStart;
  std::vector<uint64_t> fileOffsets;
  uint64_t total;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, PlacesEveryPart) {
  const LayoutCase& c = GetParam();
  const PayloadLayout layout = PlanPayload(c.stub, c.pad, c.setupCabinet, c.files);
  EXPECT_EQ(layout.payloadStart, c.payloadStart);
  EXPECT_EQ(layout.setupCabinetOffset, c.payloadStart + 10);
  EXPECT_EQ(layout.setupCabinetSize, c.setupCabinet);
  EXPECT_EQ(layout.fileCabinetOffsets, c.fileOffsets);
  EXPECT_EQ(layout.fileCabinetSizes, c.files);
  EXPECT_EQ(layout.totalSize, c.total);
  EXPECT_EQ(layout.trailerOffset, c.total - 10);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutTest,
    testing::Values(
        LayoutCase{"Unpadded", 1000, false, 300, {40, 50}, 1000, {1310, 1350}, 1410},
        LayoutCase{"Padded", 1000, true, 300, {40, 50}, 250880, {251190, 251230}, 251290},
        LayoutCase{"PaddedStubOfExactlyTheOffset", 250880, true, 1, {}, 250880, {}, 250901},
        LayoutCase{
            "UnpaddedLongStub", 300000, false, 100, {0, 7}, 300000, {300110, 300110}, 300127},
        LayoutCase{"LargestAllowed", 100, false, 0x7FFFFFFFull - 120, {}, 100, {}, 0x7FFFFFFFull}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(PlanPayloadTest, RefusesStubLongerThanThePadOffset) {
  EXPECT_THROW(PlanPayload(250881, true, 10, {}), PackError);
  EXPECT_NO_THROW(PlanPayload(250881, false, 10, {}));
}

TEST(PlanPayloadTest, RefusesTwoGigabytes) {
  EXPECT_THROW(PlanPayload(100, false, 0x7FFFFFFFull - 119, {}), PackError);
  EXPECT_THROW(PlanPayload(1000, true, 100, {0x40000000, 0x40000000}), PackError);
}

TEST(WritePayloadTest, BytesFollowTheLayout) {
  const std::string stub = "MZstub";
  const std::string setupCabinet = "SETUPCAB";
  const std::vector<std::string> files = {"first", "", "third!"};
  for (bool pad : {false, true}) {
    const PayloadLayout layout = PlanPayload(stub.size(), pad, setupCabinet.size(), {5, 0, 6});
    std::ostringstream out;
    WritePayload(out, layout, {stub, setupCabinet, files});
    const std::string bytes = out.str();
    const uint64_t p = pad ? 250880 : stub.size();
    ASSERT_EQ(bytes.size(), layout.totalSize);
    EXPECT_EQ(bytes.substr(0, stub.size()), stub);
    EXPECT_EQ(bytes.substr(stub.size(), p - stub.size()), std::string(p - stub.size(), '\0'));
    EXPECT_EQ(bytes.substr(p, 10), "0000000008");
    EXPECT_EQ(bytes.substr(p + 10, 8), setupCabinet);
    for (size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(bytes.substr(layout.fileCabinetOffsets[i], files[i].size()), files[i]);
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 10), DecimalField(p));

    // PayloadBytes sees the same file, across part boundaries too.
    for (uint64_t offset : {uint64_t{0}, uint64_t{3}, p - 2, p + 15, layout.trailerOffset - 3,
                            layout.totalSize - 4}) {
      EXPECT_EQ(PayloadBytes(layout, {stub, setupCabinet, files}, offset, 12),
                bytes.substr(offset, 12))
          << "offset " << offset << (pad ? " padded" : "");
    }
  }
}

TEST(PayloadFaultsTest, FlagsWhatTheSetupProgramWouldMisread) {
  const std::string setupCabinet = "CAB";
  const std::vector<std::string> none;
  struct Case {
    const char* name;
    std::string stub;
    bool pad;
    bool warned;
  };
  std::string digitsAtOffset(260000, 'x');
  digitsAtOffset.replace(250880, 10, "0000001234");
  std::string blanksAndSign(260000, 'x');
  blanksAndSign.replace(250880, 10, "   -123456");
  std::string hexAtOffset(260000, 'x');
  hexAtOffset.replace(250880, 10, "$00ABCDEF0");
  std::string textAtOffset(260000, 'x');
  textAtOffset.replace(250880, 10, "0000x01234");
  const Case cases[] = {
      {"ShortUnpadded", std::string(1000, 'x'), false, true},
      {"ShortPadded", std::string(1000, 'x'), true, false},
      {"DigitsAtTheDefaultOffset", digitsAtOffset, false, true},
      {"BlanksAndSign", blanksAndSign, false, true},
      {"DollarHex", hexAtOffset, false, true},
      {"NoNumberThere", textAtOffset, false, false},
  };
  for (const Case& c : cases) {
    const PayloadLayout layout = PlanPayload(c.stub.size(), c.pad, setupCabinet.size(), {});
    const std::vector<std::string> faults = PayloadFaults(layout, {c.stub, setupCabinet, none});
    EXPECT_EQ(!faults.empty(), c.warned) << c.name;
  }
}

}  // namespace
}  // namespace pack
