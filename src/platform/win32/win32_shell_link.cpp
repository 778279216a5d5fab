// Shell links through the shell's link object. The component library is bound at run time from
// the system folder, so the program imports nothing beyond the core system libraries.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "platform/dynamic_library.h"
#include "platform/shell_link.h"

namespace {

// The link object and its two interfaces, spelled out so no GUID library is needed.
constexpr CLSID kShellLinkClass = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {
    0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

using CoInitializeFunction = HRESULT(WINAPI*)(LPVOID);
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

struct ComponentLibrary {
  CoInitializeFunction initialize = nullptr;
  CoCreateInstanceFunction createInstance = nullptr;
};

ComponentLibrary& Library() {
  static ComponentLibrary library = [] {
    ComponentLibrary bound;
    if (platform::LibraryHandle ole = platform::LoadSystemLibrary("ole32.dll")) {
      bound.initialize = reinterpret_cast<CoInitializeFunction>(
          platform::LibraryProc(ole, "CoInitialize"));
      bound.createInstance = reinterpret_cast<CoCreateInstanceFunction>(
          platform::LibraryProc(ole, "CoCreateInstance"));
    }
    return bound;
  }();
  return library;
}

std::vector<wchar_t> Wide(const std::string& text) {
  int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  return wide;
}

}  // namespace

namespace platform {

void InitComponentLibrary() {
  if (Library().initialize) Library().initialize(nullptr);
}

bool SaveShellLink(const std::string& linkPath, const ShellLinkFields& fields) {
  if (!Library().createInstance) return false;
  IShellLinkA* link = nullptr;
  if (FAILED(Library().createInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA,
                                      reinterpret_cast<void**>(&link))) ||
      !link)
    return false;
  link->SetArguments(fields.arguments.c_str());
  link->SetDescription(fields.description.c_str());
  link->SetPath(fields.target.c_str());
  if (fields.setWorkingFolder) link->SetWorkingDirectory(fields.workingFolder.c_str());
  if (fields.setIcon) link->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex);
  link->SetShowCmd(fields.showCommand);
  bool saved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file))) && file) {
    saved = SUCCEEDED(file->Save(Wide(linkPath).data(), FALSE));
    file->Release();
  }
  link->Release();
  return saved;
}

}  // namespace platform
