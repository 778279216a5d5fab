// The 48 built-in variables: their names in the order of replacement and the rules that
// compute their values from the computer, the setup script, the language table and the form.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr int kBuiltinVariableCount = 48;
// The longest name, "<CommonProgramsMenu>", brackets included.
constexpr size_t kLongestBuiltinName = 20;

// The name with its angle brackets, by position 1 to 48; empty for any other position.
std::string_view BuiltinVariableName(int position);

// One built-in value by its position in the table (1 to 48); empty for any other position and
// for a value that cannot be computed.
std::string GetVariableValue(int position);

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

// The value by the table's rule, one trailing "\" removed. Throws when a value cannot be
// computed (a registry value of another type than string): ExpandVariables then leaves the name
// in the text.
std::string ComputeBuiltinValue(int position);
