/* Waits, at the start of a Wine session, until the desktop shell answers as the
   installer asks it: its window list (ShellWindows) can be created. Exit code 0 when
   it answers, 1 when it does not within 30 s.

   Wine's desktop registers its window list once, when it starts, through the
   service manager (which starts the COM service on demand). Started before the
   service manager listens, it cannot register and never tries again: for the whole
   session the class is "not registered". So this program first waits for the
   service manager and only then starts the desktop (GetDesktopWindow). The session's
   first program must not start the desktop itself (scripts/wine-env.sh). */
#define COBJMACROS
#include <windows.h>
#include <exdisp.h>

static const CLSID kShellWindows = {0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};

int main(void) {
  const ULONGLONG deadline = GetTickCount64() + 30000;
  SC_HANDLE manager;
  while ((manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT)) == NULL) {
    if (GetTickCount64() > deadline) return 1;
    Sleep(100);
  }
  CloseServiceHandle(manager);
  GetDesktopWindow();
  if (FAILED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) return 1;
  for (;;) {
    IShellWindows* windows = NULL;
    if (SUCCEEDED(CoCreateInstance(&kShellWindows, NULL, CLSCTX_LOCAL_SERVER, &IID_IShellWindows, (void**)&windows))) {
      IShellWindows_Release(windows);
      return 0;
    }
    if (GetTickCount64() > deadline) return 1;
    Sleep(200);
  }
}
