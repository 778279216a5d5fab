#include "install/file_associations.h"

#include <cstdint>
#include <vector>

#include "app/run_state.h"
#include "install/entry_fields.h"
#include "install/install_window.h"
#include "install/uninstall_record.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "text/language.h"
#include "text/message_format.h"
#include "text/variables.h"

namespace {

constexpr int kAssociationFailed = 20;
constexpr uint32_t kPauseAfterAssociation = 100;

// Creates the key when missing and sets its default value.
bool WriteDefault(const std::string& key, const std::string& text) {
  using namespace platform;
  return RegistryCreateKey(RegistryRoot::ClassesRoot, key) &&
         RegistryWriteValue(RegistryRoot::ClassesRoot, key, "",
                            RegistryValue{RegistryValueType::String, text});
}

}  // namespace

void CreateAssociation(const std::string& entry) {
  const std::vector<std::string> fields = SplitEntry(entry, kTaskSeparator);
  if (fields.size() != 4 && fields.size() != 5) return;
  const std::string& extension = fields[0];
  const std::string program = ExpandVariables(fields[1]);
  const std::string description = ExpandVariables(fields[2]);
  const std::string iconFile = ExpandVariables(fields[3]);
  const std::string iconIndex = fields.size() == 5 && !fields[4].empty() ? fields[4] : "0";

  const std::string typeName = extension + "file";
  const std::string icon = iconFile.empty() ? program + ",0" : iconFile + "," + iconIndex;
  const std::string command = "\"" + program + "\" \"%1\"";

  if (!WriteDefault("." + extension, typeName) || !WriteDefault(typeName, description) ||
      !WriteDefault(typeName + "\\DefaultIcon", icon) ||
      !WriteDefault(typeName + "\\shell\\open\\command", command)) {
    platform::ShowMessageBox(
        InstallWindow(),
        FormatMessageText(ReadText("Messages", kAssociationFailed), "." + extension), "Setup",
        platform::kMbOk | platform::kMbIconError);
    Run().InstallErrors = true;
    return;
  }

  AddUninstallRecord("RegistryKeys", "HKEY_CLASSES_ROOT*?." + extension);
  AddUninstallRecord("RegistryKeys", "HKEY_CLASSES_ROOT*?" + typeName);
  platform::ProcessMessages();
  platform::SleepMilliseconds(kPauseAfterAssociation);
}
