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

// The value by the table's rule, one trailing "\" removed. Throws when a value cannot be
// computed (a registry value of another type than string): ExpandVariables then leaves the name
// in the text.
std::string ComputeBuiltinValue(int position);
