// The window's first activation, its close request and the end of the user's session.
#include "app/exit_codes.h"
#include "app/run_state.h"
#include "install/install_driver.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "text/language.h"
#include "text/variables.h"
#include "wizard/finish_actions.h"
#include "wizard/form1.h"

void TForm1::FormActivate() {
  RunState& run = Run();
  if (!run.FirstActivation) return;
  run.FirstActivation = false;
  ShowPage(1, true);
}

bool TForm1::FormCloseQuery() {
  RunState& run = Run();
  if (run.CurrentPage == 10) {
    RunFinishActions();
    return true;
  }
  int answer = platform::ShowMessageBox(
      view_.Handle(), ExpandVariables(ReadText("Messages", 1)),
      ExpandVariables(ReadText("Messages", 0)),
      platform::kMbYesNo | platform::kMbIconQuestion | platform::kMbDefButton2);
  if (answer != platform::kIdYes) return false;
  if (run.CurrentPage == 9) {
    run.CancelRequested = true;
    platform::ProcessMessages();
    return false;
  }
  RunFinishActions();
  return true;
}

int WizardExitCode() {
  const RunState& run = Run();
  if (run.CurrentPage != 10) return kExitCancelled;
  return run.InstallErrors ? kExitInstalledWithErrors : kExitInstalled;
}

void TForm1::FormEndSession() {
  // The system ends the process once the session-end notice returns; nothing may be left in
  // the temporary folder then. The finish options are not run: the user is leaving.
  EndInstallation(WizardExitCode());
}
