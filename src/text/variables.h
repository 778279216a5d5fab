// Variables in angle brackets: 48 built-in ones computed on demand from the computer, the setup
// script, the language table and the wizard's fields, and user variables from [Variables].
// This header is the subsystem's interface: it brings in GetVariableValue and the positions
// (variable_table.h), AddUserVariable (user_variables.h), FormatMessageText
// (message_format.h) and ShortenDisplayPath (display_path.h).
#pragma once

#include <string>

#include "text/display_path.h"
#include "text/message_format.h"
#include "text/user_variables.h"
#include "text/variable_table.h"

// The text with every user variable, every built-in variable and every "<#>" replaced, in one
// pass in that order. Never fails.
std::string ExpandVariables(const std::string& text);
