// The installer's entry: start-up of the units, one update run, shutdown. The exit
// code tells a caller of a quiet update how it went (see exit_code.h).
#include <windows.h>

#include "app/program_state.h"
#include "app/update_driver.h"
#include "lang/language_files.h"
#include "sys/system_library_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: an elevated process must never pick one up from
  // the folder it was started from (a Downloads folder, say).
  orvel::RestrictDllSearchToSystemFolder();

  orvel::InitProgramState();

  orvel::PackageKey = "starmoths";
  orvel::PackageFileName = "vexa.3bs";
  orvel::PackageVersion = 6;
  const orvel::ExitCode code = orvel::RunUpdate();

  orvel::DoneLanguageFiles();
  orvel::DoneProgramState();
  return static_cast<int>(code);
}
