#include "install/install_driver.h"

#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/run_state.h"
#include "app/temp_folder.h"
#include "install/commands.h"
#include "install/entry_fields.h"
#include "install/file_associations.h"
#include "install/file_phase.h"
#include "install/ini_values.h"
#include "install/other_tasks.h"
#include "install/registry_entry.h"
#include "install/shortcuts.h"
#include "install/uninstall_record.h"
#include "install/uninstall_registration.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "text/language.h"
#include "text/path_parts.h"
#include "text/variables.h"
#include "wizard/form_view.h"

namespace {

FormView& Form() { return *Run().Form; }
IniFile& Script() { return *Run().SetupScript; }

void SetStatus(int number) { Form().SetText(FormControl::Label8, ReadText("Install", number)); }
void ClearItemLine() { Form().SetText(FormControl::Label14, ""); }

std::string Flag(bool value) { return value ? "1" : "0"; }

// The uninstaller's texts and the facts it needs, in the order it expects them.
void WriteUninstallerTexts(TUninstallRecord& record, const std::string& installFolder) {
  RunState& run = Run();
  std::vector<IniWrite> writes;
  for (int n = 0; n <= 6; ++n)
    writes.push_back({"Messages", std::to_string(n), ExpandVariables(ReadText("Uninstall", n))});
  for (int n = 0; n <= 8; ++n)
    writes.push_back({"Updater", std::to_string(n), ExpandVariables(ReadText("Updater", n))});
  writes.push_back({"General", "AppName", GetVariableValue(kVarAppName)});
  writes.push_back({"General", "AppVersion", GetVariableValue(kVarAppVersion)});
  writes.push_back({"General", "Admin", Flag(Script().ReadBool("Setup", "Admin", false))});
  std::string mainExecutable = Script().ReadString("Setup", "MainExecutable", "");
  if (!mainExecutable.empty())
    writes.push_back({"General", "MainExecutable", ExpandVariables(mainExecutable)});
  writes.push_back({"General", "InstallDir", installFolder});
  bool allUsers = Script().ReadBool("Setup", "AllUsersMenu", false);
  writes.push_back({"General", "ProgramGroupDir",
                    GetVariableValue(allUsers ? kVarCommonProgramsMenu : kVarProgramsMenu) + "\\" +
                        Form().Text(FormControl::ComboBox1)});
  if (run.UninstallEnabled) {
    bool visit = Script().ReadBool("Setup", "VisitUninstallPage", false);
    writes.push_back({"General", "UninstallURL",
                      visit ? ExpandVariables(Script().ReadString("Setup", "UninstallURL", ""))
                            : std::string()});
    writes.push_back(
        {"General", "UninstallForce", Flag(Script().ReadBool("Setup", "UninstallForce", false))});
    writes.push_back({"General", "UninstallRestart",
                      Flag(Script().ReadBool("Setup", "UninstallRestart", false))});
  }
  if (Script().ReadBool("Setup", "Updater", false))
    writes.push_back(
        {"General", "UpdateURL", ExpandVariables(Script().ReadString("Setup", "UpdateURL", ""))});
  record.WriteTexts(writes);
}

// Calls the task for every entry of the section in file order; the key list stays in the
// scratch list for the whole step.
template <typename Task>
void ForEachEntry(const char* section, Task task) {
  std::vector<std::string> keys = Script().ReadSection(section);
  for (const std::string& key : keys) task(Script().ReadString(section, key, ""));
}

// Puts the record kept in the temporary folder into the installation folder. A copy under a
// temporary name moved into place leaves either no record or a whole one, never a cut file.
bool CopyRecord(const std::string& from, const std::string& to) {
  std::string partial = to + ".partial";
  platform::FileHandle in =
      platform::FileOpen(from, platform::FileAccess::Read, platform::FileCreation::OpenExisting);
  if (in == platform::kInvalidFile) return false;
  platform::FileHandle out = platform::FileOpen(partial, platform::FileAccess::Write,
                                                platform::FileCreation::CreateAlways);
  bool ok = out != platform::kInvalidFile;
  char buffer[8192];
  while (ok) {
    int32_t read = platform::FileRead(in, buffer, sizeof buffer);
    if (read <= 0) {
      ok = read == 0;
      break;
    }
    ok = platform::FileWrite(out, buffer, static_cast<uint32_t>(read)) == read;
  }
  platform::FileClose(in);
  if (out != platform::kInvalidFile) {
    ok = platform::FileFlush(out) && ok;
    platform::FileClose(out);
  }
  if (ok && platform::FileMoveReplace(partial, to)) return true;
  platform::FileDelete(partial);
  return false;
}

}  // namespace

