// Numbers as text without the C library's formatted output, which is large in a static build.
#pragma once

#include <cstdint>
#include <string>

// Upper-case hexadecimal digits, at least `width` of them.
std::string HexText(uint64_t value, int width = 1);
// Decimal digits, at least `width` of them (zeros in front).
std::string DecimalText(uint64_t value, int width = 1);
