// The window's first activation and its close request.
#include "app/run_state.h"
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
