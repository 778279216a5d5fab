// Values of the setup script as the setup program reads them: blanks around a value do not
// count, one pair of quotes around it is dropped, and numbers follow its integer rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pack {

// The value the setup program sees for the text after "=".
std::string IniValue(std::string_view raw);

// The setup program's integer reading: "0x" and hex digits (more than two characters), or
// blanks, a sign, then decimal digits or "$" and hex digits. Nothing for other text, the empty
// text included, and for a number that does not fit 32 bits.
std::optional<int64_t> IniInteger(std::string_view text);

// A Boolean key: any integer but 0 is true; other text reads as `fallback`.
bool IniBool(std::string_view text, bool fallback);

// Case-insensitive comparison, as the setup program compares section and key names.
bool SameName(std::string_view a, std::string_view b);

}  // namespace pack
