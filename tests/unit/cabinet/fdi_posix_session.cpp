#include "fdi_posix_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/host/cabinet/host_fdi.h"

namespace cabtest {
namespace {

void* Alloc(unsigned long size) {
  AllocationCounts& counts = Allocations();
  if (counts.total++ == counts.failAt) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) ++counts.live;
  return block;
}

void Free(void* block) {
  if (block == nullptr) return;
  --Allocations().live;
  std::free(block);
}

intptr_t Open(char* path, int flags, int) {
  OpenCalls().push_back({path, flags});
  int posix = (flags & 3) == kOpenReadOnly    ? O_RDONLY
              : (flags & 3) == kOpenWriteOnly ? O_WRONLY
                                              : O_RDWR;
  if (flags & kOpenCreate) posix |= O_CREAT;
  if (flags & kOpenTruncate) posix |= O_TRUNC;
  if (flags & kOpenExclusive) posix |= O_EXCL;
  if (flags & kOpenAppend) posix |= O_APPEND;
  return ::open(path, posix, 0644);
}

unsigned int Read(intptr_t handle, void* buffer, unsigned int size) {
  return static_cast<unsigned int>(::read(static_cast<int>(handle), buffer, size));
}

unsigned int Write(intptr_t handle, void* buffer, unsigned int size) {
  return static_cast<unsigned int>(::write(static_cast<int>(handle), buffer, size));
}

int Close(intptr_t handle) { return ::close(static_cast<int>(handle)); }

long Seek(intptr_t handle, long distance, int origin) {
  return static_cast<long>(::lseek(static_cast<int>(handle), distance, origin));
}

std::string Str(const char* text) { return text ? text : ""; }

}  // namespace

AllocationCounts& Allocations() {
  static AllocationCounts counts;
  return counts;
}

std::vector<OpenCall>& OpenCalls() {
  static std::vector<OpenCall> calls;
  return calls;
}

FdiSession::FdiSession(std::string output) : outputDir(std::move(output)) {
  context_ = HostFDICreate(Alloc, Free, Open, Read, Write, Close, Seek, kFdiCpuUnknown, &erf);
}

FdiSession::~FdiSession() {
  if (context_ != nullptr) HostFDIDestroy(context_);
}

bool FdiSession::Copy(const std::string& folder, const std::string& name) {
  redirected_.clear();
  nextCabinet_.clear();
  return HostFDICopy(context_, const_cast<char*>(name.c_str()), const_cast<char*>(folder.c_str()),
                     0, Notify, nullptr, this) != 0;
}

bool FdiSession::CopySet(const std::string& folder, const std::string& first) {
  std::string current = folder + first;
  while (!current.empty()) {
    const size_t slash = current.rfind('/');
    if (!Copy(current.substr(0, slash + 1), current.substr(slash + 1))) return false;
    const std::string next = !redirected_.empty() ? redirected_ : nextCabinet_;
    current = next == current || !std::filesystem::exists(next) ? "" : next;
  }
  return true;
}

std::vector<Notification> FdiSession::Of(FDINOTIFICATIONTYPE type) const {
  std::vector<Notification> found;
  for (const Notification& n : log)
    if (n.type == type) found.push_back(n);
  return found;
}

intptr_t FdiSession::Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION* notification) {
  return static_cast<FdiSession*>(notification->pv)->Handle(type, *notification);
}

intptr_t FdiSession::Handle(FDINOTIFICATIONTYPE type, FDINOTIFICATION& n) {
  log.push_back({type, Str(n.psz1), Str(n.psz2), Str(n.psz3), n.cb, n.hf, n.date, n.time, n.attribs,
                 n.setID, n.iCabinet, n.iFolder, n.fdie});
  if (hook) {
    if (const std::optional<intptr_t> result = hook(type, n)) return *result;
  }
  switch (type) {
    case fdintCABINET_INFO:
      nextCabinet_ = n.psz1[0] ? Str(n.psz3) + n.psz1 : "";
      return 0;
    case fdintCOPY_FILE: {
      std::string name = n.psz1;
      for (char& c : name)
        if (c == '\\') c = '/';
      const std::filesystem::path path = std::filesystem::path(outputDir) / name;
      std::filesystem::create_directories(path.parent_path());
      return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    case fdintCLOSE_FILE_INFO:
      ::close(static_cast<int>(n.hf));
      return 1;
    case fdintNEXT_CABINET:
      redirected_ = Str(n.psz3) + n.psz1;
      return n.fdie == FDIERROR_NONE ? 0 : -1;
    default:
      return 0;
  }
}

}  // namespace cabtest
