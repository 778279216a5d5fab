// Arbitrary setup files for the payload locator: it must never read outside the file, and what
// it accepts must lie inside the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/payload.h"
#include "app/run_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Inputs are small; place them behind a program part so that both the default offset and
  // the trailer are reachable: the first byte chooses the program part's length.
  if (size == 0) return 0;
  size_t program = data[0] < 128 ? DefaultPayloadOffset : 1000 + data[0] * 7;
  size_t fileSize = program + size - 1;
  ReadAtFunction readAt = [&](int64_t offset, char* buffer, int32_t count) -> int32_t {
    if (offset < 0 || count < 0) abort();
    int32_t done = 0;
    for (; done < count && static_cast<size_t>(offset) + done < fileSize; ++done) {
      size_t at = static_cast<size_t>(offset) + done;
      buffer[done] = at < program ? 'P' : static_cast<char>(data[1 + at - program]);
    }
    return done;
  };
  std::optional<PayloadLocation> location = LocatePayload(readAt, static_cast<int64_t>(fileSize));
  if (location) {
    if (location->start < 0 || location->setupCabinetLength < 0) abort();
    if (static_cast<uint64_t>(location->start) + 10 + location->setupCabinetLength > fileSize) abort();
  }
  int32_t value;
  if (size >= 10) ParseSizeField(reinterpret_cast<const char*>(data), value);
  return 0;
}
