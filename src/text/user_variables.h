// The [Variables] entries: fields separated by "*?", evaluated once into NAME?VALUE.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"

// Evaluates one [Variables] entry and appends NAME?VALUE to the run's user variable list.
void AddUserVariable(const std::string& entry);

// The six fields of an entry (name, root, key, value name, type, default); missing ones empty.
std::vector<std::string> SplitUserVariableFields(const std::string& entry);
// Exactly one of the four root names selects that root; anything else the current user's.
platform::RegistryRoot UserVariableRoot(const std::string& name);
