#include "app/ini_text.h"

#include <utility>

#include "app/ini_integer.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Tables rather than comparisons: these run for every byte of every name looked up.
struct CharTables {
  bool blank[256] = {};
  char fold[256] = {};
  constexpr CharTables() {
    for (int c = 0; c < 256; ++c) fold[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (unsigned char c : {' ', '\t', '\r', '\v', '\f', '\x1A'}) blank[c] = true;
  }
};
constexpr CharTables kChars;

bool IsBlank(char c) { return kChars.blank[static_cast<unsigned char>(c)]; }
char FoldCase(char c) { return kChars.fold[static_cast<unsigned char>(c)]; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

size_t EolLength(IniEol eol) { return eol == IniEol::CrLf ? 2 : eol == IniEol::None ? 0 : 1; }

void AppendLine(std::string& out, const IniLine& line) {
  out += line.text;
  if (line.eol == IniEol::CrLf) out += "\r\n";
  if (line.eol == IniEol::Lf) out += '\n';
  if (line.eol == IniEol::Cr) out += '\r';
}

// Names are C strings to the service's callers: a NUL byte ends them. (A file that lost power
// while growing may end in zero bytes; without '=' they are no key at all.)
void CutAtNul(const std::string& text, size_t begin, size_t& end) {
  size_t nul = text.find('\0', begin);
  if (nul >= end) return;
  end = nul;
  while (end > begin && IsBlank(text[end - 1])) --end;
}

// The line, once written and read again, is one line of this kind and name, so the index can be
// updated in place instead of parsing the whole text again.
bool ReadsBackAs(const IniLine& line, IniLineKind kind, std::string_view name) {
  if (line.text.find_first_of("\r\n") != std::string::npos) return false;
  return line.kind == kind && line.Name() == name;
}

}  // namespace

std::string_view IniLine::Name() const {
  return std::string_view(text).substr(nameBegin, nameEnd - nameBegin);
}

std::string_view IniLine::RawValue() const {
  return std::string_view(text).substr(valueBegin, valueEnd - valueBegin);
}

IniLine ParseIniLine(std::string text, IniEol eol) {
  IniLine line;
  line.text = std::move(text);
  line.eol = eol;
  const std::string& t = line.text;
  size_t b = 0;
  size_t e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  if (b == e) return line;
  if (t[b] == ';') {
    line.kind = IniLineKind::Comment;
    return line;
  }
  if (t[b] == '[') {
    size_t close = t.rfind(']', e - 1);
    if (close != std::string::npos && close > b) {
      line.kind = IniLineKind::Header;
      size_t nb = b + 1, ne = close;
      while (nb < ne && IsBlank(t[nb])) ++nb;
      while (ne > nb && IsBlank(t[ne - 1])) --ne;
      CutAtNul(t, nb, ne);
      line.nameBegin = static_cast<uint32_t>(nb);
      line.nameEnd = static_cast<uint32_t>(ne);
      return line;
    }
    // No closing bracket: the service takes it for a key line.
  }
  size_t eq = t.find('=', b);
  if (eq == std::string::npos || eq >= e) {
    line.kind = IniLineKind::Text;
    return line;
  }
  line.kind = IniLineKind::Key;
  size_t ne = eq;
  while (ne > b && IsBlank(t[ne - 1])) --ne;
  CutAtNul(t, b, ne);
  size_t vb = eq + 1;
  while (vb < e && IsBlank(t[vb])) ++vb;
  line.nameBegin = static_cast<uint32_t>(b);
  line.nameEnd = static_cast<uint32_t>(ne);
  line.valueBegin = static_cast<uint32_t>(vb);
  line.valueEnd = static_cast<uint32_t>(e);
  return line;
}

size_t IniNameHash::operator()(std::string_view name) const {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (char c : name) {
    h ^= static_cast<unsigned char>(FoldCase(c));
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h);
}

bool IniNameEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

IniText::IniText() {
  sections_.emplace_back();
  sectionIndex_.emplace(std::string(), 0);
}

IniText IniText::Parse(std::string_view bytes) {
  IniText image;
  size_t pos = 0;
  if (bytes.starts_with(kByteOrderMark)) {
    image.byteOrderMark_ = true;
    image.size_ = pos = kByteOrderMark.size();
  }
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    std::string_view text = bytes.substr(pos, end == std::string_view::npos ? end : end - pos);
    IniEol eol = IniEol::None;
    size_t next = bytes.size();
    if (end != std::string_view::npos) {
      eol = bytes[end] == '\n' ? IniEol::Lf : IniEol::Cr;
      next = end + 1;
      if (eol == IniEol::Cr && next < bytes.size() && bytes[next] == '\n') {
        eol = IniEol::CrLf;
        ++next;
      }
    }
    image.AddLine(ParseIniLine(std::string(text), eol));
    pos = next;
  }
  return image;
}

