// The start-up sequence: from the setup file to an open setup script, then on to the silent
// installation or the wizard.
#include <exception>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/payload.h"
#include "app/previous_installation.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "install/commands.h"
#include "install/install_driver.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "system/requirements.h"
#include "text/language.h"
#include "text/variables.h"
#include "wizard/form1.h"
#include "wizard/program_group.h"

namespace {

// The user's temporary folder without its trailing backslash.
std::string TempDir() { return GetVariableValue(kVarTempDir); }

bool SilentRequested(const IniFile& script) {
  return script.ReadBool("Setup", "SilentInstall", false) || SilentOnCommandLine();
}

// Drawn from once the payload is found; seeded on first use.
TempFolderNames& TempNames() {
  static TempFolderNames names(platform::ClockTicks(), platform::ProcessId(),
                               platform::FineCounter());
  return names;
}

// No folder for the run's files: the drive's root is no place for them. No language file is
// loaded yet, so the text is fixed, as the corrupted-setup stop's is.
[[noreturn]] void StopWithoutTempFolder() {
  platform::ShowMessageBox(0, "Setup could not find a folder for its temporary files.", "Error",
                           platform::kMbOk | platform::kMbIconError);
  platform::ExitProcess(kExitFatalInstallError);
}

struct SetupFile {
  platform::FileHandle handle = platform::kInvalidFile;
  ~SetupFile() {
    if (handle != platform::kInvalidFile) platform::FileClose(handle);
  }
  void Close() {
    if (handle != platform::kInvalidFile) platform::FileClose(handle);
    handle = platform::kInvalidFile;
  }
};

}  // namespace

void TForm1::UnpackPayload() {
  RunState& run = Run();
  SetupFile setup;
  setup.handle = platform::FileOpen(platform::ExecutablePath(), platform::FileAccess::Read,
                                    platform::FileCreation::OpenExisting);
  if (setup.handle == platform::kInvalidFile) StopCorrupted();
  bool unpacked = false;
  try {
    int64_t fileSize = platform::FileSeek(setup.handle, 0, 2);
    ReadAtFunction readAt = [&](int64_t offset, char* buffer, int32_t count) -> int32_t {
      if (platform::FileSeek(setup.handle, offset, 0) != offset) return 0;
      int32_t read = platform::FileRead(setup.handle, buffer, static_cast<uint32_t>(count));
      return read < 0 ? 0 : read;
    };
    std::optional<PayloadLocation> payload = LocatePayload(readAt, fileSize);
    run.PayloadPos = payload ? payload->start : DefaultPayloadOffset;
    if (payload &&
        platform::FileSeek(setup.handle, int64_t{payload->start} + 10, 0) == payload->start + 10 &&
        CreateTempFolder(TempNames(), TempDir())) {
      std::string cabinet = run.TempFolder + "\\setup.cab";
      if (CopySetupCabinet(setup.handle, payload->setupCabinetLength, cabinet)) {
        run.PayloadPos = payload->start + 10 + payload->setupCabinetLength;
        platform::ProcessMessages();
        run.CabReader = std::make_unique<TSTCabReader>();
        run.CabReader->Extract(cabinet, run.TempFolder);
        platform::ProcessMessages();
        unpacked = view_.LoadPicture(FormControl::Image1, run.TempFolder + "\\vqwizard.bmp") &&
                   view_.LoadPicture(FormControl::Image2, run.TempFolder + "\\vqheader.bmp");
      }
    }
  } catch (const std::exception&) {
    unpacked = false;
  }
  setup.Close();
  if (!unpacked) StopCorrupted();
}

// Lists the keys of a script section in file order into the scratch list and hands each entry
// (default empty) to the action.
template <typename Action>
void TForm1::ForEachScriptEntry(const std::string& section, Action action) {
  IniFile& script = *Run().SetupScript;
  ListBox1 = script.ReadSection(section);
  for (const std::string& key : ListBox1) action(script.ReadString(section, key, ""));
}

void TForm1::FormCreate() {
  RunState& run = Run();
  run.FirstActivation = true;
  run.Form = &view_;
  if (TempDir().empty()) StopWithoutTempFolder();
  UnpackPayload();
  run.SetupScript = std::make_unique<IniFile>(run.TempFolder + "\\setup.ini");
  run.SetupTitle = GetVariableValue(kVarAppName) + " " + GetVariableValue(kVarAppVersion);
  run.UserVariables.clear();
  try {
    LoadLanguages();
    CheckRequirements();
    ForEachScriptEntry("Commands", [](const std::string& entry) {
      RunCommand(CommandPhase::BeforeInstallation, entry);
    });
    ForEachScriptEntry("Variables", [](const std::string& entry) { AddUserVariable(entry); });
    SetPageSwitches();
    IniFile& script = *run.SetupScript;
    view_.SetText(FormControl::Edit1,
                  ExpandVariables(script.ReadString("Setup", "InstallationPath", "")));
    run.UninstallEnabled = script.ReadBool("Setup", "Uninstall", false);
    FillProgramGroupList();
    CheckPreviousInstallation();
    ForEachScriptEntry("Shortcuts", [this](const std::string& entry) {
      if (entry.find("<Desktop>") != std::string::npos) ShowTicked(FormControl::CheckBox3);
      if (entry.find("<QuickLaunch>") != std::string::npos) ShowTicked(FormControl::CheckBox4);
    });
    if (!SilentRequested(script)) return;
    RunInstallation();
  } catch (const std::exception& error) {
    StopOnUnexpectedError(error.what());
  }
  int exitCode = run.InstallErrors ? kExitInstalledWithErrors : kExitInstalled;
  DeleteTempFolder();
  platform::ExitProcess(exitCode);
}

void TForm1::SetPageSwitches() {
  RunState& run = Run();
  static constexpr const char* kSwitches[] = {
      "DialogWelcome",           "DialogLicense",      "DialogReadme", "DialogUserInfo",
      "DialogDestinationFolder", "DialogProgramGroup", "DialogReady",  "DialogFinish"};
  run.PageEnabled[1] = view_.Items(FormControl::ComboLng).size() > 1;
  for (int page = 2; page <= 9; ++page)
    run.PageEnabled[page] = run.SetupScript->ReadBool("Setup", kSwitches[page - 2], false);
}

void TForm1::ShowTicked(FormControl box) {
  view_.SetVisible(box, true);
  view_.SetChecked(box, true);
}

// A probe the system refused (the 64-bit query) or any other error nobody caught, at start-up or
// during the installation: say what it was, release the run's files and leave nothing behind,
// rather than carry on with facts that are not known. The box is the wizard's once it is shown.
void TForm1::StopOnUnexpectedError(const std::string& text) {
  platform::ShowMessageBox(view_.Handle(), text, "Setup - " + Run().SetupTitle,
                           platform::kMbOk | platform::kMbIconError);
  EndInstallation(kExitFatalInstallError);
}
