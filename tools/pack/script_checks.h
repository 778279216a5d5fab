// Mistakes in a setup script that the setup program would pass over in silence: unknown keys
// and sections, list entries it skips or misreads, wizard pages without their texts, a default
// language without its file. Each warning names the script and, where there is one, the line.
#pragma once

#include <string>
#include <vector>

#include "pack/setup_script.h"

namespace pack {

struct ScriptContext {
  std::string fileName;                // the script, as named in the messages
  std::vector<std::string> languages;  // base names of the language files, as written
  std::vector<std::string> texts;      // names of the licence and readme files, as written
};

std::vector<std::string> CheckScript(const SetupScript& script, const ScriptContext& context);

// The number of fields the setup program cuts `value` into at `separator`: a separator at the
// very end opens no further field, and an empty value has none.
size_t CountFields(const std::string& value, const std::string& separator);

}  // namespace pack
