// Arbitrary bytes as an INI image: parsing gives every byte back, reads stay within their
// limits, listed keys exist, and writes keep the index in step with the text they produce.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_append.h"
#include "app/ini_text.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Names worth asking for: pieces of the input between brackets, equals signs and line ends.
std::vector<std::string> Candidates(std::string_view input) {
  std::vector<std::string> names = {"", "0"};
  size_t start = 0;
  for (size_t i = 0; i <= input.size() && names.size() < 10; ++i) {
    if (i == input.size() || input[i] == '[' || input[i] == ']' || input[i] == '=' ||
        input[i] == '\n') {
      if (i > start) names.emplace_back(input.substr(start, i - start < 64 ? i - start : 64));
      start = i + 1;
    }
  }
  return names;
}

std::string Observe(const IniText& image, const std::vector<std::string>& names) {
  std::string seen;
  for (const std::string& section : names) {
    for (const std::string& key : image.ReadSection(section)) seen += key + '\1';
    for (const std::string& key : names) {
      seen += image.ReadString(section, key, "\2") + (image.ValueExists(section, key) ? '+' : '-');
    }
  }
  return seen;
}

void CheckReads(const IniText& image, const std::vector<std::string>& names) {
  for (const std::string& section : names) {
    size_t bytes = 0;
    for (const std::string& key : image.ReadSection(section)) {
      Check(!key.empty() && image.ValueExists(section, key));
      bytes += key.size() + 1;
    }
    Check(bytes < IniText::kListingLimit);
    for (const std::string& key : names) {
      Check(image.ReadString(section, key, "").size() <= IniText::kMaxValueLength);
      const int32_t number = image.ReadInteger(section, key, 7);
      Check(image.ReadBool(section, key, true) == (number != 0));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  IniText image = IniText::Parse(input);
  Check(image.Serialize() == input);
  Check(image.Size() == size);

  const std::vector<std::string> names = Candidates(input);
  CheckReads(image, names);

  const size_t n = names.size();
  for (size_t i = 0; i < 4; ++i) {
    const std::string before = image.Serialize();
    IniText::Change change =
        image.Write(names[(i + 2) % n], names[(i * 7 + 3) % n], names[(i * 5 + 1) % n]);
    const std::string after = image.Serialize();
    Check(image.Size() == after.size());
    if (change.kind == IniText::Change::kUnchanged || change.kind == IniText::Change::kRejected) {
      Check(after == before);
    }
    if (change.kind == IniText::Change::kAppended) {
      Check(before + change.appended == after);
      // The line is a comment until its first byte is set.
      const std::string guarded = CommentedOutLines(change.appended, {change.lineOffset});
      Check(Observe(IniText::Parse(before + guarded), names) ==
            Observe(IniText::Parse(before), names));
    }
    Check(Observe(image, names) == Observe(IniText::Parse(after), names));
  }
  CheckReads(image, names);
  return 0;
}
