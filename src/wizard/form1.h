// The wizard form: the run's handlers and methods, over a view of its controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wizard/form_view.h"

class TForm1 : public FormEvents {
 public:
  explicit TForm1(FormView& view) : view_(view) { view_.SetEvents(this); }
  ~TForm1() override { view_.SetEvents(nullptr); }

  // The start-up sequence. Returns only when the wizard is to be shown; a silent run and
  // every stop end the process.
  void FormCreate();
  // The first activation shows the first switched-on page.
  void FormActivate();
  // The close request: the finish routine on the finish page, otherwise a confirmation; on the
  // installing page a confirmed cancel only sets CancelRequested. True when the window closes.
  bool FormCloseQuery();
  // The user logs off or the system shuts down while the wizard is open (or a silent run goes
  // on): release the run, delete the temporary folder and end at once.
  [[noreturn]] void FormEndSession();

  // Shows the page, or the next switched-on one in that direction.
  void ShowPage(int page, bool forward);

  void BtnNextClick();
  void BtnBackClick();
  void BtnCancelClick();
  void CheckBox1Click();
  void Button4Click();
  void CheckBox2Click();
  // Enter in the destination field or the language box acts as Next; true when swallowed.
  bool Edit1KeyPress(char key);

  FormView& View() { return view_; }
  // Scratch list for listing the keys of a setup-script section.
  std::vector<std::string> ListBox1;

  // FormEvents: what the view reports.
  void Click(FormControl control) override;
  void Change(FormControl control) override;
  bool KeyPress(FormControl control, char key) override;
  void Activate() override { FormActivate(); }
  bool CloseQuery() override { return FormCloseQuery(); }
  void EndSession() override { FormEndSession(); }

 private:
  void UnpackPayload();
  template <typename Action>
  void ForEachScriptEntry(const std::string& section, Action action);
  [[noreturn]] void StopOnUnexpectedError(const std::string& text);
  void SetPageSwitches();
  void ShowTicked(FormControl box);

  // The pages' contents.
  void ShowLanguagePage();
  void ShowWelcomePage();
  void ShowLicensePage();
  void ShowReadmePage();
  void ShowUserInfoPage();
  void ShowDestinationPage();
  void ShowProgramGroupPage();
  void ShowReadyPage();
  void ShowInstallingPage();
  void ShowFinishPage();
  void RefreshFreeSpace();
  void FocusIfPossible(FormControl control);
  void Set(FormControl control, const std::string& section, int number);
  int Warn(const std::string& text);
  bool CheckUserFields();
  bool CheckDestination();
  bool CheckProgramGroup();

  FormView& view_;
};

// The exit code of a wizard that ends now: installed (with or without errors) on the finish
// page, cancelled before it.
int WizardExitCode();

// "1.00 KB": the byte count in GB, MB or KB with two decimals (powers of two), else in bytes.
std::string FormatByteSize(int64_t bytes);
