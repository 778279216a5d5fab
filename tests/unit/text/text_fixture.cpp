#include "text_fixture.h"

#include <memory>

#include "app/run_state.h"
#include "platform/folders.h"
#include "platform/host/host_control.h"
#include "platform/process.h"

void TextTest::SetUp() {
  SandboxTest::SetUp();
  host::ResetRegistry();
  host::ResetSystemFacts();
  savedExecutable_ = platform::ExecutablePath();
  savedTempFolder_ = platform::TempFolder();
  host::SetExecutablePath("C:\\Setup\\setup.exe");
  host::SetTempFolder("C:\\Users\\setup\\Temp\\");
  ASSERT_TRUE(platform::ForceFolders(kTempFolder));
  RunState& run = ::Run();
  run.TempFolder = kTempFolder;
  run.TempFolderCreated = false;
  run.SetupScript.reset();
  run.LanguageTable.reset();
  run.UserVariables.clear();
  run.Form = &view_;
}

void TextTest::TearDown() {
  RunState& run = ::Run();
  run.Form = nullptr;
  run.SetupScript.reset();
  run.LanguageTable.reset();
  run.UserVariables.clear();
  run.TempFolder.clear();
  run.TempFolderCreated = false;
  host::SetExitHandler(nullptr);
  host::SetExecutablePath(savedExecutable_);
  host::SetTempFolder(savedTempFolder_);
  host::ResetRegistry();
  host::ResetSystemFacts();
  SandboxTest::TearDown();
}

void TextTest::UseScript(const std::string& text) {
  std::string path = std::string(kTempFolder) + "\\setup.ini";
  WriteFile(path, text);
  ::Run().SetupScript = std::make_unique<IniFile>(path);
}

void TextTest::WriteLanguage(const std::string& name, const std::string& text) const {
  WriteFile(std::string(kTempFolder) + "\\" + name + ".lng", text);
}

void TextTest::UseLanguageTable(const std::string& text) {
  WriteLanguage("Table", text);
  ::Run().LanguageTable = std::make_unique<IniFile>(std::string(kTempFolder) + "\\Table.lng");
}

void TextTest::SetRegistryString(bool machine, const std::string& key, const std::string& name,
                                 const std::string& text) {
  ASSERT_TRUE(host::RegistrySetValue(
      machine ? platform::RegistryRoot::LocalMachine : platform::RegistryRoot::CurrentUser, key,
      name, host::RegistryString(text)));
}
