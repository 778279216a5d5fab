#include "install/file_phase.h"

#include <exception>
#include <memory>

#include "app/exit_codes.h"
#include "app/ini_integer.h"
#include "app/run_state.h"
#include "cab/cab_st_comps.h"
#include "install/entry_fields.h"
#include "install/files_section.h"
#include "install/install_driver.h"
#include "install/install_window.h"
#include "install/local_date.h"
#include "install/progress.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "text/language.h"
#include "text/path_parts.h"
#include "text/variables.h"
#include "wizard/form_view.h"

namespace {

constexpr int32_t kBlockSize = 2048;

FormView& Form() { return *Run().Form; }

int ShowSetupMessage(const std::string& text, uint32_t style) {
  // What the paced copy held back is drawn before the box covers the window.
  platform::ProcessMessages();
  return platform::ShowMessageBox(InstallWindow(), text, "Setup", style);
}

std::string Message(int number, const std::string& argument) {
  return FormatMessageText(ReadText("Messages", number), argument);
}

// A prefix that names a drive, a network server or share, or nothing is not a folder this
// program could or should create.
bool IsCreatableFolder(const std::string& path) {
  if (path.empty() || path.back() == ':') return false;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t server = path.find('\\', 2);
    if (server == std::string::npos) return false;
    size_t share = path.find('\\', server + 1);
    if (share == std::string::npos) return false;
  }
  return true;
}

// The existing file is older than the setup's build date; a build date that cannot be read
// lets the file be replaced, and so does a time that cannot be read.
bool OlderThanBuild(const std::string& path) {
  std::string buildDate = Run().SetupScript->ReadString("Setup", "BuildDate", "");
  std::optional<platform::LocalDateTime> build =
      ParseLocalDateTime(buildDate, platform::ShortDateFormat(), platform::LocalNow().year);
  if (!build) return true;
  uint16_t dosDate = 0, dosTime = 0;
  if (!platform::FileLastWriteDos(path, dosDate, dosTime)) return true;
  return Earlier(FromDosDateTime(dosDate, dosTime), *build);
}

}  // namespace

TFilePhase::TFilePhase() {
  fileCab_ = Run().TempFolder + "\\file.cab";
  setupFile_ = platform::FileOpen(platform::ExecutablePath(), platform::FileAccess::Read,
                                  platform::FileCreation::OpenExisting);
  if (setupFile_ != platform::kInvalidFile) setupSize_ = platform::FileSeek(setupFile_, 0, 2);
}

TFilePhase::~TFilePhase() { CloseFiles(); }

// Before every way out: the temporary folder can only go once nothing in it is open.
void TFilePhase::CloseFiles() {
  if (setupFile_ != platform::kInvalidFile) platform::FileClose(setupFile_);
  setupFile_ = platform::kInvalidFile;
  if (fileCabHandle_ != platform::kInvalidFile) platform::FileClose(fileCabHandle_);
  fileCabHandle_ = platform::kInvalidFile;
}

void TFilePhase::Install(int32_t filesCount) {
  count_ = filesCount;
  // Numbers after the section's last entry have nothing to do; a count far beyond the entries
  // would otherwise be walked to its end.
  int32_t end = FilesEntriesEnd(*Run().SetupScript, filesCount);
  for (number_ = 0; number_ < end; ++number_) ProcessEntry(number_);
  CloseFiles();
  // The temporary cabinet is cut and written again for each entry and goes once all are done:
  // a new file per entry would make the file system find and free a new one each time.
  platform::FileDelete(fileCab_);
}

TFilePhase::Entry TFilePhase::ReadEntry(const std::string& value) {
  std::vector<std::string> fields = SplitEntry(value, kFilesSeparator);
  Entry entry;
  int32_t size = 0;
  // A negative size would move the payload position backwards: the file is as corrupt as with
  // a size that is no number at all.
  if (fields.size() < 4 || !ParseIniInteger(TrimBlanksAndControls(fields[1]), size) || size < 0 ||
      !PayloadHolds(Run().PayloadPos, size, setupSize_)) {
    CloseFiles();
    platform::ShowMessageBox(InstallWindow(), "The setup file is corrupted.", "Error",
                             platform::kMbOk | platform::kMbIconError);
    EndInstallation(kExitCorrupted);
  }
  entry.destination = ExpandVariables(fields[0]);
  entry.storedSize = size;
  entry.existMode = fields[2];
  entry.recorded = fields[3] == "Yes";
  return entry;
}

void TFilePhase::ProcessEntry(int32_t number) {
  std::string value = Run().SetupScript->ReadString("Files", std::to_string(number), "");
  if (value.empty()) return;
  Entry entry = ReadEntry(value);
  Form().SetText(FormControl::Label14, ShortenDisplayPath(entry.destination));
  bool exists = platform::FileExists(entry.destination);
  if (exists && !ShouldExtract(entry)) {
    Skip(entry);
    return;
  }
  // Known before extraction: a failed one must not leave a half-written file where there was
  // none, but must not delete a file it only wrote over either. The modes that extract over
  // an existing file have deleted it first, unless the mode says to write over it.
  bool existedBefore = exists && platform::FileExists(entry.destination);
  CreateFolders(entry);
  CopyCabinet(entry);
  if (!ExtractCabinet(entry, existedBefore)) return;
  Run().PayloadPos += entry.storedSize;
  if (entry.recorded) installedFiles_.push_back(entry.destination);
}

