// Texts of the cabinet reader's errors.
#pragma once

#include <string>

// The reader's text for an FDI error code ("FDI error" for an unknown code).
std::string FdiErrorText(int errorCode);
