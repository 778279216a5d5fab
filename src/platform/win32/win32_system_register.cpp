// Fonts, self-registering libraries, type libraries and the wallpaper through the real API.
// The font and automation libraries are bound at run time from the system folder, so the
// program's import table stays at the core system libraries.
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <vector>

#include "platform/dynamic_library.h"
#include "platform/system_register.h"

namespace platform {
namespace {

using AddFontResourceFunction = int(WINAPI*)(LPCSTR);
using LoadTypeLibFunction = HRESULT(WINAPI*)(LPCOLESTR, ITypeLib**);
using RegisterTypeLibFunction = HRESULT(WINAPI*)(ITypeLib*, LPCOLESTR, LPCOLESTR);
using DllRegisterServerFunction = HRESULT(WINAPI*)();

// LoadLibraryEx flags, spelled out as older headers lack them.
constexpr DWORD kSearchLibraryFolder = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchSystemFolder = 0x00000800;   // LOAD_LIBRARY_SEARCH_SYSTEM32

// A hung window must not stop the installation: it is skipped after this long.
constexpr UINT kBroadcastTimeoutMs = 5000;

template <typename Function>
Function Bind(const char* library, const char* name) {
  LibraryHandle handle = LoadSystemLibrary(library);
  return handle ? reinterpret_cast<Function>(LibraryProc(handle, name)) : nullptr;
}

struct AutomationLibrary {
  LoadTypeLibFunction load = nullptr;
  RegisterTypeLibFunction registerLibrary = nullptr;
};

// Bound once and kept: type libraries come in groups, and oleaut32 stays loaded anyway.
const AutomationLibrary& Automation() {
  static const AutomationLibrary library{
      Bind<LoadTypeLibFunction>("oleaut32.dll", "LoadTypeLib"),
      Bind<RegisterTypeLibFunction>("oleaut32.dll", "RegisterTypeLib")};
  return library;
}

// The text in UTF-16, converted from the ANSI code page; empty when it cannot be converted.
std::vector<wchar_t> Wide(const std::string& text) {
  int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> wide(static_cast<size_t>(length), L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length) != length) return {};
  return wide;
}

// The library's own imports are looked for beside it and in the system folder, never in the
// current folder. Systems without the search flags refuse them; they get the older rule that
// also starts from the library's folder.
HMODULE LoadServer(const std::string& path) {
  HMODULE library =
      ::LoadLibraryExA(path.c_str(), nullptr, kSearchLibraryFolder | kSearchSystemFolder);
  if (!library && ::GetLastError() == ERROR_INVALID_PARAMETER)
    library = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return library;
}

}  // namespace

bool AddFontFile(const std::string& path) {
  static const AddFontResourceFunction addFont =
      Bind<AddFontResourceFunction>("gdi32.dll", "AddFontResourceA");
  return addFont && addFont(path.c_str()) != 0;
}

void BroadcastFontChange() {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs,
                        &result);
}

SelfRegisterResult CallDllRegisterServer(const std::string& path) {
  HMODULE library = LoadServer(path);
  if (!library) return SelfRegisterResult::NotLoaded;
  auto registerServer = reinterpret_cast<DllRegisterServerFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library, "DllRegisterServer")));
  SelfRegisterResult result = SelfRegisterResult::NoEntryPoint;
  if (registerServer)
    result =
        SUCCEEDED(registerServer()) ? SelfRegisterResult::Registered : SelfRegisterResult::Failed;
  ::FreeLibrary(library);
  return result;
}

TypeLibResult RegisterTypeLibrary(const std::string& path, const std::string& helpFolder) {
  const AutomationLibrary& automation = Automation();
  std::vector<wchar_t> widePath = Wide(path);
  if (!automation.load || widePath.empty()) return TypeLibResult::NotLoaded;
  ITypeLib* typeLibrary = nullptr;
  if (FAILED(automation.load(widePath.data(), &typeLibrary)) || !typeLibrary)
    return TypeLibResult::NotLoaded;
  std::vector<wchar_t> wideHelp = Wide(helpFolder);
  bool registered =
      automation.registerLibrary &&
      SUCCEEDED(automation.registerLibrary(typeLibrary, widePath.data(),
                                           wideHelp.empty() ? nullptr : wideHelp.data()));
  typeLibrary->Release();
  return registered ? TypeLibResult::Registered : TypeLibResult::Failed;
}

bool SetDesktopWallpaper(const std::string& path) {
  // The file is named rather than left out: without it, newer systems fall back to their
  // default wallpaper instead of the one just written to the registry.
  std::vector<char> file(path.begin(), path.end());
  file.push_back('\0');
  return ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, file.data(), SPIF_SENDWININICHANGE) !=
         FALSE;
}

}  // namespace platform
