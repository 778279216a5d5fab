#include "text/user_variables.h"

#include <optional>

#include "app/run_state.h"
#include "text/registry_text.h"
#include "text/variables.h"

namespace {

constexpr size_t kFieldCount = 6;
constexpr std::string_view kFieldSeparator = "*?";

}  // namespace

std::vector<std::string> SplitUserVariableFields(const std::string& entry) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (fields.size() < kFieldCount) {
    size_t end = entry.find(kFieldSeparator, start);
    if (end == std::string::npos) {
      fields.push_back(entry.substr(start));
      break;
    }
    fields.push_back(entry.substr(start, end - start));
    start = end + kFieldSeparator.size();
  }
  fields.resize(kFieldCount);
  return fields;
}

platform::RegistryRoot UserVariableRoot(const std::string& name) {
  if (name == "HKEY_CLASSES_ROOT") return platform::RegistryRoot::ClassesRoot;
  if (name == "HKEY_LOCAL_MACHINE") return platform::RegistryRoot::LocalMachine;
  if (name == "HKEY_USERS") return platform::RegistryRoot::Users;
  return platform::RegistryRoot::CurrentUser;
}

void AddUserVariable(const std::string& entry) {
  std::vector<std::string> fields = SplitUserVariableFields(entry);
  std::string result = ExpandVariables(fields[5]);
  std::optional<platform::RegistryValue> value = platform::RegistryReadValue(
      UserVariableRoot(fields[1]), ExpandVariables(fields[2]), ExpandVariables(fields[3]));
  if (value) {
    try {
      result = fields[4] == "STRING" ? RegistryValueAsString(*value)
                                     : std::to_string(RegistryValueAsInteger(*value));
    } catch (const RegistryTypeError&) {
      // A value of another type keeps the default.
    }
  }
  Run().UserVariables.push_back(fields[0] + "?" + result);
}
