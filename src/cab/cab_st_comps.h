// The cabinet reader component: extracts every file of a cabinet (or cabinet set) into a
// destination folder through the FDI interface, with events as extension points.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/fdi.h"
#include "platform/setup_error.h"

class ESTCabinet : public ESetupError {
 public:
  explicit ESTCabinet(const ERF& error);
  int32_t ErrorCode;
  int32_t OsError;
  bool HasError;

 private:
  static std::string MessageOf(const ERF& error);
};

enum TSTCabReaderOption : uint8_t {
  croExecuteOnExtract = 1 << 0,
  croDontOverwriteReadOnlyFiles = 1 << 1,
};
using TSTCabReaderOptions = uint8_t;

enum TSTCabExtractOption : uint8_t { OnlyFirstCabinet = 1 << 0 };
using TSTCabExtractOptions = uint8_t;

class TSTCabReader;

using TSTCabReaderCabinetInfoEvent =
    std::function<void(TSTCabReader& Sender, const std::string& aNextCabName,
                       const std::string& aNextDiskName, const std::string& aCabPath,
                       uint16_t aSetID, uint16_t aCabNo, bool& anAbort)>;
using TSTCabReaderCopyFileEvent = std::function<void(
    TSTCabReader& Sender, const std::string& aSrcFileName, int32_t anUncompressedSize,
    uint16_t aDate, uint16_t aTime, uint16_t anAttrs, uint16_t aFolderNo,
    std::string& aDstFullFileName, bool& anAbort)>;
using TSTCabReaderCopyPartialFileEvent = std::function<void(
    TSTCabReader& Sender, const std::string& aSrcFileName, const std::string& aStartCabName,
    const std::string& aStartDiskName, const std::string& aDstFullFileName, bool& anAbort)>;
using TSTCabReaderCloseFileEvent = std::function<void(
    TSTCabReader& Sender, const std::string& aSrcFileName, uint16_t aDate, uint16_t aTime,
    uint16_t anAttrs, uint16_t aFolderNo, bool& anExec, const std::string& aDstFullFileName,
    bool& anAbort)>;
using TSTCabReaderNextCabinetEvent =
    std::function<void(TSTCabReader& Sender, const std::string& aCabName,
                       const std::string& aDiskName, std::string& aCabPath, FDIERROR anError,
                       bool& anAbort)>;
using TSTCabReaderUnrecognizedNotifyEvent =
    std::function<void(TSTCabReader& Sender, FDINOTIFICATIONTYPE aNotifyType,
                       FDINOTIFICATION& aNotify, intptr_t& aResult)>;

class TSTCabReader {
 public:
  TSTCabReader();
  ~TSTCabReader();
  TSTCabReader(const TSTCabReader&) = delete;
  TSTCabReader& operator=(const TSTCabReader&) = delete;

  // Extracts every file of the cabinet (and, unless OnlyFirstCabinet, of the cabinets that
  // follow it in its set) into the folder. Raises ESTCabinet on failure, platform::EOSError
  // when the cabinet library cannot be loaded.
  void Extract(const std::string& cabinetPath, const std::string& destinationFolder,
               TSTCabExtractOptions extractOptions = 0);
  // The FDI context, created on first use.
  HFDI Context();
  // After a failed Extract: the files it created that were still being written, so that the
  // caller can remove what would otherwise stay behind half-written. Files that existed before
  // and were written over are not listed.
  std::vector<std::string> UnfinishedCreatedFiles() const;

  TSTCabReaderOptions Options = 0;
  TSTCabReaderCabinetInfoEvent OnCabinetInfo;
  TSTCabReaderCopyFileEvent OnCopyFile;
  TSTCabReaderCopyPartialFileEvent OnCopyPartialFile;
  TSTCabReaderCloseFileEvent OnCloseFile;
  TSTCabReaderNextCabinetEvent OnNextCabinet;
  TSTCabReaderUnrecognizedNotifyEvent OnUnrecognizedNotify;

 private:
  friend struct CabReaderNotifications;
  void DestroyContext();
  intptr_t Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION& notification);
  intptr_t CabinetInfo(FDINOTIFICATION& notification);
  intptr_t PartialFile(FDINOTIFICATION& notification);
  intptr_t CopyFile(FDINOTIFICATION& notification);
  intptr_t CloseFileInfo(FDINOTIFICATION& notification);
  intptr_t NextCabinet(FDINOTIFICATION& notification);
  // A file the reader has open for writing: the name the cabinet gives it, where it goes, and
  // whether this extraction created it.
  struct OpenFile {
    std::string name;
    std::string path;
    bool created = false;
  };
  OpenFile TakeOpenFile(const std::string& name);

  HFDI FdiContext = nullptr;
  ERF Error = {};
  std::string CabinetFile;
  std::string DestDir;
  std::string NextCabinetPath;
  std::string RedirectedCabinet;
  bool Redirected = false;
  // A name in the cabinet would have been written outside the destination folder.
  bool UnsafeName = false;
  std::vector<OpenFile> OpenFiles;
};

// Joins path pieces with exactly one backslash between them; empty pieces are skipped.
std::string PathJoin(std::initializer_list<std::string> pieces);

// The operating-system error recorded by the file callbacks (process-wide).
extern uint32_t LastIoError;
