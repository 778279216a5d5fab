#include "cab/cab_st_comps.h"

#include <cstring>

#include "cab/cab_file_callbacks.h"
#include "cab/cab_intf.h"
#include "cab/cab_st_consts.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/number_text.h"
#include "platform/shell.h"
#include "platform/windows_path.h"

namespace {

std::string Hex4(uint32_t value) { return HexText(value, 4); }

std::string TextOf(const char* text) { return text ? text : ""; }

// Date and time of an extracted file, as the cabinet stores them, set through the handle that
// wrote it, before it is closed: no second open of the file.
void SetFileDateTime(platform::FileHandle file, uint16_t date, uint16_t time) {
  platform::FileTime local, utc;
  if (platform::DosDateTimeToFileTime(date, time, local) &&
      platform::LocalFileTimeToFileTime(local, utc))
    platform::FileSetTimes(file, &utc, nullptr, &utc);
}

// The four plain attributes the cabinet stores. A file this extraction created has the archive
// attribute alone, as the system gives every new file; only other attributes cost a call.
void SetFileAttributes(const std::string& path, uint16_t attributes, bool created) {
  uint32_t wanted = attributes & (platform::kAttrReadOnly | platform::kAttrHidden |
                                  platform::kAttrSystem | platform::kAttrArchive);
  if (created && wanted == platform::kAttrArchive) return;
  platform::FileAttributesSet(path, wanted);
}

}  // namespace

// The notification entry that FDI calls; the reader travels in pv.
struct CabReaderNotifications {
  static intptr_t DIAMONDAPI Handle(FDINOTIFICATIONTYPE type, FDINOTIFICATION* notification) {
    LastIoError = 0;
    auto* reader = static_cast<TSTCabReader*>(notification->pv);
    // Nothing may unwind through the cabinet library.
    try {
      return reader->Notify(type, *notification);
    } catch (...) {
      return -1;
    }
  }
};

ESTCabinet::ESTCabinet(const ERF& error)
    : ESetupError(MessageOf(error)),
      ErrorCode(error.erfOper),
      OsError(error.erfType),
      HasError(error.fError != 0) {}

std::string ESTCabinet::MessageOf(const ERF& error) {
  if (!error.fError) return "FDI error";
  std::string message = FdiErrorText(error.erfOper) + " [0x" + Hex4(error.erfOper) + "]";
  if (error.erfType != 0)
    message += ".\r\n" + platform::SystemErrorText(static_cast<uint32_t>(error.erfType)) + " [0x" +
               Hex4(static_cast<uint32_t>(error.erfType)) + "].";
  return message;
}

std::string PathJoin(std::initializer_list<std::string> pieces) {
  std::string result;
  for (const std::string& piece : pieces) {
    if (piece.empty()) continue;
    if (result.empty()) {
      result = piece;
      continue;
    }
    bool textEnds = result.back() == '\\';
    bool pieceBegins = piece.front() == '\\';
    if (textEnds && pieceBegins) result.pop_back();
    else if (!textEnds && !pieceBegins) result += '\\';
    result += piece;
  }
  return result;
}

TSTCabReader::TSTCabReader() = default;

TSTCabReader::~TSTCabReader() {
  try {
    DestroyContext();
  } catch (...) {
    // A destructor cannot report; the context is cleared either way.
  }
}

HFDI TSTCabReader::Context() {
  if (FdiContext) return FdiContext;
  LoadCabinetLibrary();
  Error = {};
  FdiContext = CabinetLibrary().FDICreate(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose,
                                          CabSeek, kFdiCpuUnknown, &Error);
  if (!FdiContext) throw ESTCabinet(Error);
  return FdiContext;
}

void TSTCabReader::DestroyContext() {
  if (!FdiContext) return;
  HFDI context = FdiContext;
  FdiContext = nullptr;
  if (!CabinetLibrary().FDIDestroy(context)) throw ESTCabinet(Error);
}

