// Windows error codes and texts on the host.
#include <errno.h>

#include "platform/file_system.h"
#include "platform/host/host_state.h"

namespace host {

uint32_t WindowsErrorFromErrno(int error, bool pathContext) {
  switch (error) {
    case ENOENT: return pathContext ? platform::kErrorFileNotFound : platform::kErrorHandleEof;
    case ENOTDIR: return platform::kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return platform::kErrorAccessDenied;
    case EEXIST: return platform::kErrorFileExists;
    case ENOTEMPTY: return platform::kErrorDirNotEmpty;
    case ENOSPC: return platform::kErrorDiskFull;
    case EBADF: return platform::kErrorInvalidHandle;
    case ENOMEM: return platform::kErrorNotEnoughMemory;
    case EINVAL: return platform::kErrorInvalidParameter;
    case ENAMETOOLONG: return 206;
    default: return 31;  // ERROR_GEN_FAILURE
  }
}

}  // namespace host

namespace platform {

namespace {

// The texts Windows gives for the codes the program meets; others get a generic text.
std::string FullSystemErrorText(uint32_t code) {
  switch (code) {
    case 0: return "The operation completed successfully.";
    case kErrorFileNotFound: return "The system cannot find the file specified.";
    case kErrorPathNotFound: return "The system cannot find the path specified.";
    case kErrorAccessDenied: return "Access is denied.";
    case kErrorInvalidHandle: return "The handle is invalid.";
    case kErrorNotEnoughMemory: return "Not enough storage is available to process this command.";
    case kErrorWriteFault: return "The system cannot write to the specified device.";
    case kErrorReadFault: return "The system cannot read from the specified device.";
    case kErrorHandleEof: return "Reached the end of the file.";
    case kErrorFileExists: return "The file exists.";
    case kErrorInvalidParameter: return "The parameter is incorrect.";
    case kErrorDiskFull: return "There is not enough space on the disk.";
    case kErrorModNotFound: return "The specified module could not be found.";
    case kErrorProcNotFound: return "The specified procedure could not be found.";
    case kErrorDirNotEmpty: return "The directory is not empty.";
    case kErrorAlreadyExists: return "Cannot create a file when that file already exists.";
    default: return "Unknown error " + std::to_string(code) + ".";
  }
}

}  // namespace

// Like the framework's error texts: no trailing full stop.
std::string SystemErrorText(uint32_t code) {
  std::string text = FullSystemErrorText(code);
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace platform
