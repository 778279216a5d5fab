// The registry file of the host: regedit's REGEDIT4 export format, which people can read and
// tests can write by hand.
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Example]
//   @="default value"
//   "Path"="C:\\Program Files\\Example"
//   "Count"=dword:0000002a
//   "Data"=hex:01,02,ff
//   "Expand"=hex(2):25,54,45,4d,50,25,00
//
// Strings escape backslashes and quotes with a backslash; hex(N) holds a value of type N as
// bytes, the string types with their terminating zero byte.
#include <cstdio>

#include "platform/host/host_registry.h"

namespace host {
namespace {

using platform::RegistryValue;
using platform::RegistryValueType;

bool IsStringType(RegistryValueType type) {
  return type == RegistryValueType::String || type == RegistryValueType::ExpandString ||
         type == RegistryValueType::MultiString;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Up to eight hex digits and nothing else.
bool ParseHexNumber(const std::string& text, uint32_t& number) {
  if (text.empty() || text.size() > 8) return false;
  number = 0;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return false;
    number = number << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != prefix[i]) return false;
  }
  return true;
}

// A quoted text starting at line[pos]; pos ends after the closing quote.
bool ReadQuoted(const std::string& line, size_t& pos, std::string& text, std::string& reason) {
  text.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (++pos >= line.size()) break;
      if (line[pos] != '\\' && line[pos] != '"') {
        reason = std::string("unknown escape \\") + line[pos] + " (write a backslash as \\\\)";
        return false;
      }
      c = line[pos];
    }
    text += c;
  }
  reason = "missing closing quote";
  return false;
}

// Comma-separated bytes of one or two hex digits each.
bool ParseHexBytes(const std::string& text, std::string& bytes) {
  bytes.clear();
  std::string list = Trimmed(text);
  if (list.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t comma = list.find(',', start);
    std::string item =
        Trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start));
    uint32_t byte;
    if (item.size() > 2 || !ParseHexNumber(item, byte)) return false;
    bytes += static_cast<char>(byte);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool ParseData(const std::string& data, RegistryValue& value, std::string& reason) {
  if (data[0] == '"') {
    size_t pos = 0;
    if (!ReadQuoted(data, pos, value.data, reason)) return false;
    if (!Trimmed(data.substr(pos)).empty()) {
      reason = "text after the closing quote";
      return false;
    }
    value.type = RegistryValueType::String;
    return true;
  }
  if (StartsWithNoCase(data, "dword:")) {
    uint32_t number;
    if (!ParseHexNumber(Trimmed(data.substr(6)), number)) {
      reason = "dword: needs one to eight hex digits";
      return false;
    }
    value.type = RegistryValueType::DWord;
    value.data.assign(4, '\0');
    for (int i = 0; i < 4; ++i) value.data[i] = static_cast<char>(number >> (8 * i) & 0xFF);
    return true;
  }
  size_t bytesAt;
  if (StartsWithNoCase(data, "hex:")) {
    value.type = RegistryValueType::Binary;
    bytesAt = 4;
  } else if (StartsWithNoCase(data, "hex(")) {
    size_t close = data.find("):", 4);
    uint32_t type;
    if (close == std::string::npos || !ParseHexNumber(data.substr(4, close - 4), type)) {
      reason = "hex(N): needs a hex type number";
      return false;
    }
    value.type = static_cast<RegistryValueType>(type);
    bytesAt = close + 2;
  } else {
    reason = "unknown value data (expected \"text\", dword:, hex: or hex(N):)";
    return false;
  }
  if (!ParseHexBytes(data.substr(bytesAt), value.data)) {
    reason = "hex bytes must be two hex digits separated by commas";
    return false;
  }
  if (IsStringType(value.type) && !value.data.empty() && value.data.back() == '\0')
    value.data.pop_back();
  return true;
}

class Importer {
 public:
  explicit Importer(RegistryTree& tree) : tree_(tree) {}

  bool Line(const std::string& line, std::string& reason) {
    if (line[0] == '[') return KeyLine(line, reason);
    return ValueLine(line, reason);
  }

