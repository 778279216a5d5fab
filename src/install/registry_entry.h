// [Registry] entries: the keys they need created and the values they write, recorded for the
// uninstaller where an entry asks for removal.
#pragma once

#include <string>
#include <string_view>

// Applies one [Registry] entry: "root*?key path*?value name*?type word*?data*?overwrite*?removal".
// An entry of any other field count is ignored. Failures show their message, set InstallErrors
// and abandon the entry.
void ApplyRegistryEntry(const std::string& entry);

// The keep rule for one [Registry] value, variables expanded: the entry wants the key kept when
// its value ends in a lower-case "o" (its removal flag reads "No") and holds the key's path.
bool EntryKeepsKey(std::string_view expandedValue, std::string_view keyPath);
