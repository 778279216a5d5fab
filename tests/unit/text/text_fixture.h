// A sandbox with the run state that variables and language files read: a temporary folder,
// a setup script, a headless form, a default registry and default system facts. Everything
// is put back in TearDown, so tests do not leak state into one another.
#pragma once

#include <string>

#include "support/sandbox.h"
#include "wizard/headless_form_view.h"

class TextTest : public SandboxTest {
 protected:
  static constexpr const char* kTempFolder = "C:\\Users\\setup\\Temp\\VQTMP123";

  void SetUp() override;
  void TearDown() override;

  // Writes setup.ini into the temporary folder and opens it as the run's setup script.
  void UseScript(const std::string& text);
  // Writes a language file "<name>.lng" into the temporary folder.
  void WriteLanguage(const std::string& name, const std::string& text) const;
  // Opens a language file of the given text as the run's language table.
  void UseLanguageTable(const std::string& text);
  // The value of a string in the registry: REG_SZ unless given.
  void SetRegistryString(bool machine, const std::string& key, const std::string& name,
                         const std::string& text);

  HeadlessFormView view_;

 private:
  std::string savedExecutable_;
  std::string savedTempFolder_;
};
