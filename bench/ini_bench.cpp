// Cost of the INI reader and writer at the sizes a large product reaches: a setup script with
// 20,000 [Files] entries read key by key, and an uninstall record that grows by one key per
// write. Prints one line per measurement.
//
//   ini_bench [entries]     (default 20000; works in a temporary sandbox under /tmp)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "platform/file_system.h"
#include "platform/host/host_control.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  platform::FileHandle file =
      platform::FileOpen(path, platform::FileAccess::Write, platform::FileCreation::CreateAlways);
  if (file == platform::kInvalidFile) return false;
  bool ok = platform::FileWrite(file, text.data(), static_cast<uint32_t>(text.size())) ==
            static_cast<int32_t>(text.size());
  return platform::FileClose(file) && ok;
}

std::string SetupScript(int entries) {
  std::string text = "[Setup]\r\nAppName=Bench\r\nFilesCount=" + std::to_string(entries) + "\r\n";
  text += "[Files]\r\n";
  for (int i = 0; i < entries; ++i) {
    text += std::to_string(i) + "=<InstallDir>\\data\\folder" + std::to_string(i % 97) + "\\file" +
            std::to_string(i) + ".dat?" + std::to_string(1000 + i) + "?Overwrite?Yes\r\n";
  }
  text += "[Shortcuts]\r\n0=<ProgramGroup>\\Bench.lnk*?<InstallDir>\\bench.exe\r\n";
  return text;
}

void Report(const char* what, int count, double ms) {
  std::printf("%-52s %8d  %10.2f ms  %9.3f us each\n", what, count, ms, ms * 1000.0 / count);
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 20000;
  char pattern[] = "/tmp/ini-bench.XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  std::filesystem::create_directories(std::string(pattern) + "/C/bench");
  host::SetSandbox(pattern);

  const std::string script = "C:\\bench\\setup.ini";
  if (!WriteWholeFile(script, SetupScript(entries))) return 1;

  auto start = Clock::now();
  IniFile ini(script);
  Report("open and parse setup.ini", 1, MillisecondsSince(start));

  start = Clock::now();
  const int count = ini.ReadInteger("Setup", "FilesCount", 0);
  size_t bytes = 0;
  for (int i = 0; i < count; ++i) bytes += ini.ReadString("Files", std::to_string(i), "").size();
  Report("read [Files] key by key", count, MillisecondsSince(start));
  if (bytes == 0) return 1;

  // What a check of the disk before every read would cost: reads follow a note of outside
  // changes (a command ran) with a stat, and read the file again only when it changed.
  start = Clock::now();
  for (int i = 0; i < count; ++i) {
    IniFile::NoteOutsideChanges();
    bytes += ini.ReadString("Files", std::to_string(i), "").size();
  }
  Report("read [Files] key by key, a stat before each", count, MillisecondsSince(start));

  start = Clock::now();
  const size_t listed = ini.ReadSection("Files").size();
  Report("list [Files] (as far as the buffer goes)", static_cast<int>(listed),
         MillisecondsSince(start));

  // The uninstall record: keys appended to the last section, each flushed to disk.
  const int appends = 1000;
  IniFile record("C:\\bench\\Uninstall.ini");
  record.WriteString("General", "AppName", "Bench");
  start = Clock::now();
  for (int i = 0; i < appends; ++i) {
    record.WriteString("Files", std::to_string(i),
                       "C:\\Program Files\\Bench\\file" + std::to_string(i) + ".dat");
  }
  Report("append a key to the last section (in place)", appends, MillisecondsSince(start));

  // A key added inside the file: the whole file is written anew, so the cost grows with it.
  record.WriteString("Folders", "0", "C:\\Program Files\\Bench");
  const int inserts = 100;
  start = Clock::now();
  for (int i = appends; i < appends + inserts; ++i) {
    record.WriteString("Files", std::to_string(i), "C:\\Program Files\\Bench\\x.dat");
  }
  Report("add a key inside a file of ~1000 keys (replace)", inserts, MillisecondsSince(start));

  std::vector<IniWrite> batch;
  for (int i = 0; i < entries; ++i) {
    batch.push_back({"Files", std::to_string(appends + inserts + i),
                     "C:\\Program Files\\Bench\\data\\file" + std::to_string(i) + ".dat"});
  }
  start = Clock::now();
  record.WriteStrings(batch);
  Report("add keys inside the file as one batch", entries, MillisecondsSince(start));

  start = Clock::now();
  for (int i = 0; i < 20; ++i) record.WriteString("Files", std::to_string(900000 + i), "x");
  Report("add a key inside the grown file (replace)", 20, MillisecondsSince(start));

  std::filesystem::remove_all(pattern);
  return 0;
}
