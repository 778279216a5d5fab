#include "pack/default_stub.h"

#include "pack/command_line.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pack {

namespace fs = std::filesystem;

std::vector<fs::path> DefaultStubPlaces(const fs::path& program) {
  const fs::path folder = program.parent_path();
  return {folder.parent_path() / "share" / "setup-pack" / "setup.exe", folder / "setup.exe",
          // build/tools/pack/setup-pack and build/windows/setup.exe
          folder.parent_path().parent_path() / "windows" / "setup.exe"};
}

fs::path RunningProgram() {
#ifdef _WIN32
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  return fs::path(std::string(path, length));
#else
  std::error_code ec;
  fs::path path = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : path;
#endif
}

fs::path FindDefaultStub() {
  const fs::path program = RunningProgram();
  if (program.empty()) throw UsageError("no --stub given, and setup-pack cannot tell where it is");
  std::string tried;
  for (const fs::path& place : DefaultStubPlaces(program)) {
    std::error_code ec;
    if (fs::is_regular_file(place, ec)) return place.lexically_normal();
    tried += "\n  " + place.lexically_normal().string();
  }
  throw UsageError("no --stub given, and no setup.exe in the places setup-pack looks:" + tried);
}

}  // namespace pack
