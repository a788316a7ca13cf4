/* A stand-in for cmd.exe (Wine runs it with the override "cmd.exe=n"). It prints, one a line, its command line,
   its current folder, and 1 when the handle numbered in ORVEL_PROBE_HANDLE reached it as the test's event, else 0. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  char folder[MAX_PATH] = "", number[32] = "";
  DWORD flags = 0;
  GetCurrentDirectoryA(MAX_PATH, folder);
  GetEnvironmentVariableA("ORVEL_PROBE_HANDLE", number, sizeof number);
  HANDLE probe = (HANDLE)(UINT_PTR)strtoull(number, NULL, 10);
  int inherited = GetHandleInformation(probe, &flags) && WaitForSingleObject(probe, 0) == WAIT_OBJECT_0;
  printf("%s\n%s\n%d\n", GetCommandLineA(), folder, inherited);
}
