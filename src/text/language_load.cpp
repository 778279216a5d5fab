// LoadLanguages: the language files of the temporary folder, the choice among them and the
// first application of the chosen one.
#include "text/language_load.h"

#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "platform/file_system.h"
#include "platform/system_facts.h"
#include "text/language.h"
#include "wizard/form_view.h"

namespace {

constexpr std::string_view kExtension = ".lng";

bool HasLanguageExtension(const std::string& name) {
  if (name.size() < kExtension.size()) return false;
  for (size_t i = 0; i < kExtension.size(); ++i) {
    char c = name[name.size() - kExtension.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

// Base names of the "*.lng" files in the order the file system lists them; not sorted.
std::vector<std::string> ListLanguageNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const platform::FolderEntry& entry : platform::FolderList(folder)) {
    if (entry.attributes & platform::kAttrDirectory) continue;
    if (!HasLanguageExtension(entry.name)) continue;
    names.push_back(entry.name.substr(0, entry.name.size() - kExtension.size()));
  }
  return names;
}

std::string LanguagePath(const std::string& name) {
  return Run().TempFolder + "\\" + name + ".lng";
}

// The script's default language, matched exactly; then, when asked, the last file whose
// [Info] id is the system's language id written in decimal. -1 when nothing matches.
int ChooseLanguage(const std::vector<std::string>& names) {
  const IniFile* script = Run().SetupScript.get();
  std::string defaultLanguage =
      script ? script->ReadString("Setup", "DefaultLanguage", "English") : "English";
  int chosen = -1;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == defaultLanguage) {
      chosen = static_cast<int>(i);
      break;
    }
  }
  std::string systemId = std::to_string(platform::SystemDefaultLanguageId());
  if (script && script->ReadBool("Setup", "AutoDetectLanguage", false)) {
    for (size_t i = 0; i < names.size(); ++i) {
      IniFile file(LanguagePath(names[i]));
      if (file.ReadString("Info", "id", "") == systemId) chosen = static_cast<int>(i);
    }
  }
  return chosen;
}

}  // namespace

void LoadLanguages() {
  RunState& run = Run();
  FormView* form = run.Form;
  if (form) form->ClearItems(FormControl::ComboLng);
  std::vector<std::string> names = ListLanguageNames(run.TempFolder);
  if (names.empty()) {
    run.SetupScript.reset();
    run.UserVariables.clear();
    StopCorrupted();
  }
  int chosen = ChooseLanguage(names);
  if (form) {
    for (const std::string& name : names) form->AddItem(FormControl::ComboLng, name);
    form->SetItemIndex(FormControl::ComboLng, chosen);
  }
  // With no choice the file with the empty base name is opened: it does not exist, so every
  // text reads empty, and the user still picks a language on the language page.
  ApplyLanguage(LanguagePath(chosen < 0 ? std::string() : names[static_cast<size_t>(chosen)]));
}
