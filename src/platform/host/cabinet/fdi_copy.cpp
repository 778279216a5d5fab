#include "platform/host/cabinet/fdi_copy.h"

#include <cstring>

#include "platform/host/cabinet/cab_format.h"

namespace host::fdi {
namespace {

namespace cf = cab_format;

// Files recorded as going on into the next cabinet. A boundary is crossed by a few files at
// most; the bound keeps the look-ups cheap whatever a damaged cabinet claims.
constexpr size_t kSpanningFiles = 16;

char* Text(const FdiString& text) { return const_cast<char*>(text.c_str()); }

class FileSink final : public DataSink {
 public:
  FileSink(const FdiCallbacks& callbacks, intptr_t handle)
      : callbacks_(callbacks), handle_(handle) {}
  void Write(const unsigned char* data, uint32_t size) override {
    if (callbacks_.write(handle_, const_cast<unsigned char*>(data), size) != size)
      throw FdiError{FDIERROR_TARGET_FILE};
  }

 private:
  const FdiCallbacks& callbacks_;
  intptr_t handle_;
};

// Points the cursor at the first folder of a cabinet that continues the cursor's folder.
void MoveInto(DataCursor& cursor, CabinetFile& file, const CabinetDirectory& directory) {
  cursor.file = &file;
  cursor.setId = directory.setId;
  cursor.cabinetIndex = directory.index;
  cursor.nextBlock = directory.folders[0].dataOffset;
  cursor.blocksLeft = directory.folders[0].dataBlocks;
  cursor.dataReserve = directory.dataReserve;
  cursor.continues = directory.folderCount == 1 && directory.HasNext();
}

}  // namespace

CabinetCopy::CabinetCopy(FdiContext& context, const char* cabinet, const char* cabinetPath,
                         PFNFDINOTIFY notify, void* user)
    : context_(context),
      cabinet_(cabinet),
      cabinetPath_(cabinetPath ? cabinetPath : ""),
      notify_(notify),
      user_(user),
      directory_(&context.callbacks.memory),
      spanDirectory_(&context.callbacks.memory) {
  std::strncpy(pathBuffer_, cabinetPath_, sizeof pathBuffer_ - 1);
}

intptr_t CabinetCopy::Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION& notification) {
  notification.pv = user_;
  return notify_(type, &notification);
}

void CabinetCopy::Run() {
  const FdiMemory* memory = &context_.callbacks.memory;
  FdiString path(cabinetPath_, FdiAllocator<char>(memory));
  path += cabinet_;
  main_.emplace(CabinetFile::Open(context_.callbacks, path.c_str()));
  ReadCabinetDirectory(*main_, directory_);
  TakeOverDecoder();
  NotifyCabinetInfo(directory_, cabinetPath_);

  FdiVector<SpanningFile> spanning{FdiAllocator<SpanningFile>(memory)};
  for (const CabinetFileEntry& file : directory_.files) {
    if (file.ContinuedFromPrevious())
      NotifyPartialFile(file, spanning);
    else
      CopyFile(file);
  }
  RememberSpanningFiles(spanning);
  SuspendDecoder();
}

// The decoder left by the previous FDICopy serves this cabinet's first folder when that
// folder continues the decoder's one: either the decoder already reads this cabinet (a file
// went on into it), or it read all of the previous cabinet's part of the folder. A decoder
// that already reads a later cabinet of the same set is left for that cabinet.
void CabinetCopy::TakeOverDecoder() {
  FolderDecoder& decoder = context_.decoder;
  if (!decoder.Active()) return;
  DataCursor& cursor = decoder.Cursor();
  const CabinetDirectory& here = directory_;
  const bool sameSet = cursor.setId == here.setId;
  if (sameSet && cursor.cabinetIndex > here.index) return;
  const bool continues =
      sameSet && here.firstFolderContinued && here.dataReserve == cursor.dataReserve &&
      (here.folders[0].compression & cf::kCompressionMask) == decoder.Compression();
  if (continues && cursor.cabinetIndex == here.index) {
    cursor.file = &*main_;
  } else if (continues && static_cast<uint16_t>(cursor.cabinetIndex + 1) == here.index &&
             cursor.blocksLeft == 0 && cursor.continues) {
    MoveInto(cursor, *main_, here);
  } else {
    decoder.Stop();
    return;
  }
  activeFolder_ = 0;
  dataDirectory_ = &directory_;
}

