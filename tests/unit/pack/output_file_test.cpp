#include "pack/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pack/pack_error.h"
#include "pack/pack_test_folder.h"

namespace pack {
namespace {

namespace fs = std::filesystem;
using pack_test::ReadBytes;
using pack_test::TestFolder;
using pack_test::WriteBytes;

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(OutputFileTest, TargetAppearsOnlyOnCommit) {
  TestFolder folder;
  const fs::path target = folder.path / "setup.exe";
  WriteBytes(target, "old");
  {
    OutputFile output(target);
    output.Stream() << "new contents";
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(output.TemporaryPath().parent_path(), folder.path);
    output.Commit(true);
  }
  EXPECT_EQ(ReadBytes(target), "new contents");
  EXPECT_EQ(Listing(folder.path), std::vector<std::string>{"setup.exe"});
  EXPECT_NE(fs::status(target).permissions() & fs::perms::others_exec, fs::perms::none);
}

TEST(OutputFileTest, AbandonedOutputLeavesNothing) {
  TestFolder folder;
  const fs::path target = folder.path / "setup.exe";
  {
    OutputFile output(target);
    output.Stream() << "half a setup file";
    EXPECT_TRUE(fs::exists(output.TemporaryPath()));
  }
  EXPECT_TRUE(Listing(folder.path).empty());
}

TEST(OutputFileTest, FailedCommitLeavesNothing) {
  TestFolder folder;
  const fs::path target = folder.path / "taken";
  fs::create_directories(target / "inside");  // a non-empty folder cannot be replaced
  {
    OutputFile output(target);
    output.Stream() << "data";
    EXPECT_THROW(output.Commit(false), PackError);
  }
  EXPECT_EQ(Listing(folder.path), std::vector<std::string>{"taken"});
}

TEST(OutputFileTest, UncreatableTargetIsReported) {
  TestFolder folder;
  EXPECT_THROW(OutputFile(folder.path / "missing" / "setup.exe"), PackError);
}

}  // namespace
}  // namespace pack
