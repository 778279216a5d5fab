#include "install/entry_fields.h"

std::vector<std::string> SplitEntry(std::string_view value, std::string_view separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start < value.size()) {
    size_t end = value.find(separator, start);
    if (end == std::string_view::npos) {
      fields.emplace_back(value.substr(start));
      break;
    }
    fields.emplace_back(value.substr(start, end - start));
    start = end + separator.size();
  }
  return fields;
}

std::string TrimBlanksAndControls(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}
