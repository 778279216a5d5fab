// setup-pack: builds setup files from product folders; see README.md beside this file.
#include <iostream>
#include <string>
#include <vector>

#include "pack/cab_command.h"
#include "pack/command_line.h"
#include "pack/packer.h"

namespace {

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    std::cerr << "setup-pack: warning: " << warning << "\n";
  }
}

int Run(const pack::CommandLine& line) {
  switch (line.command) {
    case pack::CommandLine::Command::Help:
      std::cout << pack::UsageText();
      return 0;
    case pack::CommandLine::Command::Pack: {
      const pack::PackResult result = pack::PackProduct(line.pack);
      PrintWarnings(result.warnings);
      std::cout << line.pack.output.string() << ": " << result.layout.totalSize
                << " bytes, payload at " << result.layout.payloadStart << ", setup cabinet "
                << result.layout.setupCabinetSize << " bytes, "
                << result.layout.fileCabinetSizes.size() << " file cabinet(s)\n";
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
  } catch (const std::exception& e) {
    std::cerr << "setup-pack: error: " << e.what() << "\n";
    return 1;
  }
}
