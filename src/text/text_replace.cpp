#include "text/text_replace.h"

#include <cstring>

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAsciiLetter(char c) { return FoldAscii(c) >= 'A' && FoldAscii(c) <= 'Z'; }

bool EqualFolded(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

size_t FindExactly(std::string_view text, std::string_view name, size_t from) {
  return name.empty() ? std::string_view::npos : text.find(name, from);
}

// Builds the replaced text from the occurrences that `find` reports in turn; each search starts
// behind the previous occurrence, in the original text, so inserted values are not searched.
template <typename Find>
bool ReplaceEach(std::string& text, size_t nameLength, std::string_view value, Find find) {
  size_t at = find(0);
  if (at == std::string_view::npos) return false;
  std::string result;
  result.reserve(text.size() + value.size() + 16);
  size_t copied = 0;
  while (at != std::string_view::npos) {
    result.append(text, copied, at - copied);
    result.append(value);
    copied = at + nameLength;
    at = find(copied);
  }
  result.append(text, copied, std::string::npos);
  text = std::move(result);
  return true;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualFolded(a.data(), b.data(), a.size());
}

size_t FindIgnoringCase(std::string_view text, std::string_view name, size_t from) {
  if (name.empty() || from > text.size() || text.size() - from < name.size())
    return std::string_view::npos;
  const char* data = text.data();
  const size_t last = text.size() - name.size();
  // Variable names start with '<', which has no case: memchr finds the candidates.
  if (!IsAsciiLetter(name[0])) {
    size_t at = from;
    while (at <= last) {
      const void* hit = std::memchr(data + at, name[0], last - at + 1);
      if (!hit) return std::string_view::npos;
      at = static_cast<size_t>(static_cast<const char*>(hit) - data);
      if (EqualFolded(data + at + 1, name.data() + 1, name.size() - 1)) return at;
      ++at;
    }
    return std::string_view::npos;
  }
  const char head = FoldAscii(name[0]);
  for (size_t at = from; at <= last; ++at)
    if (FoldAscii(data[at]) == head && EqualFolded(data + at, name.data(), name.size())) return at;
  return std::string_view::npos;
}

bool ReplaceIgnoringCase(std::string& text, std::string_view name, std::string_view value) {
  if (name.empty()) return false;
  const std::string_view view = text;
  return ReplaceEach(text, name.size(), value,
                     [view, name](size_t from) { return FindIgnoringCase(view, name, from); });
}

void ReplaceExactly(std::string& text, std::string_view from, std::string_view to) {
  const std::string_view view = text;
  ReplaceEach(text, from.size(), to,
              [view, from](size_t at) { return FindExactly(view, from, at); });
}

bool ReplaceMatchesOfImage(std::string& text, std::string_view image, std::string_view upperName,
                           std::string_view value) {
  if (image.size() != text.size()) return false;
  return ReplaceEach(text, upperName.size(), value, [image, upperName](size_t from) {
    return FindExactly(image, upperName, from);
  });
}