void RunInstallation() {
  RunState& run = Run();
  // A program started before may have changed the setup script while the wizard was shown.
  IniFile::NoteOutsideChanges();
  run.InstallErrors = false;
  run.RecordFailureReported = false;
  run.CancelRequested = false;
  std::string installFolder =
      WithoutOneTrailingBackslash(TrimBlanksAndControls(Form().Text(FormControl::Edit1)));
  Form().SetText(FormControl::Edit1, installFolder);
  Form().SetPosition(FormControl::ProgressBar1, 0);
  SetStatus(2);

  std::string installedRecord = installFolder + "\\Uninstall.ini";
  bool recordExisted = platform::FileExists(installedRecord);
  // A record kept in the temporary folder is thrown away unless it is copied at the end.
  bool recordKept = recordExisted || run.UninstallEnabled;
  run.UninstallRecord = std::make_unique<TUninstallRecord>(
      recordExisted ? installedRecord : run.TempFolder + "\\uninstall.ini", installedRecord,
      recordKept);
  WriteUninstallerTexts(*run.UninstallRecord, installFolder);

  {
    TFilePhase files;
    files.Install(Script().ReadInteger("Setup", "FilesCount", 0));
    if (run.UninstallEnabled) AddUninstallRecord("Files", installedRecord);

    platform::ProcessMessages();
    SetStatus(3);
    ForEachEntry("Shortcuts", CreateShortcut);
    ClearItemLine();
    SetStatus(4);
    ForEachEntry("Registry", ApplyRegistryEntry);
    ClearItemLine();
    SetStatus(5);
    ForEachEntry("INI", WriteIniValue);
    ClearItemLine();
    SetStatus(6);
    ForEachEntry("Extensions", CreateAssociation);
    ClearItemLine();
    SetStatus(10);
    platform::ProcessMessages();
    ForEachEntry("Others", ApplyOtherTask);
    ClearItemLine();
    ForEachEntry("Commands", [](const std::string& entry) {
      RunCommand(CommandPhase::AfterInstallation, entry);
    });
    Form().SetPosition(FormControl::ProgressBar1, 100);
    SetStatus(10);
    platform::ProcessMessages();

    run.UninstallRecord->AddAll("Folders", files.CreatedFolders());
    run.UninstallRecord->AddAll("Files", files.InstalledFiles());
  }
  if (run.UninstallEnabled && Script().ReadBool("Setup", "ShowAddRemove", false))
    RegisterUninstallInformation();
  std::string recordPath = run.UninstallRecord->Path();
  run.UninstallRecord.reset();
  // Without the copy the product is installed and has no record at all.
  if (run.UninstallEnabled && !platform::FileExists(installedRecord) &&
      !CopyRecord(recordPath, installedRecord))
    ReportRecordFailure(installedRecord);
  platform::ProcessMessages();
}

void EndInstallation(int exitCode) {
  RunState& run = Run();
  run.UninstallRecord.reset();
  run.SetupScript.reset();
  run.LanguageTable.reset();
  run.CabReader.reset();
  DeleteTempFolder();
  platform::ExitProcess(exitCode);
}
