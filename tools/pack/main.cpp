// setup-pack: builds setup files from product folders; see README.md beside this file.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "pack/cab_command.h"
#include "pack/command_line.h"
#include "pack/default_stub.h"
#include "pack/packer.h"

namespace {

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    std::cerr << "setup-pack: warning: " << warning << "\n";
  }
}

int Run(pack::CommandLine line) {
  switch (line.command) {
    case pack::CommandLine::Command::Help:
      std::cout << pack::UsageText();
      return 0;
    case pack::CommandLine::Command::Version:
      std::cout << pack::VersionText();
      return 0;
    case pack::CommandLine::Command::Pack: {
      if (line.pack.stub.empty()) line.pack.stub = pack::FindDefaultStub();
      std::error_code ec;
      if (std::filesystem::equivalent(line.pack.stub, line.pack.output, ec)) {
        throw pack::PackError(line.pack.output.string() +
                              ": is the stub itself; choose another --out");
      }
      const pack::PackResult result = pack::PackProduct(line.pack);
      PrintWarnings(result.warnings);
      std::cout << pack::Summary(line.pack.output, result) << "\n";
      return 0;
    }
    case pack::CommandLine::Command::Cab:
      for (const auto& path : pack::WriteCabinetFiles(line.cab)) {
        std::cout << path.string() << "\n";
      }
      return 0;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return Run(pack::ParseCommandLine(args));
  } catch (const pack::UsageError& e) {
    std::cerr << "setup-pack: " << e.what() << "\n\n" << pack::UsageText();
    return 2;
  } catch (const pack::WarningsAsErrors& e) {
    for (const std::string& warning : e.Warnings()) {
      std::cerr << "setup-pack: error: " << warning << "\n";
    }
    std::cerr << "setup-pack: error: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "setup-pack: error: " << e.what() << "\n";
    return 1;
  }
}
