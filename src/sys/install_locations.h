// Where things are on this machine: system, program and shell folders, Orvel's
// registry paths, its default install folder from its uninstall entry (64-bit view
// first, then the 32-bit view), and whether the user is an administrator.
#pragma once

#include <string>

namespace orvel {

// The values found here that only this unit keeps (the others live in ProgramState).
struct InstallLocations {
  std::string ProgramFilesFolder;
  std::string UserDesktopFolder;
  std::string ProgramsGroupFolderAlt;
  std::string UserProgramsGroupFolderRu;
  std::string UserProgramsGroupFolderEn;
  // Orvel's uninstall key in the 32-bit registry view, set only when Orvel was found
  // there and not in the native view; else empty.
  std::string Wow64UninstallKeyPath;
};

const InstallLocations& Locations();

// Logs, naming the registry value, a folder whose name lost characters on its way
// into the system's ANSI code page (the one this program works in): Windows puts the
// code page's default character "?" in their place, which no real folder name holds,
// so that Orvel is then not found there.
void LogLostCharacters(const char* value_name, const std::string& folder);

// Fills the folders, UninstallKeyPath, the default HostFolder and UserIsAdmin. False
// after "No access to system registry" was shown: the registry could not be read.
bool FindInstallLocations();

}  // namespace orvel
