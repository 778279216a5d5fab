// Cost of ExpandVariables over 10,000 texts of the kinds a setup expands: plain wizard texts,
// paths with <InstallDir> and <ProgramFiles>, texts with <AppName> and line breaks, and a user
// variable. Values are computed anew for every text (nothing is cached), so this is the cost a
// large [Files] list pays. Prints the total and the time per text, for the mix and each kind.
//
//   expand_bench [texts]     (default 10000; works in a temporary sandbox under /tmp)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/run_state.h"
#include "platform/host/host_control.h"
#include "text/variables.h"
#include "wizard/headless_form_view.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Kind {
  const char* label;
  const char* text;
};

// Typical lengths: wizard sentences of 40 to 120 characters, paths of 30 to 70.
const Kind kKinds[] = {
    {"plain text", "Please wait while Setup installs the application on your computer. File "},
    {"<InstallDir> path", "<InstallDir>\\data\\folder\\file.dat "},
    {"<ProgramFiles> path", "<ProgramFiles>\\<CompanyName>\\Shared\\component.dll "},
    {"<AppName> and <#>",
     "Welcome to the <AppName> Setup Wizard<#><#>This will install <AppName> <AppVersion> on "
     "your computer. "},
    {"user variable", "<DataDir>\\settings\\user.ini "},
};
constexpr size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, size_t count, double ms) {
  std::printf("%-34s %7zu texts  %9.3f ms  %8.3f us per text\n", what, count, ms,
              ms * 1000.0 / static_cast<double>(count));
}

// Expands every text; returns the total length so the work cannot be optimised away.
size_t ExpandAll(const std::vector<std::string>& texts) {
  size_t length = 0;
  for (const std::string& text : texts) length += ExpandVariables(text).size();
  return length;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? static_cast<size_t>(std::atol(argv[1])) : 10000;
  char pattern[] = "/tmp/expand-bench.XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  const std::string root = pattern;
  std::filesystem::create_directories(root + "/C/bench");
  std::ofstream(root + "/C/bench/setup.ini", std::ios::binary)
      << "[Setup]\r\nAppName=Bench Application\r\nAppVersion=1.2.3\r\nCompanyName=Bench Corp\r\n";
  host::SetSandbox(root);
  host::ResetRegistry();
  host::ResetSystemFacts();

  HeadlessFormView form;
  form.SetText(FormControl::Edit1, "C:\\Program Files\\Bench Corp\\Bench Application");
  RunState& run = Run();
  run.TempFolder = "C:\\bench";
  run.SetupScript = std::make_unique<IniFile>("C:\\bench\\setup.ini");
  run.Form = &form;
  run.UserVariables = {"<DataDir>?<InstallDir>\\Data"};

  std::vector<std::string> mix;
  std::vector<std::vector<std::string>> byKind(kKindCount);
  mix.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t kind = i % kKindCount;
    mix.push_back(kKinds[kind].text + std::to_string(i));
    byKind[kind].push_back(mix.back());
  }

  ExpandAll(mix);  // warm-up: first touches of the registry and the script
  auto start = Clock::now();
  size_t length = ExpandAll(mix);
  Report("mix of all kinds", mix.size(), MillisecondsSince(start));
  for (size_t kind = 0; kind < kKindCount; ++kind) {
    start = Clock::now();
    length += ExpandAll(byKind[kind]);
    Report(kKinds[kind].label, byKind[kind].size(), MillisecondsSince(start));
  }

  run.Form = nullptr;
  run.SetupScript.reset();
  run.UserVariables.clear();
  std::filesystem::remove_all(root);
  return length == 0 ? 1 : 0;
}
