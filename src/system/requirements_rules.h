// The comparisons and texts of the requirements gate, apart from the gate's sequence.
#pragma once

#include <functional>
#include <string>

// The installed version counts as at least the required one. Only the major digit and the
// first digit after the point count ("3.5" meets "3.0", "3.9" fails "4.0"); a text shorter than
// three characters meets any requirement; a two-digit major never converts and fails.
bool VersionAtLeast(const std::string& installed, const std::string& required);

// The first four characters (the year) compared by character codes; a prefix counts as smaller.
bool SqlEditionAtLeast(const std::string& installed, const std::string& required);

// The families allowed by the [Setup] keys, for the stop message: "95/98/ME/NT/2000/XP/
// Server 2003/Vista/7" with every key on. `allowed` reads one family key (default on).
std::string AllowedFamilyList(const std::function<bool(const std::string& key)>& allowed);
