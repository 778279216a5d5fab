// The registry on Windows. No view flag is ever passed: a 32-bit program on 64-bit Windows
// reads and writes the 32-bit view, as the products it looks for register themselves there.
#include <windows.h>

#include "platform/registry.h"

namespace platform {
namespace {

constexpr REGSAM kRead = KEY_READ;
// The installer asks for full access, so a key it may not change fails at once.
constexpr REGSAM kFull = KEY_ALL_ACCESS;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

// An open key, closed when it goes out of scope.
class Key {
 public:
  Key(RegistryRoot root, const std::string& path, REGSAM access) {
    if (::RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~Key() {
    if (key_) ::RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

bool RegistryKeyExists(RegistryRoot root, const std::string& path) {
  return static_cast<bool>(Key(root, path, kRead));
}

std::optional<RegistryValue> RegistryReadValue(RegistryRoot root, const std::string& path,
                                               const std::string& name) {
  Key key(root, path, kRead);
  if (!key) return std::nullopt;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string data;
  LONG result;
  // The value may grow between the two calls; ask again with the new size.
  do {
    data.resize(size);
    result = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size);
  } while (result == ERROR_MORE_DATA);
  if (result != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  if (IsStringType(type) && !data.empty() && data.back() == '\0') data.pop_back();
  return RegistryValue{static_cast<RegistryValueType>(type), data};
}

std::vector<std::string> RegistrySubkeyNames(RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  Key key(root, path, kRead);
  if (!key) return names;
  char name[256];  // the longest key name the registry allows, and its terminator
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    LONG result =
        ::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool RegistryCreateKey(RegistryRoot root, const std::string& path, bool* created) {
  if (created) *created = false;
  HKEY key;
  DWORD disposition = 0;
  if (::RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kFull,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  if (created) *created = disposition == REG_CREATED_NEW_KEY;
  return true;
}

bool RegistryWriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                        const RegistryValue& value) {
  Key key(root, path, kFull);
  if (!key) return false;
  std::string data = value.data;
  if (IsStringType(static_cast<DWORD>(value.type))) data += '\0';
  return ::RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryDeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
  Key key(root, path, kFull);
  return key && ::RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool RegistryDeleteKey(RegistryRoot root, const std::string& path) {
  std::string key = path;
  if (!key.empty() && key.back() == '\\') key.pop_back();
  if (key.empty()) return false;
  // Windows NT deletes only keys without subkeys, so the subtree goes first, deepest first.
  for (const std::string& subkey : RegistrySubkeyNames(root, key))
    if (!RegistryDeleteKey(root, key + "\\" + subkey)) return false;
  return ::RegDeleteKeyA(RootKey(root), key.c_str()) == ERROR_SUCCESS;
}

}  // namespace platform
