// The registry on the host: the in-memory tree, its file in the sandbox, and the platform's
// registry functions over it.
#include "platform/host/host_registry.h"

#include <sys/stat.h>

#include <cstdio>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"

namespace host {
namespace {

// Registry names compare without regard to case; only ASCII letters fold, as the names the
// program uses are ASCII and a byte-wise rule keeps the emulation predictable.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

size_t RootIndex(platform::RegistryRoot root) { return static_cast<size_t>(root) & 3; }

const struct {
  const char* full;
  const char* brief;
} kRootNames[] = {{"HKEY_CLASSES_ROOT", "HKCR"},
                  {"HKEY_CURRENT_USER", "HKCU"},
                  {"HKEY_LOCAL_MACHINE", "HKLM"},
                  {"HKEY_USERS", "HKU"}};

std::string RegistryFile() { return State().sandbox + "/host/registry.reg"; }

bool ReadWholeFile(const std::string& path, std::string& content) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
  std::fclose(file);
  return true;
}

// After a change the program made: setup-host keeps the file current, so that a run that
// ends abruptly still leaves what it wrote.
void Changed() {
  if (State().persistRegistry) SaveRegistry();
}

}  // namespace

RegistryKeyNode* RegistryKeyNode::Subkey(const std::string& keyName) {
  for (RegistryKeyNode& key : subkeys)
    if (SameName(key.name, keyName)) return &key;
  return nullptr;
}

const RegistryKeyNode* RegistryKeyNode::Subkey(const std::string& keyName) const {
  return const_cast<RegistryKeyNode*>(this)->Subkey(keyName);
}

const platform::RegistryValue* RegistryKeyNode::Value(const std::string& valueName) const {
  for (const auto& [name, value] : values)
    if (SameName(name, valueName)) return &value;
  return nullptr;
}

void RegistryKeyNode::SetValue(const std::string& valueName, const platform::RegistryValue& value) {
  for (auto& entry : values) {
    if (SameName(entry.first, valueName)) {
      entry.second = value;
      return;
    }
  }
  values.emplace_back(valueName, value);
}

