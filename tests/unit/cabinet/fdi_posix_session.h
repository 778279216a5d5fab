// Drives the host FDI library in tests through plain POSIX file callbacks: an FDI context whose
// notification handler extracts into a folder and records every notification it receives.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fdi.h"

namespace cabtest {

struct Notification {
  FDINOTIFICATIONTYPE type;
  std::string psz1, psz2, psz3;
  long cb = 0;
  intptr_t hf = 0;
  unsigned short date = 0, time = 0, attribs = 0, setID = 0, iCabinet = 0, iFolder = 0;
  FDIERROR fdie = FDIERROR_NONE;
};

// Counts of the allocation callback, process-wide; a context must give back all it took.
struct AllocationCounts {
  long live = 0;
  long total = 0;
  long failAt = -1;  // the allocation with this number (from 0) fails
};
AllocationCounts& Allocations();

struct OpenCall {
  std::string path;
  int flags;
};
// Every open made through the callbacks, in order.
std::vector<OpenCall>& OpenCalls();

class FdiSession {
 public:
  // A hook sees each notification first; a value it returns is the handler's result.
  using Hook = std::function<std::optional<intptr_t>(FDINOTIFICATIONTYPE, FDINOTIFICATION&)>;

  explicit FdiSession(std::string outputDir);
  ~FdiSession();
  FdiSession(const FdiSession&) = delete;
  FdiSession& operator=(const FdiSession&) = delete;

  // FDICopy of folder + name (folder given with its trailing slash, as FDI expects).
  bool Copy(const std::string& folder, const std::string& name);

  // Copies like the setup runtime's reader: FDICopy on the first cabinet, then on the cabinet
  // that the last fdintNEXT_CABINET settled on, or else the next one the header names, while
  // that file exists. False at the first failing FDICopy.
  bool CopySet(const std::string& folder, const std::string& first);

  HFDI context() const { return context_; }
  ERF erf{};
  std::vector<Notification> log;
  Hook hook;
  std::string outputDir;

  // The notifications of one type.
  std::vector<Notification> Of(FDINOTIFICATIONTYPE type) const;

 private:
  static intptr_t Notify(FDINOTIFICATIONTYPE type, FDINOTIFICATION* notification);
  intptr_t Handle(FDINOTIFICATIONTYPE type, FDINOTIFICATION& notification);

  HFDI context_ = nullptr;
  std::string nextCabinet_;  // from fdintCABINET_INFO: path of the next cabinet, or empty
  std::string redirected_;   // from fdintNEXT_CABINET: psz3 + psz1
};

}  // namespace cabtest