// Between FDICopy calls the decoder stays only for a folder with data in later cabinets.
void CabinetCopy::SuspendDecoder() {
  FolderDecoder& decoder = context_.decoder;
  if (!decoder.Active() || activeFolder_ < 0) return;  // none, or left for a later cabinet
  DataCursor& cursor = decoder.Cursor();
  cursor.file = nullptr;
  if (cursor.cabinetIndex == directory_.index && !cursor.continues) decoder.Stop();
}

void CabinetCopy::NotifyCabinetInfo(const CabinetDirectory& cabinet, const char* folder) {
  FDINOTIFICATION n{};
  n.psz1 = Text(cabinet.nextCabinet);
  n.psz2 = Text(cabinet.nextDisk);
  n.psz3 = const_cast<char*>(folder);
  n.setID = cabinet.setId;
  n.iCabinet = cabinet.index;
  if (Notify(fdintCABINET_INFO, n) == -1) throw FdiError{FDIERROR_USER_ABORT};
}

// psz2 and psz3 name the cabinet and disk where the file began: as recorded when it went on
// from an earlier cabinet through this context, else the previous cabinet of the header.
void CabinetCopy::NotifyPartialFile(const CabinetFileEntry& file,
                                    FdiVector<SpanningFile>& spanning) {
  const FdiString* firstCabinet = &directory_.previousCabinet;
  const FdiString* firstDisk = &directory_.previousDisk;
  if (context_.spanningSetId == directory_.setId && context_.spanningCabinet < directory_.index) {
    for (const SpanningFile& known : context_.spanning) {
      if (known.name == file.name) {
        firstCabinet = &known.firstCabinet;
        firstDisk = &known.firstDisk;
        break;
      }
    }
  }
  if (file.folderField == cf::kFolderContinuedPrevAndNext && spanning.size() < kSpanningFiles)
    spanning.push_back({file.name, *firstCabinet, *firstDisk});
  FDINOTIFICATION n{};
  n.psz1 = Text(file.name);
  n.psz2 = Text(*firstCabinet);
  n.psz3 = Text(*firstDisk);
  n.setID = directory_.setId;
  n.iCabinet = directory_.index;
  if (Notify(fdintPARTIAL_FILE, n) == -1) throw FdiError{FDIERROR_USER_ABORT};
}

void CabinetCopy::CopyFile(const CabinetFileEntry& file) {
  FDINOTIFICATION n{};
  n.psz1 = Text(file.name);
  n.cb = static_cast<long>(file.size);
  n.date = file.date;
  n.time = file.time;
  n.attribs = file.attributes;
  n.iFolder = file.folderField;
  const intptr_t handle = Notify(fdintCOPY_FILE, n);
  if (handle == -1) throw FdiError{FDIERROR_USER_ABORT};
  if (handle == 0) return;  // the client skips this file
  try {
    Extract(file, handle);
  } catch (...) {
    context_.callbacks.close(handle);
    throw;
  }
  FDINOTIFICATION close{};
  close.psz1 = Text(file.name);
  close.hf = handle;
  close.date = file.date;
  close.time = file.time;
  close.attribs = static_cast<unsigned short>(file.attributes & ~cf::kAttribExec);
  close.cb = (file.attributes & cf::kAttribExec) ? 1 : 0;
  close.iFolder = file.folderField;
  const intptr_t result = Notify(fdintCLOSE_FILE_INFO, close);
  if (result == 0 || result == -1) throw FdiError{FDIERROR_USER_ABORT};
}

void CabinetCopy::Extract(const CabinetFileEntry& file, intptr_t handle) {
  if (file.size == 0) return;
  PrepareFolder(directory_.FolderOf(file), file.folderOffset);
  FileSink sink(context_.callbacks, handle);
  context_.decoder.Deliver(file.folderOffset, file.size, sink, *this);
}

