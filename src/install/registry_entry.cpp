#include "install/registry_entry.h"

#include <optional>
#include <utility>
#include <vector>

#include "app/run_state.h"
#include "install/entry_fields.h"
#include "install/install_window.h"
#include "install/registry_data.h"
#include "install/uninstall_record.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "text/language.h"
#include "text/variables.h"

namespace {

constexpr int kKeyCreateFailed = 17;
constexpr int kValueWriteFailed = 18;
constexpr uint32_t kPauseAfterValue = 100;

platform::RegistryRoot RootFromWord(const std::string& word) {
  using platform::RegistryRoot;
  if (word == "HKEY_CLASSES_ROOT") return RegistryRoot::ClassesRoot;
  if (word == "HKEY_LOCAL_MACHINE") return RegistryRoot::LocalMachine;
  if (word == "HKEY_USERS") return RegistryRoot::Users;
  return RegistryRoot::CurrentUser;
}

void ReportFailure(int message, const std::string& argument) {
  platform::ShowMessageBox(InstallWindow(),
                           FormatMessageText(ReadText("Messages", message), argument), "Setup",
                           platform::kMbOk | platform::kMbIconError);
  Run().InstallErrors = true;
}

// The [Registry] values that want their keys kept, read and expanded on first need only: most
// entries create no key, and one entry may create several.
class KeepList {
 public:
  bool Keeps(const std::string& keyPath) {
    if (!loaded_) Load();
    for (const std::string& value : keeping_)
      if (EntryKeepsKey(value, keyPath)) return true;
    return false;
  }

 private:
  void Load() {
    loaded_ = true;
    const IniFile* script = Run().SetupScript.get();
    if (!script) return;
    for (const std::string& name : script->ReadSection("Registry")) {
      std::string value = ExpandVariables(script->ReadString("Registry", name, ""));
      if (!value.empty() && value.back() == 'o') keeping_.push_back(std::move(value));
    }
  }

  bool loaded_ = false;
  std::vector<std::string> keeping_;
};

struct Entry {
  std::string rootWord;  // as written: the records and messages name it so
  platform::RegistryRoot root;
  std::string keyPath;
  std::string valueName;
  std::string typeWord;
  std::string data;
  bool overwrite;
  bool removal;
};

// Creates the keys of the path from the outside in, recording the new ones the entry asks to
// remove unless another entry wants them kept. False after a key could not be created.
bool CreateKeys(const Entry& entry) {
  KeepList keep;
  const std::string walk = entry.keyPath + "\\";
  for (size_t slash = walk.find('\\'); slash != std::string::npos;
       slash = walk.find('\\', slash + 1)) {
    const std::string key = walk.substr(0, slash);
    if (platform::RegistryKeyExists(entry.root, key)) continue;
    bool created = false;
    if (!platform::RegistryCreateKey(entry.root, key, &created)) {
      ReportFailure(kKeyCreateFailed, entry.rootWord + "\\" + key);
      return false;
    }
    if (created && entry.removal && !keep.Keeps(key))
      AddUninstallRecord("RegistryKeys", entry.rootWord + "*?" + key);
  }
  return true;
}

}  // namespace

bool EntryKeepsKey(std::string_view expandedValue, std::string_view keyPath) {
  return !expandedValue.empty() && expandedValue.back() == 'o' &&
         expandedValue.find(keyPath) != std::string_view::npos;
}

void ApplyRegistryEntry(const std::string& entry) {
  std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  if (fields.size() != 7) return;
  const Entry task{
      fields[0], RootFromWord(fields[0]),    ExpandVariables(fields[1]), ExpandVariables(fields[2]),
      fields[3], ExpandVariables(fields[4]), fields[5] == "Yes",         fields[6] == "Yes"};

  if (!CreateKeys(task)) return;

  // An existing value is kept unless the entry says to overwrite it; it is then not the
  // entry's to remove either.
  if (!task.overwrite &&
      platform::RegistryReadValue(task.root, task.keyPath, task.valueName).has_value())
    return;

  // An unknown type word writes nothing, yet the value is recorded as the entry asks.
  if (std::optional<platform::RegistryValueType> type = RegistryTypeFromWord(task.typeWord)) {
    std::optional<platform::RegistryValue> value = ConvertRegistryData(*type, task.data);
    if (!value || !platform::RegistryWriteValue(task.root, task.keyPath, task.valueName, *value)) {
      ReportFailure(kValueWriteFailed,
                    task.rootWord + "\\" + task.keyPath + "\\: " + task.valueName);
      return;
    }
  }

  if (task.removal)
    AddUninstallRecord("RegistryValues",
                       task.rootWord + "*?" + task.keyPath + "*?" + task.valueName);
  platform::ProcessMessages();
  platform::SleepMilliseconds(kPauseAfterValue);
}
