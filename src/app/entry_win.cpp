// The installer's entry: start-up of the units, one update run, shutdown. The exit
// code tells a caller of a quiet update how it went (see exit_code.h).
#include <windows.h>
#include <objbase.h>

#include "app/program_state.h"
#include "app/update_driver.h"
#include "lang/language_files.h"
#include "package_identity.h"
#include "sys/system_library_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: an elevated process must never pick one up from
  // the folder it was started from (a Downloads folder, say).
  orvel::RestrictDllSearchToSystemFolder();

  orvel::InitProgramState();
  // The shell may start Orvel through COM-based handlers.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  // The package's identity comes from the build, which checked the package against it.
  orvel::PackageKey = ORVEL_PACKAGE_KEY;
  orvel::PackageFileName = ORVEL_PACKAGE_FILE_NAME;
  orvel::PackageVersion = ORVEL_PACKAGE_VERSION;
  const orvel::ExitCode code = orvel::RunUpdate();

  if (SUCCEEDED(com)) ::CoUninitialize();
  orvel::DoneLanguageFiles();
  orvel::DoneProgramState();
  return static_cast<int>(code);
}
