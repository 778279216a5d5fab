// Loads each shell link named on the command line through the shell's link object and prints
// its fields, one "name=value" line each, for the Wine tests to compare with the setup script.
//   read_links.exe LINK...
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

namespace {

constexpr CLSID kShellLinkClass = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {
    0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool Print(const char* path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file));
  int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
  bool loaded = file && SUCCEEDED(file->Load(wide.data(), STGM_READ));
  if (loaded) {
    char text[MAX_PATH * 2];
    int icon = 0, show = 0;
    std::printf("link=%s\n", path);
    text[0] = 0;
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    std::printf("target=%s\n", text);
    text[0] = 0;
    link->GetArguments(text, sizeof text);
    std::printf("arguments=%s\n", text);
    text[0] = 0;
    link->GetDescription(text, sizeof text);
    std::printf("description=%s\n", text);
    text[0] = 0;
    link->GetWorkingDirectory(text, sizeof text);
    std::printf("folder=%s\n", text);
    text[0] = 0;
    link->GetIconLocation(text, sizeof text, &icon);
    std::printf("icon=%s,%d\n", text, icon);
    link->GetShowCmd(&show);
    std::printf("show=%d\n", show);
    // Wine's link object gives the normal state back whatever the file holds, so the show
    // command is also read where the file keeps it: the 32-bit field at offset 0x3C.
    unsigned char header[0x40] = {};
    if (FILE* raw = std::fopen(path, "rb")) {
      if (std::fread(header, 1, sizeof header, raw) == sizeof header)
        std::printf("stored-show=%u\n", header[0x3C] | header[0x3D] << 8);
      std::fclose(raw);
    }
  }
  if (file) file->Release();
  link->Release();
  return loaded;
}

}  // namespace

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    if (!Print(argv[i])) {
      std::printf("link=%s\nunreadable\n", argv[i]);
      ++failures;
    }
  }
  CoUninitialize();
  return failures;
}
