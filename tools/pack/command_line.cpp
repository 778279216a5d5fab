#include "pack/command_line.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace pack {
namespace {

// Walks the arguments, splitting "--name=value" into option and value.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args, size_t first)
      : args_(args), next_(first) {}

  bool Done() const { return next_ >= args_.size(); }

  // The next argument; for "--name=value" just "--name", the value kept for Value().
  std::string Next() {
    std::string arg = args_[next_++];
    pendingValue_.reset();
    if (arg.rfind("--", 0) == 0) {
      const size_t equals = arg.find('=');
      if (equals != std::string::npos) {
        pendingValue_ = arg.substr(equals + 1);
        arg.resize(equals);
      }
    }
    return arg;
  }

  // The next argument as it is, for file names after "--".
  std::string Raw() {
    pendingValue_.reset();
    return args_[next_++];
  }

  std::string Value(const std::string& option) {
    if (pendingValue_) {
      std::string value = *pendingValue_;
      pendingValue_.reset();
      return value;
    }
    if (Done()) throw UsageError(option + " needs a value");
    return args_[next_++];
  }

  void NoValue(const std::string& option) const {
    if (pendingValue_) throw UsageError(option + " takes no value");
  }

 private:
  const std::vector<std::string>& args_;
  size_t next_;
  std::optional<std::string> pendingValue_;
};

uint64_t ParseNumber(const std::string& option, const std::string& text, uint64_t min,
                     uint64_t max) {
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) {
    throw UsageError(option + " needs a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", not \"" + text + "\"");
  }
  return value;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

CommandLine ParseCab(const std::vector<std::string>& args) {
  CommandLine line;
  line.command = CommandLine::Command::Cab;
  CabOptions& cab = line.cab;
  ArgumentReader reader(args, 1);
  std::optional<std::string> storedName;
  bool optionsEnded = false;
  while (!reader.Done()) {
    const std::string arg = optionsEnded ? reader.Raw() : reader.Next();
    if (!optionsEnded && IsOption(arg)) {
      if (arg == "--") {
        optionsEnded = true;
      } else if (arg == "--stored") {
        reader.NoValue(arg);
        cab.stored = true;
      } else if (arg == "--split") {
        cab.splitSize = static_cast<uint32_t>(
            ParseNumber(arg, reader.Value(arg), 1, std::numeric_limits<uint32_t>::max()));
      } else if (arg == "--set-id") {
        cab.setId = static_cast<uint16_t>(ParseNumber(arg, reader.Value(arg), 0, 65535));
      } else if (arg == "--out") {
        cab.output = reader.Value(arg);
      } else if (arg == "--as") {
        storedName = reader.Value(arg);
        if (storedName->empty()) throw UsageError("--as needs a name");
      } else {
        throw UsageError("unknown option " + arg + " for cab");
      }
      continue;
    }
    cab.inputs.push_back({arg, storedName.value_or("")});
    storedName.reset();
  }
  if (storedName) throw UsageError("--as " + *storedName + " is not followed by a file");
  if (cab.output.empty()) throw UsageError("cab needs --out OUTPUT.cab");
  if (cab.inputs.empty()) throw UsageError("cab needs at least one FILE");
  return line;
}

CommandLine ParsePack(const std::vector<std::string>& args) {
  CommandLine line;
  line.command = CommandLine::Command::Pack;
  PackOptions& pack = line.pack;
  ArgumentReader reader(args, 0);
  std::vector<std::string> folders;
  std::optional<std::string> padding;
  auto setPadding = [&](const std::string& option, Padding value) {
    reader.NoValue(option);
    if (padding && *padding != option)
      throw UsageError(*padding + " and " + option + " contradict");
    padding = option;
    pack.padding = value;
  };
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    if (!IsOption(arg)) {
      folders.push_back(arg);
    } else if (arg == "--pad") {
      setPadding(arg, Padding::Always);
    } else if (arg == "--no-pad") {
      setPadding(arg, Padding::Never);
    } else if (arg == "--strict") {
      reader.NoValue(arg);
      pack.strict = true;
    } else if (arg == "--stub") {
      pack.stub = reader.Value(arg);
      if (pack.stub.empty()) throw UsageError("--stub needs a file name");
    } else if (arg == "--out") {
      pack.output = reader.Value(arg);
      if (pack.output.empty()) throw UsageError("--out needs a file name");
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  if (pack.output.empty()) pack.output = "setup.exe";
  if (folders.size() != 1) throw UsageError("expected exactly one PRODUCT_DIR");
  pack.productFolder = folders.front();
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return CommandLine{};
    if (arg == "--version") {
      CommandLine line;
      line.command = CommandLine::Command::Version;
      return line;
    }
  }
  if (args.empty()) throw UsageError("no arguments");
  if (args.front() == "cab") return ParseCab(args);
  return ParsePack(args);
}

std::string UsageText() {
  return R"(Usage:
  setup-pack [--stub STUB] [--out OUTPUT] [--no-pad | --pad] [--strict] PRODUCT_DIR
      Packs the product folder PRODUCT_DIR onto a copy of the program STUB (setup.exe or
      setup-host) and writes the setup file OUTPUT.
      --stub STUB   the program to append to; by default the Windows setup.exe installed
                    with setup-pack (PREFIX/share/setup-pack/setup.exe)
      --out OUTPUT  the setup file to write (default setup.exe)
      --no-pad      do not pad the stub; by default a stub shorter than 250880 bytes is
                    padded with zero bytes up to that offset, where the setup program looks
                    for its payload first (a signed setup file must be padded)
      --pad         pad, and refuse a stub longer than 250880 bytes
      --strict      treat warnings as errors

  setup-pack cab [--stored] [--split BYTES] [--set-id N] --out OUTPUT.cab [--as NAME] FILE...
      Writes FILE... into one cabinet (MSZIP compressed, one folder).
      --stored        store the data uncompressed
      --split BYTES   write a cabinet set, no cabinet larger than BYTES:
                      OUTPUT.cab, OUTPUT2.cab, OUTPUT3.cab, ...
      --set-id N      the set identifier written into every cabinet header (default 0)
      --as NAME       store the next FILE under NAME (may hold backslashes for folders)

  setup-pack --help
  setup-pack --version
)";
}

#ifndef SETUP_PACK_VERSION
#define SETUP_PACK_VERSION "0.0.0"
#endif

std::string VersionText() { return "setup-pack " SETUP_PACK_VERSION "\n"; }

}  // namespace pack
