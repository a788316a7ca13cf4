/* Loaded into a process, this DLL creates "<its own path>.loaded" beside itself. Tests copy it, under
   the names of system DLLs, beside a program to see whether the program loads any of them from there. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  char path[MAX_PATH + 8];
  const DWORD length = reason == DLL_PROCESS_ATTACH ? GetModuleFileNameA(self, path, MAX_PATH) : 0;
  (void)reserved;
  if (length != 0 && length < MAX_PATH)
    CloseHandle(CreateFileA(lstrcatA(path, ".loaded"), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  return TRUE;
}