// Applies the exist mode to an existing destination: true to extract (after deleting the old
// file where the mode says so), false to skip the entry.
bool TFilePhase::ShouldExtract(const Entry& entry) {
  const std::string& mode = entry.existMode;
  bool replace = true;
  if (mode == "Skip") {
    replace = false;
  } else if (mode == "Ask") {
    int answer = ShowSetupMessage(Message(12, entry.destination),
                                  platform::kMbYesNo | platform::kMbIconQuestion);
    replace = answer == platform::kIdYes;
  } else if (mode == "Overwrite only if newer") {
    replace = OlderThanBuild(entry.destination);
  } else if (mode != "Overwrite") {
    // Unknown modes extract over the file without deleting it first.
    return true;
  }
  if (!replace) return false;
  platform::FileDelete(entry.destination);
  return true;
}

void TFilePhase::Skip(const Entry& entry) { Run().PayloadPos += entry.storedSize; }

void TFilePhase::CreateFolders(const Entry& entry) {
  const std::string& path = entry.destination;
  // Most entries share their folder with the one before: nothing to look at again.
  size_t last = path.rfind('\\');
  if (last != std::string::npos && existingFolders_.count(path.substr(0, last))) return;
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
    std::string folder = path.substr(0, at);
    if (existingFolders_.count(folder)) continue;
    if (!IsCreatableFolder(folder) || platform::FolderExists(folder)) {
      existingFolders_.insert(folder);
      continue;
    }
    if (!platform::FolderCreate(folder)) {
      CloseFiles();
      ShowSetupMessage(Message(13, folder), platform::kMbOk | platform::kMbIconError);
      EndInstallation(kExitFatalInstallError);
    }
    existingFolders_.insert(folder);
    if (entry.recorded) createdFolders_.push_back(folder);
  }
}

void TFilePhase::FailFileCab() {
  CloseFiles();
  ShowSetupMessage(FormatMessageText("Error creating file:<#>%s<#><#>Access is denied.", fileCab_),
                   platform::kMbOk | platform::kMbIconError);
  EndInstallation(kExitFatalInstallError);
}

// Copies the entry's cabinet in blocks through one buffer, so memory does not grow with the
// file, with the bar moved and a cancel honoured after every block, and messages let run at
// the pacer's rate (the cancel can only have come from them).
void TFilePhase::CopyCabinet(const Entry& entry) {
  RunState& run = Run();
  if (setupFile_ == platform::kInvalidFile ||
      platform::FileSeek(setupFile_, run.PayloadPos, 0) != run.PayloadPos)
    FailFileCab();
  // One handle for the whole phase, written over from its start for each entry: a file
  // created anew per entry costs the system a new file each time, and one cut to nothing and
  // written again is pushed to the disk as it is closed on some file systems (ext4), which the
  // temporary cabinet never needs.
  if (fileCabHandle_ == platform::kInvalidFile) {
    fileCabHandle_ = platform::FileOpen(fileCab_, platform::FileAccess::Write,
                                        platform::FileCreation::OpenAlways);
    if (fileCabHandle_ == platform::kInvalidFile) FailFileCab();
  }
  platform::FileHandle out = fileCabHandle_;
  if (platform::FileSeek(out, 0, 0) != 0) FailFileCab();
  char buffer[kBlockSize];
  int64_t copied = 0;
  int32_t read = 0;
  do {
    int64_t wanted = std::min<int64_t>(kBlockSize, entry.storedSize - copied);
    read = platform::FileRead(setupFile_, buffer, static_cast<uint32_t>(wanted));
    if (read < 0 ||
        (read > 0 && platform::FileWrite(out, buffer, static_cast<uint32_t>(read)) != read))
      FailFileCab();
    copied += read;
    Form().SetPosition(FormControl::ProgressBar1,
                       FileProgress(number_, count_, copied, entry.storedSize));
    pacer_.Tick();
    if (run.CancelRequested) {
      CloseFiles();
      EndInstallation(kExitCancelled);
    }
  } while (read == kBlockSize);
  // What an earlier, longer cabinet left behind the new one goes.
  if (copied < fileCabSize_ && !platform::FileTruncate(out)) FailFileCab();
  fileCabSize_ = copied;
  pacer_.Now();
}

bool TFilePhase::ExtractCabinet(const Entry& entry, bool existedBefore) {
  bool extracted = true;
  // What the reader was still writing when it failed; the cabinet's name for the file may
  // differ from the destination's.
  std::vector<std::string> unfinished;
  try {
    auto reader = std::make_unique<TSTCabReader>();
    try {
      reader->Extract(fileCab_, FolderOfPath(entry.destination));
    } catch (const std::exception&) {
      unfinished = reader->UnfinishedCreatedFiles();
      throw;
    }
  } catch (const std::exception&) {
    extracted = false;
  }
  if (extracted) return true;
  if (!existedBefore) platform::FileDelete(entry.destination);
  for (const std::string& file : unfinished) platform::FileDelete(file);
  int answer =
      ShowSetupMessage(Message(14, entry.destination), platform::kMbYesNo | platform::kMbIconError);
  if (answer != platform::kIdYes) {
    CloseFiles();
    EndInstallation(kExitFatalInstallError);
  }
  Run().PayloadPos += entry.storedSize;
  Run().InstallErrors = true;
  return false;
}
