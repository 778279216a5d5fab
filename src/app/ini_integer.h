// The integer reading of INI values: what a setup script means by a number.
#pragma once

#include <cstdint>
#include <string_view>

// Text of more than two characters that begins with "0x" or "0X" is hexadecimal (the rest must
// be hex digits). Otherwise: optional leading blanks, an optional sign, then decimal digits or
// "$" and hex digits. Decimal must fit 32 signed bits; hexadecimal may use all 32 bits and wraps
// ("$FFFFFFFF" is -1). Returns false, leaving `result` alone, for anything else, the empty text
// included.
bool ParseIniInteger(std::string_view text, int32_t& result);
