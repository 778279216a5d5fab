// Program entry: set up the process, create the form, run the start-up sequence, then the
// wizard when the run is not silent.
#include <memory>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "platform/process.h"
#include "platform/shell_link.h"
#include "platform/wizard_window.h"
#include "wizard/form1.h"
#include "wizard/headless_form_view.h"

int main(int argc, char** argv) {
  platform::InitProcess(argc, argv);
  platform::HardenProcess();
  platform::InitComponentLibrary();
  // A run told on its command line to be silent never shows its window, so its form lives in
  // memory only: creating the window and its sixty controls would cost the window system about
  // a thousand calls for nothing. (A script's SilentInstall is only known once the form exists.)
  std::unique_ptr<FormView> view = SilentOnCommandLine()
                                       ? std::make_unique<HeadlessFormView>()
                                       : platform::CreateWizardView();
  TForm1 form(*view);
  form.FormCreate();
  platform::RunWizard(*view);
  // The wizard ended on its finish page, or the user left it before.
  int exitCode = WizardExitCode();
  // A host run without a window never shows a page and so has nothing to report.
  if (Run().CurrentPage == 0) exitCode = kExitInstalled;
  DeleteTempFolder();
  platform::ExitProcess(exitCode);
}
