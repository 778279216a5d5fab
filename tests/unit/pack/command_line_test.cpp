#include "pack/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pack {
namespace {

using Command = CommandLine::Command;

TEST(CommandLineTest, PackOptions) {
  struct Case {
    std::vector<std::string> args;
    bool pad;
  };
  const Case cases[] = {
      {{"--stub", "s.exe", "--out", "o.exe", "prod"}, false},
      {{"--pad", "--stub", "s.exe", "--out", "o.exe", "prod"}, true},
      {{"prod", "--out=o.exe", "--stub=s.exe", "--pad"}, true},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    ASSERT_EQ(line.command, Command::Pack);
    EXPECT_EQ(line.pack.stub, "s.exe");
    EXPECT_EQ(line.pack.output, "o.exe");
    EXPECT_EQ(line.pack.productFolder, "prod");
    EXPECT_EQ(line.pack.pad, c.pad);
  }
}

TEST(CommandLineTest, CabOptions) {
  const CommandLine line =
      ParseCommandLine({"cab", "--stored", "--split", "4096", "--set-id=77", "--out", "t.cab",
                        "a.txt", "--as", "sub\\b.txt", "b.txt", "--", "--odd-name"});
  ASSERT_EQ(line.command, Command::Cab);
  EXPECT_TRUE(line.cab.stored);
  EXPECT_EQ(line.cab.splitSize, 4096u);
  EXPECT_EQ(line.cab.setId, 77);
  EXPECT_EQ(line.cab.output, "t.cab");
  ASSERT_EQ(line.cab.inputs.size(), 3u);
  EXPECT_EQ(line.cab.inputs[0].path, "a.txt");
  EXPECT_EQ(line.cab.inputs[0].storedName, "");
  EXPECT_EQ(line.cab.inputs[1].path, "b.txt");
  EXPECT_EQ(line.cab.inputs[1].storedName, "sub\\b.txt");
  EXPECT_EQ(line.cab.inputs[2].path, "--odd-name");

  const CommandLine plain = ParseCommandLine({"cab", "--out", "t.cab", "a"});
  EXPECT_FALSE(plain.cab.stored);
  EXPECT_EQ(plain.cab.splitSize, 0u);
}

TEST(CommandLineTest, Help) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"cab", "--help"}}) {
    EXPECT_EQ(ParseCommandLine(args).command, Command::Help);
  }
}

TEST(CommandLineTest, Mistakes) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--out", "o", "prod"},
      {"--stub", "s", "prod"},
      {"--stub", "s", "--out", "o"},
      {"--stub", "s", "--out", "o", "p1", "p2"},
      {"--stub", "s", "--out", "o", "--bogus", "prod"},
      {"--pad=yes", "--stub", "s", "--out", "o", "prod"},
      {"--stub"},
      {"cab", "a.txt"},
      {"cab", "--out", "t.cab"},
      {"cab", "--out", "t.cab", "--split", "0", "a"},
      {"cab", "--out", "t.cab", "--split", "12k", "a"},
      {"cab", "--out", "t.cab", "--split", "4294967296", "a"},
      {"cab", "--out", "t.cab", "--set-id", "65536", "a"},
      {"cab", "--out", "t.cab", "a", "--as", "x"},
      {"cab", "--pad", "--out", "t.cab", "a"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& arg : args) joined += arg + " ";
    EXPECT_THROW(ParseCommandLine(args), UsageError) << joined;
  }
}

}  // namespace
}  // namespace pack
