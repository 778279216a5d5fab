// The language table in use: opening it, applying it to the form, reading it, switching it.
#include "text/language.h"

#include <memory>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "text/variables.h"
#include "wizard/form_view.h"

void ApplyLanguage(const std::string& path) {
  RunState& run = Run();
  run.LanguageTable = std::make_unique<IniFile>(path);
  FormView* form = run.Form;
  if (!form) return;
  std::string caption = ExpandVariables(ReadText("Title", 0));
  form->SetText(FormControl::Form, caption);
  form->SetApplicationTitle(caption);
  form->SetText(FormControl::Label1, ExpandVariables(ReadText("Language", 0)));
  form->SetText(FormControl::Label2, ExpandVariables(ReadText("Language", 1)));
  form->SetText(FormControl::BtnBack, ReadText("Buttons", 0));
  form->SetText(FormControl::BtnNext, ReadText("Buttons", 1));
  form->SetText(FormControl::BtnCancel, ReadText("Buttons", 2));
}

std::string ReadText(const std::string& section, int number) {
  const IniFile* table = Run().LanguageTable.get();
  return table ? table->ReadString(section, std::to_string(number), "") : std::string();
}

void ComboLngChange() {
  RunState& run = Run();
  run.LanguageTable.reset();
  FormView* form = run.Form;
  std::string name = form ? form->Text(FormControl::ComboLng) : std::string();
  ApplyLanguage(run.TempFolder + "\\" + name + ".lng");
  if (form && form->CanFocus(FormControl::ComboLng)) form->SetFocus(FormControl::ComboLng);
}
