// Paths shortened for the one-line file display of the progress page.
#pragma once

#include <string>

// A path of more than 70 characters with its last three components replaced by "..": the
// folder three levels up, "\..\" and the file name.
std::string ShortenDisplayPath(const std::string& path);
