#include "cab/cab_st_consts.h"

std::string FdiErrorText(int errorCode) {
  static const char* const kTexts[] = {
      "No error",
      "Cabinet not found",
      "Cabinet file does not have the correct format",
      "Cabinet file has an unknown version number",
      "Cabinet file is corrupt",
      "Could not allocate enough memory",
      "Unknown compression type in a cabinet folder",
      "Failure decompressing data from a cabinet file",
      "Failure writing to target file",
      "Cabinets in a set do not have the same RESERVE sizes",
      "Cabinet returned on fdintNEXT_CABINET is incorrect",
      "FDI aborted",
  };
  if (errorCode < 0 || errorCode >= static_cast<int>(sizeof kTexts / sizeof kTexts[0]))
    return "FDI error";
  return kTexts[errorCode];
}
