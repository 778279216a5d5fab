// setup-pack's command line:
//   setup-pack [--stub STUB] [--out OUTPUT] [--no-pad | --pad] [--strict] PRODUCT_DIR
//   setup-pack cab [--stored] [--split BYTES] [--set-id N] --out OUTPUT.cab [--as NAME] FILE...
//   setup-pack --help
//   setup-pack --version
// Options taking a value accept it as the next argument or after "=".
#pragma once

#include <string>
#include <vector>

#include "pack/cab_command.h"
#include "pack/pack_error.h"
#include "pack/packer.h"

namespace pack {

// A command line that cannot be run; the message says why, the usage text says how.
class UsageError : public PackError {
 public:
  using PackError::PackError;
};

struct CommandLine {
  enum class Command { Help, Version, Pack, Cab };
  Command command = Command::Help;
  PackOptions pack;
  CabOptions cab;
};

// `args` without the program name. Throws UsageError.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

// "setup-pack 1.0.0".
std::string VersionText();

}  // namespace pack
