#include "wizard/finish_actions.h"

#include <exception>

#include "app/run_state.h"
#include "app/temp_folder.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/wizard_services.h"
#include "text/variables.h"
#include "wizard/form_view.h"

std::string TargetFolder(const std::string& text) {
  size_t last = text.find_last_of("\\:");
  if (last == std::string::npos) return std::string();
  if (text[last] == ':') return text.substr(0, last + 1);
  bool keep = last > 0 && (text[last - 1] == '\\' || text[last - 1] == ':');
  return text.substr(0, keep ? last + 1 : last);
}

std::string TargetName(const std::string& text) {
  size_t last = text.find_last_of("\\:");
  return last == std::string::npos ? text : text.substr(last + 1);
}

void RunTarget(const std::string& text) {
  // An empty key would hand the shell nothing, which opens the current folder instead.
  if (text.find_first_not_of(' ') == std::string::npos) return;
  size_t split = text.find(" /");
  if (!platform::FolderExists(TargetFolder(text)) && split == std::string::npos) {
    platform::ShellOpenWith(text, "", "", 1);
    return;
  }
  std::string program = split == std::string::npos ? text : text.substr(0, split);
  std::string parameters = split == std::string::npos ? std::string() : text.substr(split + 1);
  platform::ShellOpenWith(TargetName(program), parameters, TargetFolder(program), 1);
}

void RunFinishActions() {
  RunState& run = Run();
  try {
    const FormView& form = *run.Form;
    struct Option {
      FormControl box;
      const char* key;
    } options[] = {{FormControl::CheckLaunchFile, "LaunchFileName"},
                   {FormControl::CheckViewReadme, "ViewReadmeFile"},
                   {FormControl::CheckCustomRun, "CustomActionCommand"}};
    for (const Option& option : options) {
      if (form.Visible(option.box) && form.Checked(option.box))
        RunTarget(ExpandVariables(run.SetupScript->ReadString("Setup", option.key, "")));
    }
    if (form.Visible(FormControl::RadioGroup1) && form.ItemIndex(FormControl::RadioGroup1) == 0)
      platform::RebootWindows();
  } catch (const std::exception&) {
    // The clean-up below runs whatever happened to the options.
  }
  run.LanguageTable.reset();
  run.SetupScript.reset();
  run.UserVariables.clear();
  DeleteTempFolder();
}
