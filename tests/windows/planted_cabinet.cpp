// A library that a test plants as "cabinet.dll" beside the setup file and in the current
// folder: a real DLL, so that loading it would succeed and show in Wine's load log.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