void IniText::AddLine(IniLine line) {
  size_ += line.text.size() + EolLength(line.eol);
  if (line.kind == IniLineKind::Header) {
    std::string name(line.Name());
    sections_.emplace_back();
    sections_.back().hasHeader = true;
    sections_.back().header = std::move(line);
    // The first section of a repeated name keeps the entry.
    sectionIndex_.try_emplace(std::move(name), static_cast<uint32_t>(sections_.size() - 1));
    return;
  }
  Section& section = sections_.back();
  const auto index = static_cast<uint32_t>(section.body.size());
  if (line.kind == IniLineKind::Key) {
    section.lastKeyLine = index;
    std::string_view name = line.Name();
    if (name.empty()) {
      if (section.firstNameless < 0) section.firstNameless = index;
    } else {
      section.namesBytes += name.size() + 1;
      section.keys.try_emplace(std::string(name), KeyEntry{index, section.namesBytes});
    }
  }
  section.body.push_back(std::move(line));
}

IniText::Section* IniText::FindSection(std::string_view name) {
  auto it = sectionIndex_.find(Trim(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniText::Section* IniText::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(Trim(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniLine* IniText::FindKeyLine(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  auto it = s->keys.find(Trim(key));
  return it == s->keys.end() ? nullptr : &s->body[it->second.line];
}

std::string IniText::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const IniLine* line = FindKeyLine(section, key);
  if (line == nullptr) {
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    return std::string(defaultValue.substr(0, kMaxValueLength));
  }
  std::string_view value = line->RawValue();
  // The service hands out C strings: a NUL byte ends the value before quotes are looked at.
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

int32_t IniText::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  int32_t value = defaultValue;
  return ParseIniInteger(ReadString(section, key, {}), value) ? value : defaultValue;
}

bool IniText::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> IniText::ReadSection(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = FindSection(section);
  if (s == nullptr) return names;
  size_t used = 0;
  for (const IniLine& line : s->body) {
    if (line.kind != IniLineKind::Key) continue;
    std::string_view name = line.Name();
    if (name.empty() || used + name.size() + 1 > kListingLimit - 1) break;
    used += name.size() + 1;
    names.emplace_back(name);
  }
  return names;
}

std::vector<std::string> IniText::ReadSectionComplete(std::string_view section) const {
  std::vector<std::string> names;
  const Section* s = FindSection(section);
  if (s == nullptr) return names;
  for (const IniLine& line : s->body) {
    if (line.kind == IniLineKind::Key && !line.Name().empty()) names.emplace_back(line.Name());
  }
  return names;
}

bool IniText::ValueExists(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return false;
  auto it = s->keys.find(Trim(key));
  if (it == s->keys.end()) return false;
  if (s->firstNameless >= 0 && it->second.line > s->firstNameless) return false;
  return it->second.listedBytes <= kListingLimit - 1;
}

IniLine* IniText::LastLine() {
  Section& last = sections_.back();
  if (!last.body.empty()) return &last.body.back();
  return last.hasHeader ? &last.header : nullptr;
}

void IniText::Reparse() { *this = Parse(Serialize()); }

std::string IniText::Serialize() const {
  std::string out;
  out.reserve(size_);
  if (byteOrderMark_) out += kByteOrderMark;
  for (const Section& section : sections_) {
    if (section.hasHeader) AppendLine(out, section.header);
    for (const IniLine& line : section.body) AppendLine(out, line);
  }
  return out;
}

IniText::Change IniText::Write(std::string_view section, std::string_view key,
                               std::string_view value) {
  const std::string_view sectionName = Trim(section);
  const std::string keyName(Trim(key));
  if (keyName.empty()) return Change{};
  Section* s = FindSection(sectionName);
  if (s == nullptr) return AddSection(sectionName, keyName, value);
  auto it = s->keys.find(keyName);
  if (it == s->keys.end()) return InsertKey(*s, keyName, value);
  return ReplaceValue(s->body[it->second.line], value);
}

IniText::Change IniText::ReplaceValue(IniLine& line, std::string_view value) {
  Change change;
  if (line.RawValue() == value) {
    change.kind = Change::kUnchanged;
    return change;
  }
  change.kind = Change::kRewritten;
  // Keep the line as written up to its value: name spelling and blanks stay.
  std::string text = line.text.substr(0, line.valueBegin);
  text += value;
  IniLine parsed = ParseIniLine(std::move(text), line.eol);
  if (!ReadsBackAs(parsed, IniLineKind::Key, line.Name())) {
    line.text = std::move(parsed.text);
    Reparse();
    return change;
  }
  size_ += parsed.text.size();
  size_ -= line.text.size();
  line = std::move(parsed);
  return change;
}

IniText::Change IniText::InsertKey(Section& s, const std::string& keyName, std::string_view value) {
  Change change;
  change.kind = Change::kRewritten;
  const auto pos = static_cast<uint32_t>(s.lastKeyLine + 1);
  IniLine* previous = pos > 0 ? &s.body[pos - 1] : s.hasHeader ? &s.header : nullptr;
  const bool terminate = previous != nullptr && previous->eol == IniEol::None;
  if (terminate) {
    previous->eol = IniEol::CrLf;
    size_ += 2;
  }
  IniLine parsed = ParseIniLine(keyName + "=" + std::string(value), IniEol::CrLf);
  size_ += parsed.text.size() + 2;
  // A key spelled with a byte-order mark, put first into a file without one, would read back
  // as the mark and a different key.
  const bool becomesMark = !byteOrderMark_ && &s == &sections_.front() && pos == 0 &&
                           parsed.text.starts_with(kByteOrderMark);
  if (becomesMark || !ReadsBackAs(parsed, IniLineKind::Key, keyName)) {
    s.body.insert(s.body.begin() + pos, std::move(parsed));
    Reparse();
    return change;
  }
  if (&s == &sections_.back() && pos == s.body.size()) {
    change.kind = Change::kAppended;
    change.appended = terminate ? "\r\n" : "";
    change.lineOffset = change.appended.size();
    change.appended += parsed.text;
    change.appended += "\r\n";
  }
  // Only lines that are not key lines follow the new one, so no index entry moves.
  s.namesBytes += keyName.size() + 1;
  s.keys.try_emplace(keyName, KeyEntry{pos, s.namesBytes});
  s.lastKeyLine = pos;
  s.body.insert(s.body.begin() + pos, std::move(parsed));
  return change;
}

IniText::Change IniText::AddSection(std::string_view sectionName, const std::string& keyName,
                                    std::string_view value) {
  Change change;
  change.kind = Change::kRewritten;
  if (IniLine* last = LastLine(); last != nullptr && last->eol == IniEol::None) {
    last->eol = IniEol::CrLf;
    size_ += 2;
  }
  IniLine header = ParseIniLine("[" + std::string(sectionName) + "]", IniEol::CrLf);
  IniLine line = ParseIniLine(keyName + "=" + std::string(value), IniEol::CrLf);
  const bool readsBack = ReadsBackAs(header, IniLineKind::Header, sectionName) &&
                         ReadsBackAs(line, IniLineKind::Key, keyName);
  AddLine(std::move(header));
  AddLine(std::move(line));
  if (!readsBack) Reparse();
  return change;
}
