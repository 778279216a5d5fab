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
    Padding padding;
    bool strict;
  };
  const Case cases[] = {
      {{"--stub", "s.exe", "--out", "o.exe", "prod"}, Padding::Auto, false},
      {{"--pad", "--stub", "s.exe", "--out", "o.exe", "prod"}, Padding::Always, false},
      {{"prod", "--out=o.exe", "--stub=s.exe", "--pad", "--pad"}, Padding::Always, false},
      {{"--no-pad", "--strict", "--stub", "s.exe", "--out", "o.exe", "prod"}, Padding::Never, true},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    ASSERT_EQ(line.command, Command::Pack);
    EXPECT_EQ(line.pack.stub, "s.exe");
    EXPECT_EQ(line.pack.output, "o.exe");
    EXPECT_EQ(line.pack.productFolder, "prod");
    EXPECT_EQ(line.pack.padding, c.padding);
    EXPECT_EQ(line.pack.strict, c.strict);
  }
}

// Without --stub the packer looks for the installed setup.exe; without --out it writes
// setup.exe in the current folder.
TEST(CommandLineTest, StubAndOutputHaveDefaults) {
  const CommandLine line = ParseCommandLine({"prod"});
  ASSERT_EQ(line.command, Command::Pack);
  EXPECT_TRUE(line.pack.stub.empty());
  EXPECT_EQ(line.pack.output, "setup.exe");
  EXPECT_EQ(line.pack.padding, Padding::Auto);
  EXPECT_FALSE(line.pack.strict);
}

TEST(CommandLineTest, Version) {
  EXPECT_EQ(ParseCommandLine({"--version"}).command, Command::Version);
  EXPECT_EQ(ParseCommandLine({"--stub", "s", "--version"}).command, Command::Version);
  EXPECT_EQ(VersionText().rfind("setup-pack 1.", 0), 0u) << VersionText();
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
      {"--stub", "s", "--out", "o"},
      {"--pad", "--no-pad", "prod"},
      {"--no-pad=1", "prod"},
      {"--strict=yes", "prod"},
      {"--stub=", "prod"},
      {"--out=", "prod"},
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
