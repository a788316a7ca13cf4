// The installer's main: start-up of the units, one update run, shutdown. The exit
// code tells a caller of a quiet update how it went (see exit_code.h). The process
// itself starts in runtime_shim_win.cpp, which calls InstallerMain.
#include <windows.h>

#include "app/program_start.h"
#include "app/update_driver.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "base/run_log_text.h"
#include "lang/language_files.h"
#include "package_identity.h"
#include "sys/system_library_win.h"

int InstallerMain() {
  // Before anything can load a DLL: an elevated process must never pick one up from
  // the folder it was started from (a Downloads folder, say).
  orvel::RestrictDllSearchToSystemFolder();

  orvel::InitProgramState();

  // The package's identity comes from the build, which checked the package against it.
  orvel::PackageKey = ORVEL_PACKAGE_KEY;
  orvel::PackageFileName = ORVEL_PACKAGE_FILE_NAME;
  orvel::PackageVersion = ORVEL_PACKAGE_VERSION;
  const orvel::ExitCode code = orvel::RunUpdate();
  orvel::LogLine({orvel::ExitCodeLogText(code)});

  orvel::DoneLanguageFiles();
  orvel::DoneProgramState();
  return static_cast<int>(code);
}