void TSTCabReader::Extract(const std::string& cabinetPath, const std::string& destinationFolder,
                           TSTCabExtractOptions extractOptions) {
  CabinetFile = winpath::ExpandPath(cabinetPath, platform::CurrentFolder());
  DestDir = winpath::WithTrailingBackslash(destinationFolder);
  OpenFiles.clear();
  std::string current = CabinetFile;
  // A set whose cabinets name each other in a circle would be extracted for ever.
  std::vector<std::string> visited;
  while (!current.empty()) {
    for (const std::string& earlier : visited) {
      if (winpath::SameText(earlier, current)) {
        Error = {};
        Error.erfOper = FDIERROR_CORRUPT_CABINET;
        Error.fError = 1;
        throw ESTCabinet(Error);
      }
    }
    visited.push_back(current);
    NextCabinetPath.clear();
    RedirectedCabinet.clear();
    Redirected = false;
    UnsafeName = false;
    HFDI context = Context();
    std::string name = winpath::NamePart(current);
    std::string folder = winpath::FolderPart(current);
    Error = {};
    // The shared error slot would otherwise still hold an earlier extraction's error.
    LastIoError = 0;
    if (!CabinetLibrary().FDICopy(context, name.data(), folder.data(), 0,
                                  CabReaderNotifications::Handle, nullptr, this)) {
      Error.erfType = static_cast<int>(LastIoError);
      if (UnsafeName) {
        // Refused names count as a damaged cabinet, not as a user's abort.
        Error.erfOper = FDIERROR_CORRUPT_CABINET;
        Error.erfType = 0;
        Error.fError = 1;
      }
      throw ESTCabinet(Error);
    }
    if (Redirected)
      current = RedirectedCabinet;
    else if (winpath::SameText(NextCabinetPath, current))
      current.clear();
    else
      current = NextCabinetPath;
    if (extractOptions & OnlyFirstCabinet)
      current.clear();
    else if (!current.empty() && !platform::FileExists(current))
      current.clear();
  }
}

intptr_t TSTCabReader::Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION& notification) {
  switch (type) {
    case fdintCABINET_INFO: return CabinetInfo(notification);
    case fdintPARTIAL_FILE: return PartialFile(notification);
    case fdintCOPY_FILE: return CopyFile(notification);
    case fdintCLOSE_FILE_INFO: return CloseFileInfo(notification);
    case fdintNEXT_CABINET: return NextCabinet(notification);
    default: {
      intptr_t result = 0;
      if (OnUnrecognizedNotify) OnUnrecognizedNotify(*this, type, notification, result);
      return result;
    }
  }
}

intptr_t TSTCabReader::CabinetInfo(FDINOTIFICATION& notification) {
  std::string next = TextOf(notification.psz1);
  NextCabinetPath = next.empty() ? "" : PathJoin({TextOf(notification.psz3), next});
  bool abort = false;
  if (OnCabinetInfo)
    OnCabinetInfo(*this, next, TextOf(notification.psz2), TextOf(notification.psz3),
                  notification.setID, notification.iCabinet, abort);
  return abort ? -1 : 0;
}

intptr_t TSTCabReader::PartialFile(FDINOTIFICATION& notification) {
  std::string name = TextOf(notification.psz1);
  std::string destination;
  for (const OpenFile& open : OpenFiles) {
    if (winpath::SameText(open.name, name)) {
      destination = open.path;
      break;
    }
  }
  bool abort = false;
  if (OnCopyPartialFile)
    OnCopyPartialFile(*this, name, TextOf(notification.psz2), TextOf(notification.psz3),
                      destination, abort);
  return abort ? -1 : 0;
}

