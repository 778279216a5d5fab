// ExpandVariables: one pass over the text, user variables first, then the built-ins in table
// order, then the line-break escape. Values are computed only for names the text holds, and
// anew every time, so wizard fields are always current.
#include "text/variables.h"

#include <array>
#include <cstdint>
#include <exception>
#include <string_view>
#include <vector>

#include "app/run_state.h"
#include "platform/system_facts.h"
#include "text/text_replace.h"
#include "text/variable_table.h"

namespace {

bool HasNonAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// Replaces one user variable. ASCII folding covers the usual names; a name with other letters
// is matched the way the user's locale upper-cases it.
void ReplaceUserVariable(std::string& text, std::string_view name, std::string_view value) {
  if (!HasNonAscii(name)) {
    ReplaceIgnoringCase(text, name, value);
    return;
  }
  std::string image = platform::UpperCaseByLocale(text);
  std::string upperName = platform::UpperCaseByLocale(std::string(name));
  if (image.size() != text.size() || upperName.size() != name.size()) {
    ReplaceIgnoringCase(text, name, value);
    return;
  }
  ReplaceMatchesOfImage(text, image, upperName, value);
}

void ReplaceUserVariables(std::string& text) {
  bool hasBracket = text.find('<') != std::string::npos;
  for (const std::string& entry : Run().UserVariables) {
    size_t separator = entry.find('?');
    if (separator == std::string::npos || separator == 0) continue;  // no name: nothing to find
    std::string_view name(entry.data(), separator);
    // A bracketed name cannot occur in a text without '<'; this keeps plain texts cheap.
    if (!hasBracket && name.find('<') != std::string_view::npos) continue;
    std::string_view value(entry.data() + separator + 1, entry.size() - separator - 1);
    ReplaceUserVariable(text, name, value);
    if (!hasBracket) hasBracket = text.find('<') != std::string::npos;
  }
}

// Positions of the built-in names, grouped by name length.
struct NamesByLength {
  std::array<std::vector<int>, kLongestBuiltinName + 1> positions;
  NamesByLength() {
    for (int position = 1; position <= kBuiltinVariableCount; ++position)
      positions[BuiltinVariableName(position).size()].push_back(position);
  }
};

// One bit per built-in (bit 0 for position 1) whose name occurs in the text. Every name is
// "<" + letters + ">", so each '<' can start at most one of them: one as long as the stretch
// up to the next '>'. One scan thus answers for all 48 names.
uint64_t BuiltinsPresent(std::string_view text) {
  static const NamesByLength kIndex;
  uint64_t present = 0;
  size_t open = text.find('<');
  while (open != std::string_view::npos) {
    size_t close = text.find('>', open + 1);
    if (close == std::string_view::npos) break;
    std::string_view token = text.substr(open, close - open + 1);
    if (token.size() <= kLongestBuiltinName) {
      for (int position : kIndex.positions[token.size()]) {
        if (EqualIgnoringCase(token, BuiltinVariableName(position))) {
          present |= uint64_t{1} << (position - 1);
          break;
        }
      }
    }
    open = text.find('<', open + 1);
  }
  return present;
}

void ReplaceBuiltins(std::string& text) {
  uint64_t present = BuiltinsPresent(text);
  for (int position = 1; position <= kBuiltinVariableCount && present; ++position) {
    const uint64_t bit = uint64_t{1} << (position - 1);
    if (!(present & bit)) continue;
    present &= ~bit;
    std::string value;
    try {
      value = ComputeBuiltinValue(position);
    } catch (const std::exception&) {
      continue;  // the name stays in the text as written
    }
    ReplaceIgnoringCase(text, BuiltinVariableName(position), value);
    // The inserted value, or text joined where a name was removed, may hold later names; the
    // earlier ones had their turn.
    present = BuiltinsPresent(text) & ~((bit << 1) - 1);
  }
}

}  // namespace

std::string ExpandVariables(const std::string& text) {
  std::string work = text;
  if (!Run().UserVariables.empty()) ReplaceUserVariables(work);
  // Every built-in name and the line-break escape start with '<'.
  if (work.find('<') == std::string::npos) return work;
  ReplaceBuiltins(work);
  ReplaceExactly(work, "<#>", "\r\n");
  return work;
}
