// The cabinet decompression interface (FDI) as the system's cabinet library publishes it:
// the same types, notification record, callbacks and error codes on every platform, so that
// the cabinet reader is one piece of code over the real cabinet.dll and over the host library.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define DIAMONDAPI __cdecl
#else
#define DIAMONDAPI
#endif

extern "C" {

typedef void* HFDI;
typedef void* HFCI;

// The error record: erfOper is the FDIERROR code, erfType the operating-system error,
// fError set when an error occurred.
struct ERF {
  int erfOper;
  int erfType;
  int fError;
};

enum FDIERROR {
  FDIERROR_NONE,
  FDIERROR_CABINET_NOT_FOUND,
  FDIERROR_NOT_A_CABINET,
  FDIERROR_UNKNOWN_CABINET_VERSION,
  FDIERROR_CORRUPT_CABINET,
  FDIERROR_ALLOC_FAIL,
  FDIERROR_BAD_COMPR_TYPE,
  FDIERROR_MDI_FAIL,
  FDIERROR_TARGET_FILE,
  FDIERROR_RESERVE_MISMATCH,
  FDIERROR_WRONG_CABINET,
  FDIERROR_USER_ABORT,
};

enum FDINOTIFICATIONTYPE {
  fdintCABINET_INFO,
  fdintPARTIAL_FILE,
  fdintCOPY_FILE,
  fdintCLOSE_FILE_INFO,
  fdintNEXT_CABINET,
  fdintENUMERATE,
};

struct FDINOTIFICATION {
  long cb;
  char* psz1;
  char* psz2;
  char* psz3;  // for fdintNEXT_CABINET a buffer of kFdiPathBufferSize characters
  void* pv;
  intptr_t hf;
  unsigned short date;
  unsigned short time;
  unsigned short attribs;
  unsigned short setID;
  unsigned short iCabinet;
  unsigned short iFolder;
  FDIERROR fdie;
};

struct FDICABINETINFO {
  long cbCabinet;
  unsigned short cFolders;
  unsigned short cFiles;
  unsigned short setID;
  unsigned short iCabinet;
  int fReserve;
  int hasprev;
  int hasnext;
};

typedef void*(DIAMONDAPI* PFNALLOC)(unsigned long cb);
typedef void(DIAMONDAPI* PFNFREE)(void* pv);
typedef intptr_t(DIAMONDAPI* PFNOPEN)(char* pszFile, int oflag, int pmode);
typedef unsigned int(DIAMONDAPI* PFNREAD)(intptr_t hf, void* pv, unsigned int cb);
typedef unsigned int(DIAMONDAPI* PFNWRITE)(intptr_t hf, void* pv, unsigned int cb);
typedef int(DIAMONDAPI* PFNCLOSE)(intptr_t hf);
typedef long(DIAMONDAPI* PFNSEEK)(intptr_t hf, long dist, int seektype);
typedef intptr_t(DIAMONDAPI* PFNFDINOTIFY)(FDINOTIFICATIONTYPE fdint, FDINOTIFICATION* pfdin);
typedef int(DIAMONDAPI* PFNFDIDECRYPT)(void* pfdid);

typedef HFDI(DIAMONDAPI* PFNFDICREATE)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE,
                                       PFNSEEK, int cpuType, ERF* perf);
typedef int(DIAMONDAPI* PFNFDIISCABINET)(HFDI, intptr_t hf, FDICABINETINFO* pfdici);
typedef int(DIAMONDAPI* PFNFDICOPY)(HFDI, char* pszCabinet, char* pszCabPath, int flags,
                                    PFNFDINOTIFY pfnfdin, PFNFDIDECRYPT pfnfdid, void* pvUser);
typedef int(DIAMONDAPI* PFNFDIDESTROY)(HFDI);
// The compression side is bound for completeness but never called.
typedef void(DIAMONDAPI* PFNFCIANY)();

}  // extern "C"

// Size of FDI's path buffer psz3 during fdintNEXT_CABINET, terminator included.
constexpr int kFdiPathBufferSize = 256;
// cpuType argument: let the library detect the processor.
constexpr int kFdiCpuUnknown = -1;

// C-runtime open flags that FDI passes to the open callback.
constexpr int kOpenReadOnly = 0x0000;
constexpr int kOpenWriteOnly = 0x0001;
constexpr int kOpenReadWrite = 0x0002;
constexpr int kOpenAppend = 0x0008;
constexpr int kOpenRandom = 0x0010;
constexpr int kOpenSequential = 0x0020;
constexpr int kOpenTemporary = 0x0040;
constexpr int kOpenCreate = 0x0100;
constexpr int kOpenTruncate = 0x0200;
constexpr int kOpenExclusive = 0x0400;
constexpr int kOpenShortLived = 0x1000;
constexpr int kOpenBinary = 0x8000;
