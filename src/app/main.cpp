// Program entry: set up the process, create the form, run the start-up sequence.
#include "app/exit_codes.h"
#include "app/temp_folder.h"
#include "platform/process.h"
#include "platform/shell_link.h"
#include "wizard/form1.h"
#include "wizard/headless_form_view.h"

int main(int argc, char** argv) {
  platform::InitProcess(argc, argv);
  platform::HardenProcess();
  platform::InitComponentLibrary();
  HeadlessFormView view;
  TForm1 form(view);
  form.FormCreate();
  // The wizard is not built yet: a run that would show it ends here.
  DeleteTempFolder();
  platform::ExitProcess(kExitInstalled);
}
