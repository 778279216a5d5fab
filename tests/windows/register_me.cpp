// A self-registering library for the Wine tests of ActiveX entries: its DllRegisterServer
// leaves a value in the registry that the test reads back. Built a second time without the
// export (SETUP_TEST_NO_REGISTER) for the library that is handed to rundll32 instead.
#include <windows.h>

namespace {

constexpr char kKey[] = "Software\\Setup Test";

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

#ifndef SETUP_TEST_NO_REGISTER
__declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  static const char kValue[] = "yes";
  LONG written = ::RegSetValueExA(key, "Registered", 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(kValue), sizeof kValue);
  ::RegCloseKey(key);
  return written == ERROR_SUCCESS ? S_OK : E_FAIL;
}
#else
// Something to export, so that only the missing DllRegisterServer tells the two apart.
__declspec(dllexport) int WINAPI SetupTestAnswer() { return 42; }
#endif

}  // extern "C"
