#include "pack/setup_script.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <string_view>

#include "pack/ini_value.h"
#include "pack/pack_error.h"

namespace pack {
namespace {

// As the setup program's INI reader: blanks around names and values do not count.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

size_t SkipBlanks(const std::string& s, size_t from, size_t to) {
  while (from < to && IsBlank(s[from])) ++from;
  return from;
}

size_t TrimBlanksRight(const std::string& s, size_t from, size_t to) {
  while (to > from && IsBlank(s[to - 1])) --to;
  return to;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

enum class Section { Other, Setup, Files };

}  // namespace

SetupScript SetupScript::Parse(std::string text, const std::string& fileName) {
  SetupScript script;
  bool newlineSeen = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    Line line;
    if (end == std::string::npos) {
      line.content = text.substr(pos);
      pos = text.size();
    } else {
      size_t contentEnd = end;
      if (contentEnd > pos && text[contentEnd - 1] == '\r') --contentEnd;
      line.content = text.substr(pos, contentEnd - pos);
      line.ending = text.substr(contentEnd, end + 1 - contentEnd);
      pos = end + 1;
      if (!newlineSeen) script.newline_ = line.ending;
      newlineSeen = true;
    }
    script.lines_.push_back(std::move(line));
  }

  Section section = Section::Other;
  std::map<std::string, int> firstHeaderLine;  // "setup" / "files" -> line number
  for (size_t i = 0; i < script.lines_.size(); ++i) {
    const std::string& s = script.lines_[i].content;
    const int lineNumber = static_cast<int>(i) + 1;
    const size_t begin = SkipBlanks(s, 0, s.size());
    const size_t end = TrimBlanksRight(s, begin, s.size());
    if (begin == end || s[begin] == ';') continue;

    if (s[begin] == '[') {
      // Text after the last ']' does not belong to the name.
      size_t close = s.rfind(']');
      if (close == std::string::npos || close < begin) close = end;
      const size_t nameBegin = SkipBlanks(s, begin + 1, close);
      const std::string name =
          s.substr(nameBegin, TrimBlanksRight(s, nameBegin, close) - nameBegin);
      script.sections_.push_back({lineNumber, name});
      section = Section::Other;
      for (auto [word, kind] : {std::pair{"Setup", Section::Setup}, {"Files", Section::Files}}) {
        if (!EqualsNoCase(name, word)) continue;
        auto [it, inserted] = firstHeaderLine.emplace(word, lineNumber);
        if (!inserted) {
          throw ErrorAt(fileName, lineNumber,
                        "a second [" + name + "] section (the first is at line " +
                            std::to_string(it->second) +
                            "); the setup program reads only the first, merge them");
        }
        section = kind;
        if (kind == Section::Setup) {
          script.hasSetupSection_ = true;
          script.setupLastLine_ = i;
        }
      }
      continue;
    }

    const size_t equals = s.find('=', begin);
    if (equals != std::string::npos && !script.sections_.empty()) {
      const size_t keyEnd = TrimBlanksRight(s, begin, equals);
      script.keys_.push_back({lineNumber, script.sections_.size() - 1,
                              s.substr(begin, keyEnd - begin),
                              IniValue(std::string_view(s).substr(equals + 1))});
    }
    if (section == Section::Setup) {
      script.setupLastLine_ = i;
      if (equals == std::string::npos) continue;
      const size_t keyEnd = TrimBlanksRight(s, begin, equals);
      const std::string key = s.substr(begin, keyEnd - begin);
      const size_t valueBegin = SkipBlanks(s, equals + 1, end);
      if (EqualsNoCase(key, "FilesCount")) {
        script.filesCountValues_.push_back({i, valueBegin, end - valueBegin});
      } else if (EqualsNoCase(key, "FilesSize") && !script.hasFilesSize_ &&
                 !script.emptyFilesSize_) {
        // Only the first one counts, as for the setup program.
        if (script.keys_.back().value.empty()) {
          script.emptyFilesSize_ = Span{i, valueBegin, end - valueBegin};
        } else {
          script.hasFilesSize_ = true;
        }
      }
      continue;
    }
    if (section != Section::Files) continue;

    if (equals == std::string::npos) {
      throw ErrorAt(
          fileName, lineNumber,
          "[Files] line without \"=\"; expected KEY=destination?source?existmode?removal");
    }
    FilesEntry entry;
    entry.line = lineNumber;
    const size_t keyEnd = TrimBlanksRight(s, begin, equals);
    entry.key = s.substr(begin, keyEnd - begin);
    size_t valueBegin = SkipBlanks(s, equals + 1, end);
    size_t valueEnd = end;
    // The reader drops one pair of matching quotes around a value.
    if (valueEnd - valueBegin >= 2 && (s[valueBegin] == '"' || s[valueBegin] == '\'') &&
        s[valueEnd - 1] == s[valueBegin]) {
      ++valueBegin;
      --valueEnd;
    }
    const std::string value = s.substr(valueBegin, valueEnd - valueBegin);

    // Split as the setup program does: a separator at the very end opens no further field.
    std::vector<size_t> separators;
    for (size_t p = value.find('?'); p != std::string::npos; p = value.find('?', p + 1)) {
      separators.push_back(p);
    }
    entry.fieldCount = value.empty() ? 0 : separators.size() + 1;
    if (!value.empty() && value.back() == '?') --entry.fieldCount;
    if (entry.fieldCount < 2) {
      throw ErrorAt(fileName, lineNumber,
                    "[Files] entry \"" + entry.key +
                        "\" needs at least a destination and a source file "
                        "(destination?source?existmode?removal)");
    }
    entry.destination = value.substr(0, separators[0]);
    const size_t fieldBegin = separators[0] + 1;
    const size_t fieldEnd = separators.size() > 1 ? separators[1] : value.size();
    const size_t sourceBegin = SkipBlanks(value, fieldBegin, fieldEnd);
    entry.source =
        value.substr(sourceBegin, TrimBlanksRight(value, sourceBegin, fieldEnd) - sourceBegin);
    if (entry.destination.empty()) {
      throw ErrorAt(fileName, lineNumber, "[Files] entry \"" + entry.key + "\" has no destination");
    }
    if (entry.source.empty()) {
      throw ErrorAt(fileName, lineNumber,
                    "[Files] entry \"" + entry.key + "\" names no source file in its second field");
    }
    if (entry.fieldCount < 4) {
      throw ErrorAt(fileName, lineNumber,
                    "[Files] entry \"" + entry.key + "\" has " + std::to_string(entry.fieldCount) +
                        " fields; the setup program needs four "
                        "(destination?source?existmode?removal) and would report the setup file "
                        "as corrupted");
    }
    script.entrySpans_.push_back(
        {{i, begin, keyEnd - begin}, {i, valueBegin + fieldBegin, fieldEnd - fieldBegin}});
    script.entries_.push_back(std::move(entry));
  }
  return script;
}

const ScriptKey* SetupScript::Find(const std::string& section, const std::string& key) const {
  std::optional<size_t> first;
  for (size_t i = 0; i < sections_.size() && !first; ++i) {
    if (EqualsNoCase(sections_[i].name, section)) first = i;
  }
  if (!first) return nullptr;
  for (const ScriptKey& line : keys_) {
    if (line.section == *first && EqualsNoCase(line.key, key)) return &line;
  }
  return nullptr;
}

std::string SetupScript::Rewrite(const std::vector<uint64_t>& storedSizes,
                                 std::optional<uint64_t> filesSize) const {
  const size_t n = entries_.size();
  if (storedSizes.size() != n) {
    throw std::invalid_argument("one stored size is needed for every [Files] entry");
  }
  std::vector<Line> lines = lines_;
  // The source field lies right of the key on the same line, so replace it first to keep the
  // key's offsets valid.
  for (size_t i = 0; i < n; ++i) {
    const EntrySpans& spans = entrySpans_[i];
    std::string& content = lines[spans.source.line].content;
    content.replace(spans.source.begin, spans.source.length, std::to_string(storedSizes[i]));
    content.replace(spans.key.begin, spans.key.length, std::to_string(i));
  }

  const std::string count = std::to_string(n);
  for (const Span& value : filesCountValues_) {
    lines[value.line].content.replace(value.begin, value.length, count);
  }
  std::vector<Line> added;
  if (filesSize && !hasFilesSize_) {
    const std::string size = std::to_string(*filesSize);
    if (emptyFilesSize_) {
      lines[emptyFilesSize_->line].content.replace(emptyFilesSize_->begin, emptyFilesSize_->length,
                                                   size);
    } else {
      added.push_back({"FilesSize=" + size, newline_});
    }
  }
  if (filesCountValues_.empty()) added.push_back({"FilesCount=" + count, newline_});
  if (!added.empty()) {
    auto terminate = [&](Line& line) {
      if (line.ending.empty()) line.ending = newline_;
    };
    if (hasSetupSection_) {
      terminate(lines[setupLastLine_]);
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(setupLastLine_) + 1, added.begin(),
                   added.end());
    } else {
      if (!lines.empty()) terminate(lines.back());
      lines.push_back({"[Setup]", newline_});
      lines.insert(lines.end(), added.begin(), added.end());
    }
  }

  std::string out;
  for (const Line& line : lines) out += line.content + line.ending;
  return out;
}

std::string StoredFileName(const FilesEntry& entry, const std::string& fileName) {
  const size_t slash = entry.destination.rfind('\\');
  const std::string name =
      slash == std::string::npos ? entry.destination : entry.destination.substr(slash + 1);
  if (name.empty()) {
    throw ErrorAt(fileName, entry.line,
                  "the destination \"" + entry.destination + "\" ends without a file name");
  }
  for (unsigned char c : name) {
    if (c < 0x20 || std::string_view("<>:\"/|*").find(static_cast<char>(c)) != std::string::npos) {
      throw ErrorAt(fileName, entry.line,
                    "the file name \"" + name + "\" at the end of the destination \"" +
                        entry.destination +
                        "\" must be a plain Windows file name (no variables, no \":\", \"/\", "
                        "\"*\", quotes or pipes); the file is stored and installed under it");
    }
  }
  return name;
}

}  // namespace pack
