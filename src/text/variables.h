// Variables in angle brackets: 48 built-in ones computed on demand from the computer, the setup
// script, the language table and the wizard's fields, and user variables from [Variables].
#pragma once

#include <string>

// The text with every user variable, every built-in variable and every "<#>" replaced, in one
// pass in that order. Never fails.
std::string ExpandVariables(const std::string& text);
// One built-in value by its position in the table (1 to 48); empty for any other position.
std::string GetVariableValue(int position);
// Replaces the one "%s" of the format (with "%%" giving "%") by the argument, then every "<#>"
// by CR LF. A format with any other directive is returned unformatted.
std::string FormatMessageText(const std::string& format, const std::string& argument);
// Evaluates one [Variables] entry and appends NAME?VALUE to the run's user variable list.
void AddUserVariable(const std::string& entry);
// A path of more than 70 characters with its last three components replaced by "..".
std::string ShortenDisplayPath(const std::string& path);

// Positions of the built-in values other subsystems ask for directly.
enum VariablePosition {
  kVarProgramFiles = 1,
  kVarTempDir = 5,
  kVarInstallDir = 10,
  kVarProgramsMenu = 20,
  kVarCommonProgramsMenu = 24,
  kVarProgramGroup = 26,
  kVarAppName = 28,
  kVarAppVersion = 29,
  kVarCompanyName = 30,
  kVarWebSite = 31,
  kVarSupportLink = 32,
  kVarSetupTempDir = 45,
};
