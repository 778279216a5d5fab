// The host's registry: an in-memory tree of the four roots, kept in a regedit-like text file in
// the sandbox so that tests can seed it before a run and read it afterwards.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace host {

struct RegistryKeyNode {
  std::string name;
  // Both lists keep the order in which entries were made, which is the enumeration order.
  std::vector<std::pair<std::string, platform::RegistryValue>> values;
  std::vector<RegistryKeyNode> subkeys;

  RegistryKeyNode* Subkey(const std::string& keyName);
  const RegistryKeyNode* Subkey(const std::string& keyName) const;
  const platform::RegistryValue* Value(const std::string& valueName) const;
  // Replaces a value in place (keeping its name's spelling) or appends it.
  void SetValue(const std::string& valueName, const platform::RegistryValue& value);
  bool DeleteValue(const std::string& valueName);
};

class RegistryTree {
 public:
  // Nothing (nullptr) for a missing key or a malformed path.
  RegistryKeyNode* Find(platform::RegistryRoot root, const std::string& path);
  const RegistryKeyNode* Find(platform::RegistryRoot root, const std::string& path) const;
  // Creates the missing keys of the path; nullptr for a malformed path.
  RegistryKeyNode* Create(platform::RegistryRoot root, const std::string& path,
                          bool* created = nullptr);
  // Deletes a key with its subtree; the empty path empties the root.
  bool Delete(platform::RegistryRoot root, const std::string& path);
  const RegistryKeyNode& Root(platform::RegistryRoot root) const;
  void Clear();

 private:
  RegistryKeyNode roots_[4];
};

// The names of the keys of a path. A trailing backslash is allowed; a leading or doubled one
// makes the path malformed (false), as the system rejects such names.
bool SplitKeyPath(const std::string& path, std::vector<std::string>& names);

// Root names as the file writes them, and the names (also HKLM, HKCU, HKCR, HKU) it reads.
const char* RootName(platform::RegistryRoot root);
bool RootFromName(const std::string& name, platform::RegistryRoot& root);

// Applies registry-file text to the tree as regedit imports it: keys are created, "[-KEY]"
// deletes a key, "Name"=- deletes a value. On a malformed line the tree is left unchanged and
// error gets "line N: reason".
bool ImportRegistryText(RegistryTree& tree, const std::string& text, std::string* error);
// The whole tree as REGEDIT4 text, keys in enumeration order.
std::string ExportRegistryText(const RegistryTree& tree);

// The default machine, as registry-file text.
extern const char kDefaultRegistryText[];

// The registry the platform functions work on.
RegistryTree& Registry();
// Loads <sandbox>/host/registry.reg over the default machine when it exists.
bool LoadRegistryFile(std::string* error);

}  // namespace host