bool RegistryKeyNode::DeleteValue(const std::string& valueName) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (SameName(it->first, valueName)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

bool SplitKeyPath(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  size_t start = 0;
  while (start < path.size()) {
    size_t slash = path.find('\\', start);
    if (slash == std::string::npos) slash = path.size();
    if (slash == start) return false;
    names.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return true;
}

RegistryKeyNode* RegistryTree::Find(platform::RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  RegistryKeyNode* key = &roots_[RootIndex(root)];
  for (const std::string& name : names)
    if (!(key = key->Subkey(name))) return nullptr;
  return key;
}

const RegistryKeyNode* RegistryTree::Find(platform::RegistryRoot root,
                                          const std::string& path) const {
  return const_cast<RegistryTree*>(this)->Find(root, path);
}

RegistryKeyNode* RegistryTree::Create(platform::RegistryRoot root, const std::string& path,
                                      bool* created) {
  if (created) *created = false;
  std::vector<std::string> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  RegistryKeyNode* key = &roots_[RootIndex(root)];
  bool made = false;
  for (const std::string& name : names) {
    RegistryKeyNode* next = key->Subkey(name);
    made = !next;
    if (made) {
      key->subkeys.push_back(RegistryKeyNode{name, {}, {}});
      next = &key->subkeys.back();
    }
    key = next;
  }
  if (created) *created = made;
  return key;
}

bool RegistryTree::Delete(platform::RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  if (!SplitKeyPath(path, names)) return false;
  RegistryKeyNode* parent = &roots_[RootIndex(root)];
  if (names.empty()) {
    parent->values.clear();
    parent->subkeys.clear();
    return true;
  }
  for (size_t i = 0; i + 1 < names.size(); ++i)
    if (!(parent = parent->Subkey(names[i]))) return false;
  for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
    if (SameName(it->name, names.back())) {
      parent->subkeys.erase(it);
      return true;
    }
  }
  return false;
}

const RegistryKeyNode& RegistryTree::Root(platform::RegistryRoot root) const {
  return roots_[RootIndex(root)];
}

void RegistryTree::Clear() {
  for (RegistryKeyNode& root : roots_) root = RegistryKeyNode{};
}

const char* RootName(platform::RegistryRoot root) { return kRootNames[RootIndex(root)].full; }

bool RootFromName(const std::string& name, platform::RegistryRoot& root) {
  for (size_t i = 0; i < 4; ++i) {
    if (SameName(name, kRootNames[i].full) || SameName(name, kRootNames[i].brief)) {
      root = static_cast<platform::RegistryRoot>(i);
      return true;
    }
  }
  return false;
}

RegistryTree& Registry() {
  static RegistryTree tree = [] {
    RegistryTree fresh;
    ImportRegistryText(fresh, kDefaultRegistryText, nullptr);
    return fresh;
  }();
  return tree;
}

bool LoadRegistryFile(std::string* error) {
  std::string text;
  if (!ReadWholeFile(RegistryFile(), text)) return true;
  std::string reason;
  if (ImportRegistryText(Registry(), text, &reason)) return true;
  if (error) *error = RegistryFile() + ": " + reason;
  return false;
}

void ResetRegistry() {
  Registry().Clear();
  ImportRegistryText(Registry(), kDefaultRegistryText, nullptr);
}

void ClearRegistry() { Registry().Clear(); }

bool RegistryCreateKey(platform::RegistryRoot root, const std::string& path) {
  return Registry().Create(root, path) != nullptr;
}

bool RegistrySetValue(platform::RegistryRoot root, const std::string& path, const std::string& name,
                      const platform::RegistryValue& value) {
  RegistryKeyNode* key = Registry().Create(root, path);
  if (key) key->SetValue(name, value);
  return key != nullptr;
}

bool RegistryImport(const std::string& text, std::string* error) {
  return ImportRegistryText(Registry(), text, error);
}

std::string RegistryExport() { return ExportRegistryText(Registry()); }

std::string RegistryFilePath() { return RegistryFile(); }

bool SaveRegistry() {
  std::string folder = State().sandbox + "/host";
  mkdir(folder.c_str(), 0755);
  std::string text = RegistryExport();
  FILE* file = std::fopen(RegistryFile().c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

platform::RegistryValue RegistryString(const std::string& text, platform::RegistryValueType type) {
  return {type, text};
}

platform::RegistryValue RegistryDWord(uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return {platform::RegistryValueType::DWord, data};
}

}  // namespace host

namespace platform {

bool RegistryKeyExists(RegistryRoot root, const std::string& path) {
  return host::Registry().Find(root, path) != nullptr;
}

std::optional<RegistryValue> RegistryReadValue(RegistryRoot root, const std::string& path,
                                               const std::string& name) {
  const host::RegistryKeyNode* key = host::Registry().Find(root, path);
  const RegistryValue* value = key ? key->Value(name) : nullptr;
  if (!value) return std::nullopt;
  return *value;
}

std::vector<std::string> RegistrySubkeyNames(RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  if (const host::RegistryKeyNode* key = host::Registry().Find(root, path))
    for (const host::RegistryKeyNode& subkey : key->subkeys) names.push_back(subkey.name);
  return names;
}

bool RegistryCreateKey(RegistryRoot root, const std::string& path, bool* created) {
  bool isNew = false;
  bool exists = host::Registry().Create(root, path, &isNew) != nullptr;
  if (created) *created = isNew;
  if (isNew) host::Changed();
  return exists;
}

bool RegistryWriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                        const RegistryValue& value) {
  host::RegistryKeyNode* key = host::Registry().Find(root, path);
  if (!key) return false;
  key->SetValue(name, value);
  host::Changed();
  return true;
}

bool RegistryDeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
  host::RegistryKeyNode* key = host::Registry().Find(root, path);
  if (!key || !key->DeleteValue(name)) return false;
  host::Changed();
  return true;
}

bool RegistryDeleteKey(RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  // The roots themselves cannot be deleted.
  if (!host::SplitKeyPath(path, names) || names.empty()) return false;
  if (!host::Registry().Delete(root, path)) return false;
  host::Changed();
  return true;
}

}  // namespace platform
