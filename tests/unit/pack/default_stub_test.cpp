#include "pack/default_stub.h"

#include <gtest/gtest.h>

namespace pack {
namespace {

namespace fs = std::filesystem;

TEST(DefaultStubTest, InstalledLayoutFirstThenBesideThenBuildTree) {
  const std::vector<fs::path> places = DefaultStubPlaces("/opt/tools/bin/setup-pack");
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0], fs::path("/opt/tools/share/setup-pack/setup.exe"));
  EXPECT_EQ(places[1], fs::path("/opt/tools/bin/setup.exe"));
  EXPECT_EQ(places[2], fs::path("/opt/windows/setup.exe"));
}

TEST(DefaultStubTest, KnowsTheRunningProgram) {
  const fs::path self = RunningProgram();
  EXPECT_TRUE(fs::is_regular_file(self)) << self;
  EXPECT_EQ(self.filename(), "unit_tests");
}

}  // namespace
}  // namespace pack