 private:
  bool KeyLine(const std::string& line, std::string& reason) {
    size_t close = line.rfind(']');
    if (close == std::string::npos || close + 1 != line.size()) {
      reason = "a key line ends with ]";
      return false;
    }
    bool remove = line[1] == '-';
    std::string path = line.substr(remove ? 2 : 1, close - (remove ? 2 : 1));
    size_t slash = path.find('\\');
    platform::RegistryRoot root;
    if (!RootFromName(path.substr(0, slash), root)) {
      reason = "unknown root \"" + path.substr(0, slash) + "\"";
      return false;
    }
    std::string keyPath = slash == std::string::npos ? "" : path.substr(slash + 1);
    std::vector<std::string> names;
    if (!SplitKeyPath(keyPath, names)) {
      reason = "malformed key path";
      return false;
    }
    key_ = nullptr;
    if (remove) {
      tree_.Delete(root, keyPath);  // a missing key is no error, as in regedit
      return true;
    }
    key_ = tree_.Create(root, keyPath);
    return true;
  }

  bool ValueLine(const std::string& line, std::string& reason) {
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      if (!ReadQuoted(line, pos, name, reason)) return false;
    } else {
      reason = "expected [KEY], \"Name\"= or @=";
      return false;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') {
      reason = "expected = after the value name";
      return false;
    }
    std::string data = Trimmed(line.substr(pos + 1));
    if (!key_) {
      reason = "a value before any key";
      return false;
    }
    if (data == "-") {
      key_->DeleteValue(name);
      return true;
    }
    if (data.empty()) {
      reason = "missing value data";
      return false;
    }
    RegistryValue value;
    if (!ParseData(data, value, reason)) return false;
    key_->SetValue(name, value);
    return true;
  }

  RegistryTree& tree_;
  RegistryKeyNode* key_ = nullptr;
};

std::string Quoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') result += '\\';
    result += c;
  }
  return result + "\"";
}

std::string HexBytes(const std::string& bytes) {
  std::string result;
  char item[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(item, sizeof item, i ? ",%02x" : "%02x", static_cast<unsigned char>(bytes[i]));
    result += item;
  }
  return result;
}

std::string DataText(const RegistryValue& value) {
  if (value.type == RegistryValueType::String &&
      value.data.find_first_of(std::string("\0\r\n", 3)) == std::string::npos)
    return Quoted(value.data);
  if (value.type == RegistryValueType::DWord && value.data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.data[i]);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", number);
    return text;
  }
  if (value.type == RegistryValueType::Binary) return "hex:" + HexBytes(value.data);
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  return prefix + HexBytes(IsStringType(value.type) ? value.data + '\0' : value.data);
}

void ExportKey(std::string& out, const std::string& path, const RegistryKeyNode& key, bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    out += "[" + path + "]\n";
    for (const auto& [name, value] : key.values)
      out += (name.empty() ? std::string("@") : Quoted(name)) + "=" + DataText(value) + "\n";
    out += "\n";
  }
  for (const RegistryKeyNode& subkey : key.subkeys)
    ExportKey(out, path + "\\" + subkey.name, subkey, false);
}

}  // namespace

bool ImportRegistryText(RegistryTree& tree, const std::string& text, std::string* error) {
  RegistryTree work = tree;
  Importer importer(work);
  size_t lineNumber = 0, pos = 0;
  bool first = true;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trimmed(text.substr(pos, end - pos));
    pos = end + 1;
    size_t startLine = ++lineNumber;
    // A line ending in a backslash goes on in the next one, as regedit wraps long hex data.
    while (!line.empty() && line.back() == '\\' && line[0] != '[' && pos < text.size()) {
      end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      line.pop_back();
      line += Trimmed(text.substr(pos, end - pos));
      pos = end + 1;
      ++lineNumber;
    }
    if (line.empty() || line[0] == ';') continue;
    if (first && line == "REGEDIT4") {
      first = false;
      continue;
    }
    first = false;
    std::string reason;
    if (!importer.Line(line, reason)) {
      if (error) *error = "line " + std::to_string(startLine) + ": " + reason;
      return false;
    }
  }
  tree = std::move(work);
  return true;
}

std::string ExportRegistryText(const RegistryTree& tree) {
  std::string out = "REGEDIT4\n\n";
  for (int i = 0; i < 4; ++i) {
    auto root = static_cast<platform::RegistryRoot>(i);
    ExportKey(out, RootName(root), tree.Root(root), true);
  }
  return out;
}

}  // namespace host