intptr_t TSTCabReader::CopyFile(FDINOTIFICATION& notification) {
  std::string name = TextOf(notification.psz1);
  // A name with a drive, a root or ".." would land outside the destination folder.
  if (!winpath::IsContainedRelativeName(name)) {
    UnsafeName = true;
    return -1;
  }
  std::string destination = PathJoin({DestDir, name});
  bool abort = false;
  if (OnCopyFile)
    OnCopyFile(*this, name, static_cast<int32_t>(notification.cb), notification.date,
               notification.time, notification.attribs, notification.iFolder, destination, abort);
  if (abort) return -1;
  if (destination.empty()) return 0;
  platform::ForceFolders(winpath::WithoutTrailingBackslash(winpath::FolderPart(destination)));
  uint32_t attributes = platform::FileAttributesGet(destination);
  bool created = attributes == platform::kInvalidAttributes;
  if (!created && (attributes & platform::kAttrDirectory) == 0 &&
      (attributes & platform::kAttrReadOnly)) {
    if (Options & croDontOverwriteReadOnlyFiles) return 0;
    platform::FileAttributesSet(destination, attributes & ~platform::kAttrReadOnly);
  }
  intptr_t file = OpenWithFlags(destination, kOpenBinary | kOpenCreate | kOpenWriteOnly | kOpenSequential);
  // An existing longer file would otherwise keep its tail behind the new content. Cutting it
  // here rather than opening with truncation keeps its hidden or system attribute from making
  // the open fail. A file that was not there has nothing to cut.
  if (file != -1 && !created && !platform::FileTruncate(static_cast<platform::FileHandle>(file))) {
    CabClose(file);
    file = -1;
  }
  if (file != -1) OpenFiles.push_back({name, destination, created});
  return file;
}

std::vector<std::string> TSTCabReader::UnfinishedCreatedFiles() const {
  std::vector<std::string> files;
  for (const OpenFile& open : OpenFiles)
    if (open.created) files.push_back(open.path);
  return files;
}

TSTCabReader::OpenFile TSTCabReader::TakeOpenFile(const std::string& name) {
  for (size_t i = 0; i < OpenFiles.size(); ++i) {
    if (winpath::SameText(OpenFiles[i].name, name)) {
      OpenFile open = OpenFiles[i];
      OpenFiles.erase(OpenFiles.begin() + static_cast<std::ptrdiff_t>(i));
      return open;
    }
  }
  return {};
}

intptr_t TSTCabReader::CloseFileInfo(FDINOTIFICATION& notification) {
  std::string name = TextOf(notification.psz1);
  OpenFile open = TakeOpenFile(name);
  std::string destination = open.path;
  auto file = static_cast<platform::FileHandle>(notification.hf);
  if (!destination.empty()) SetFileDateTime(file, notification.date, notification.time);
  if (!platform::FileClose(file)) LastIoError = platform::LastError();
  if (!destination.empty())
    SetFileAttributes(destination, notification.attribs, open.created);
  bool exec = (notification.cb & 1) != 0;
  bool abort = false;
  if (OnCloseFile)
    OnCloseFile(*this, name, notification.date, notification.time, notification.attribs,
                notification.iFolder, exec, destination, abort);
  if (abort) return -1;
  if (exec && (Options & croExecuteOnExtract) && !destination.empty())
    platform::ShellOpen(destination);
  return 1;
}

intptr_t TSTCabReader::NextCabinet(FDINOTIFICATION& notification) {
  intptr_t result;
  if (OnNextCabinet) {
    std::string path = TextOf(notification.psz3);
    bool abort = false;
    OnNextCabinet(*this, TextOf(notification.psz1), TextOf(notification.psz2), path,
                  notification.fdie, abort);
    path = winpath::WithTrailingBackslash(path);
    // FDI's buffer holds 255 characters; a longer path cannot be handed back.
    if (abort || path.size() >= static_cast<size_t>(kFdiPathBufferSize)) {
      result = -1;
    } else {
      std::memcpy(notification.psz3, path.c_str(), path.size() + 1);
      result = 0;
    }
  } else {
    result = notification.fdie == FDIERROR_NONE ? 0 : -1;
  }
  RedirectedCabinet = PathJoin({TextOf(notification.psz3), TextOf(notification.psz1)});
  Redirected = true;
  return result;
}
