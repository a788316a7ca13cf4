// The process-wide state that the installer's units share: the host application's
// name, folders and titles, the user's locale, the start mode and the one registry
// object. Filled by InitProgramState at start-up, by the update run and by the
// install-location lookup; released by DoneProgramState. The bottom layer: every
// other folder may read it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/registry_access_win.h"

namespace orvel {

// HKEY_CURRENT_USER-relative base of the host's per-user key.
inline constexpr std::string_view UserKeyPrefix = "Software\\Veltro\\";
// HKEY_LOCAL_MACHINE-relative base of the uninstall and shell-folder keys.
inline constexpr std::string_view WindowsKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\";
// The start mode that selects the quiet run.
inline constexpr std::string_view kQuietStartMode = "modest";

struct ProgramState {
  std::string HostAppName;       // "Orvel": per-user key, uninstall key, executable
  std::string UpdateTitle;       // caption of language-text errors and Russian built-in ones
  std::string UpdateTitleEn;     // caption of English built-in messages
  std::string HostFolder;        // Orvel's install folder; ends in "\" unless empty
  std::string UninstallKeyPath;  // Software\Microsoft\Windows\CurrentVersion\Uninstall\ .
  bool UserIsAdmin = true;
  std::string VersionText;       // decimal text of the embedded package's version
  std::string CommandLine;       // the command line without its /log=PATH arguments
  std::optional<std::string> LogPath;  // PATH of /log=PATH, when the command line asks for a log
  std::string StartMode;         // first command-line argument, ASCII lower-cased
  bool QuietRun = false;         // StartMode is kQuietStartMode
  bool SuppressBoxesAsked = false;  // "/suppressmsgboxes" given (it acts in a quiet run only)
  bool UsageAsked = false;       // "/?" or "/help" given
  std::string NotUnderstood;     // the first argument not understood; a run with one does nothing
  std::uint32_t UserLcid = 0;
  bool RussianUi = false;        // built-in texts in Russian
  bool OsIs64Bit = false;
  std::string OsDescription;     // e.g. "Windows 10 Pro 64-bit", for the log
  std::unique_ptr<RegistryAccess> SharedRegistry;

  // Folders found by FindInstallLocations; kept for the whole run.
  std::string SystemFolder;
  std::string WindowsFolder;
  std::string TempFolder;
  std::string CommonDesktopFolder;
  std::string CommonProgramsFolder;
  std::string UserProgramsFolder;
  std::string UserStartupFolder;
  std::string UserKeyPath;
  std::string ProgramsGroupFolder;
};

// The one instance, shared by all units of the process.
ProgramState& Program();

// Start-up is InitProgramState (app/program_start.h), which needs the system layer.
// Shutdown: closes the registry object and releases the strings.
void DoneProgramState();

// Makes Orvel's per-user key (Software\Veltro\Orvel under HKEY_CURRENT_USER) the
// current key of SharedRegistry, creating it when missing. Failures are silent: the
// caller's later reads simply find nothing.
void OpenUserKey();

}  // namespace orvel