// Makes the decoder hold the folder at or before the offset, starting the folder afresh when
// needed. A folder that began in an earlier cabinet can only be read with the decoder that came
// from there (through the previous FDICopy of this context); without it the cabinet cannot be
// extracted on its own.
void CabinetCopy::PrepareFolder(uint16_t folder, uint64_t offset) {
  FolderDecoder& decoder = context_.decoder;
  if (decoder.Active() && activeFolder_ == folder && offset >= decoder.Earliest()) return;
  if (folder == 0 && directory_.firstFolderContinued) throw FdiError{FDIERROR_CORRUPT_CABINET};
  DataCursor cursor;
  cursor.file = &*main_;
  cursor.setId = directory_.setId;
  cursor.cabinetIndex = directory_.index;
  cursor.nextBlock = directory_.folders[folder].dataOffset;
  cursor.blocksLeft = directory_.folders[folder].dataBlocks;
  cursor.dataReserve = directory_.dataReserve;
  cursor.continues = folder + 1 == directory_.folderCount && directory_.HasNext();
  activeFolder_ = -1;
  decoder.Start(cursor, directory_.folders[folder].compression);
  activeFolder_ = folder;
  dataDirectory_ = &directory_;
}

void CabinetCopy::CheckNextCabinet(const CabinetDirectory& next,
                                   const CabinetDirectory& from) const {
  if (next.setId != from.setId || next.index != static_cast<uint16_t>(from.index + 1) ||
      !(next.flags & cf::kFlagPrevCabinet))
    throw FdiError{FDIERROR_WRONG_CABINET};
  if (next.dataReserve != from.dataReserve || next.folderReserve != from.folderReserve)
    throw FdiError{FDIERROR_RESERVE_MISMATCH};
  if (next.folderCount == 0 ||
      (next.folders[0].compression & cf::kCompressionMask) != context_.decoder.Compression())
    throw FdiError{FDIERROR_CORRUPT_CABINET};
}

// The decoder needs the next cabinet: ask the client where it is (fdintNEXT_CABINET), open and
// check it, and ask again with the problem in fdie when it does not fit.
void CabinetCopy::Advance(DataCursor& cursor) {
  const CabinetDirectory& from = *dataDirectory_;
  const FdiMemory* memory = &context_.callbacks.memory;
  FDIERROR problem = FDIERROR_NONE;
  for (int attempt = 0; attempt < kNextCabinetAttempts; ++attempt) {
    FDINOTIFICATION n{};
    n.psz1 = Text(from.nextCabinet);
    n.psz2 = Text(from.nextDisk);
    n.psz3 = pathBuffer_;
    n.setID = from.setId;
    n.iCabinet = static_cast<unsigned short>(from.index + 1);
    n.fdie = problem;
    if (Notify(fdintNEXT_CABINET, n) == -1) throw FdiError{FDIERROR_USER_ABORT};
    pathBuffer_[sizeof pathBuffer_ - 1] = '\0';
    FdiString path(pathBuffer_, FdiAllocator<char>(memory));
    path += from.nextCabinet;
    CabinetDirectory next(memory);
    std::optional<CabinetFile> file;
    try {
      file.emplace(CabinetFile::Open(context_.callbacks, path.c_str()));
      ReadCabinetDirectory(*file, next);
      CheckNextCabinet(next, from);
    } catch (const FdiError& error) {
      problem = error.code;
      continue;
    }
    if (!ownNames_ && &from == &directory_)
      ownNames_.emplace(next.previousCabinet, next.previousDisk);
    // `from` may be the directory replaced here; it is not used below.
    span_.reset();
    span_.emplace(std::move(*file));
    spanDirectory_ = std::move(next);
    MoveInto(cursor, *span_, spanDirectory_);
    dataDirectory_ = &spanDirectory_;
    // As cabinet.dll does, every cabinet opened is announced, continuations included.
    NotifyCabinetInfo(spanDirectory_, pathBuffer_);
    return;
  }
  throw FdiError{problem};
}

// For the next FDICopy of the set: the files of this cabinet that go on into the next one, with
// where they began.
void CabinetCopy::RememberSpanningFiles(FdiVector<SpanningFile>& spanning) {
  if (ownNames_) {
    for (const CabinetFileEntry& file : directory_.files) {
      if (file.folderField == cf::kFolderContinuedToNext && spanning.size() < kSpanningFiles)
        spanning.push_back({file.name, ownNames_->first, ownNames_->second});
    }
  }
  context_.spanning = std::move(spanning);
  context_.spanningSetId = directory_.setId;
  context_.spanningCabinet = directory_.index;
}

}  // namespace host::fdi
