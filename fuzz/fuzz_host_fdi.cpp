// Arbitrary bytes as a cabinet, or as a cabinet set, for the host FDI library, through
// in-memory callbacks. The input is cut at kSeparator into up to three cabinets named cab1.cab,
// cab2.cab and cab3.cab; they are copied the way the setup runtime's reader copies a set.
// Traps when memory is not all given back or an allocation is out of proportion.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/cabinet/host_fdi.h"

namespace {

constexpr std::string_view kSeparator = "|NEXTCAB|";
constexpr intptr_t kSinkHandle = 1000;
constexpr unsigned long kLargestAllocation = 1 << 20;

struct ReadHandle {
  std::string_view data;
  size_t position = 0;
  bool open = false;
};

std::vector<std::string_view> cabinets;
std::vector<ReadHandle> handles;
long liveAllocations = 0;
std::string nextCabinet, redirected;

void* Alloc(unsigned long size) {
  if (size > kLargestAllocation) __builtin_trap();
  ++liveAllocations;
  return std::malloc(size == 0 ? 1 : size);
}

void Free(void* block) {
  if (block == nullptr) return;
  --liveAllocations;
  std::free(block);
}

intptr_t Open(char* path, int flags, int) {
  if ((flags & 3) != 0) return kSinkHandle;
  std::string_view name(path);
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  for (size_t i = 0; i < cabinets.size(); ++i) {
    if (name == "cab" + std::to_string(i + 1) + ".cab") {
      handles.push_back({cabinets[i], 0, true});
      return static_cast<intptr_t>(handles.size());  // never 0 or -1
    }
  }
  return -1;
}

ReadHandle* Find(intptr_t handle) {
  if (handle < 1 || static_cast<size_t>(handle) > handles.size()) return nullptr;
  ReadHandle* h = &handles[handle - 1];
  return h->open ? h : nullptr;
}

unsigned int Read(intptr_t handle, void* buffer, unsigned int size) {
  ReadHandle* h = Find(handle);
  if (h == nullptr) return static_cast<unsigned int>(-1);
  const size_t available = h->position < h->data.size() ? h->data.size() - h->position : 0;
  const size_t count = size < available ? size : available;
  std::memcpy(buffer, h->data.data() + h->position, count);
  h->position += count;
  return static_cast<unsigned int>(count);
}

unsigned int Write(intptr_t handle, void*, unsigned int size) {
  return handle == kSinkHandle ? size : static_cast<unsigned int>(-1);
}

int Close(intptr_t handle) {
  if (handle == kSinkHandle) return 0;
  ReadHandle* h = Find(handle);
  if (h == nullptr) __builtin_trap();  // closing what was never opened, or twice
  h->open = false;
  return 0;
}

long Seek(intptr_t handle, long distance, int origin) {
  ReadHandle* h = Find(handle);
  if (h == nullptr) return -1;
  const long base = origin == 0   ? 0
                    : origin == 1 ? static_cast<long>(h->position)
                                  : static_cast<long>(h->data.size());
  if (distance < -base) return -1;
  h->position = static_cast<size_t>(base + distance);
  return static_cast<long>(h->position);
}

intptr_t Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION* n) {
  switch (type) {
    case fdintCABINET_INFO:
      nextCabinet = n->psz1;
      return 0;
    case fdintCOPY_FILE:
      return kSinkHandle;
    case fdintCLOSE_FILE_INFO:
      return 1;
    case fdintNEXT_CABINET:
      if (std::strlen(n->psz3) >= kFdiPathBufferSize) __builtin_trap();
      redirected = n->psz1;
      return n->fdie == FDIERROR_NONE ? 0 : -1;
    default:
      return 0;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  cabinets.clear();
  handles.clear();
  size_t start = 0;
  while (cabinets.size() < 2) {
    const size_t cut = input.find(kSeparator, start);
    if (cut == std::string_view::npos) break;
    cabinets.push_back(input.substr(start, cut - start));
    start = cut + kSeparator.size();
  }
  cabinets.push_back(input.substr(start));

  ERF erf{};
  HFDI context = HostFDICreate(Alloc, Free, Open, Read, Write, Close, Seek, kFdiCpuUnknown, &erf);
  if (context == nullptr) __builtin_trap();

  const intptr_t first = Open(const_cast<char*>("cab1.cab"), 0, 0);
  FDICABINETINFO info;
  HostFDIIsCabinet(context, first, &info);
  Close(first);

  // Like the runtime: the next cabinet is the one fdintNEXT_CABINET settled on, else the one
  // the header names; at most as many copies as there are cabinets.
  std::string current = "cab1.cab";
  for (size_t copy = 0; copy < cabinets.size() && !current.empty(); ++copy) {
    nextCabinet.clear();
    redirected.clear();
    if (!HostFDICopy(context, current.data(), const_cast<char*>("fuzz/"), 0, Notify, nullptr,
                     nullptr))
      break;
    const std::string next = redirected.empty() ? nextCabinet : redirected;
    current = next == current ? "" : next;
  }
  if (!HostFDIDestroy(context)) __builtin_trap();
  for (const ReadHandle& h : handles)
    if (h.open) __builtin_trap();  // a cabinet left open
  if (liveAllocations != 0) __builtin_trap();
  return 0;
}
