#include "wizard/program_group.h"

#include "app/run_state.h"
#include "platform/file_system.h"
#include "text/variables.h"
#include "wizard/form_view.h"

void FillProgramGroupList() {
  RunState& run = Run();
  FormView& form = *run.Form;
  std::string name = ExpandVariables(run.SetupScript->ReadString("Setup", "ProgramGroup", ""));
  form.ClearItems(FormControl::ComboBox1);
  form.AddItem(FormControl::ComboBox1, name);
  bool allUsers = run.SetupScript->ReadBool("Setup", "AllUsersMenu", false);
  std::string base = GetVariableValue(allUsers ? kVarCommonProgramsMenu : kVarProgramsMenu);
  for (const platform::FolderEntry& entry : platform::FolderList(base)) {
    if (entry.attributes & platform::kAttrDirectory)
      form.AddItem(FormControl::ComboBox1, entry.name + "\\" + name);
  }
  form.SetItemIndex(FormControl::ComboBox1, 0);
}
