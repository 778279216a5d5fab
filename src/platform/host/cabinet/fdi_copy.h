// One FDICopy call: reads the cabinet's directory, then delivers the notifications in cabinet
// order and extracts the files that the client accepts, following a folder into the next
// cabinets of a set when a file goes on there.
#pragma once

#include <optional>

#include "platform/fdi.h"
#include "platform/host/cabinet/cab_directory.h"
#include "platform/host/cabinet/cab_file.h"
#include "platform/host/cabinet/fdi_context.h"
#include "platform/host/cabinet/folder_decoder.h"

namespace host::fdi {

// How often fdintNEXT_CABINET is repeated for a next cabinet that cannot be used before the
// copy fails with the last problem found.
constexpr int kNextCabinetAttempts = 8;

class CabinetCopy final : public NextCabinetSource {
 public:
  CabinetCopy(FdiContext& context, const char* cabinet, const char* cabinetPath,
              PFNFDINOTIFY notify, void* user);
  CabinetCopy(const CabinetCopy&) = delete;
  CabinetCopy& operator=(const CabinetCopy&) = delete;

  // Throws FdiError (or std::bad_alloc); the caller then drops the decoder state.
  void Run();

  void Advance(DataCursor& cursor) override;

 private:
  void TakeOverDecoder();
  void SuspendDecoder();
  void NotifyCabinetInfo(const CabinetDirectory& cabinet, const char* folder);
  void NotifyPartialFile(const CabinetFileEntry& file, FdiVector<SpanningFile>& spanning);
  void CopyFile(const CabinetFileEntry& file);
  void Extract(const CabinetFileEntry& file, intptr_t handle);
  void PrepareFolder(uint16_t folder, uint64_t offset);
  void CheckNextCabinet(const CabinetDirectory& next, const CabinetDirectory& from) const;
  void RememberSpanningFiles(FdiVector<SpanningFile>& spanning);
  intptr_t Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION& notification);

  FdiContext& context_;
  const char* cabinet_;
  const char* cabinetPath_;
  PFNFDINOTIFY notify_;
  void* user_;
  // fdintNEXT_CABINET's psz3: the folder of the cabinets, which the client may change.
  char pathBuffer_[kFdiPathBufferSize] = {};

  std::optional<CabinetFile> main_;
  CabinetDirectory directory_;
  // The later cabinet that the decoder reads now, after a file went on into it.
  std::optional<CabinetFile> span_;
  CabinetDirectory spanDirectory_;
  // The directory of the cabinet the decoder reads from.
  const CabinetDirectory* dataDirectory_ = nullptr;
  // The folder of this cabinet that the decoder holds, or -1.
  int activeFolder_ = -1;
  // This cabinet's name and disk as the next cabinet's header gives them, once it was read.
  std::optional<std::pair<FdiString, FdiString>> ownNames_;
};

}  // namespace host::fdi
