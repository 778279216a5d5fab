// The text form of a security identifier ("S-1-5-32-544"), written from its bytes because the
// system's own conversion is missing on old Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// sid: revision, sub-authority count, six bytes of authority (big-endian), then the
// sub-authorities as 32-bit little-endian numbers. Empty for a truncated or unknown record.
std::string SidText(const uint8_t* sid, size_t size);

}  // namespace platform
