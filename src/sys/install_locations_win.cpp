// Gathering of the install locations from Windows and the registry (see
// install_locations.h). The folder rules themselves live in path_rules.
#include "sys/install_locations.h"

#include <windows.h>

#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "sys/environment_win.h"
#include "sys/path_rules.h"

namespace orvel {

namespace {

InstallLocations g_locations;

// Reads `name` into `value` when the current key has it; a missing value leaves
// `value` as it was. Fails on a registry error (a value of another type).
WinResult ReadIfPresent(RegistryAccess& registry, const char* name, std::string& value) {
  if (!registry.ValueExists(name)) return WinResult();
  return registry.ReadString(name, value);
}

// Opens `path` under `root` (without creating it), runs `read`, and closes the key
// in every case. A missing key makes every value absent.
template <typename Read>
WinResult WithKey(RegistryAccess& registry, HKEY root, const std::string& path, Read read) {
  registry.SetRootKey(root);
  static_cast<void>(registry.OpenKey(path, KeyOpening::kExisting));
  const WinResult result = read();
  registry.CloseKey();
  return result;
}

std::string FolderFromSystem(UINT (WINAPI* get)(LPSTR, UINT)) {
  char buffer[256] = {};
  const UINT length = get(buffer, 255);
  std::string folder = length > 0 && length < 255 ? std::string(buffer, length) : std::string();
  EnsureTrailingBackslash(folder);
  return folder;
}

bool IsNtPlatform() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// What IsUserAnAdmin answers: whether this process's token holds the Administrators
// group enabled (an administrator's unelevated token holds it for denying only).
// Asked of advapi32 itself: IsUserAnAdmin lives in shell32.dll, which would load it,
// and user32.dll with it, into every run, a quiet update included.
bool UserIsAnAdministrator() {
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  BOOL member = FALSE;
  return ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
         ::CheckTokenMembership(nullptr, administrators, &member) && member;
}

// Reports a registry failure (its code stays the thread's last error); false for the
// caller to return.
bool ReportRegistryError(WinResult failure) {
  ShowRegistryError(failure);
  return false;
}

}  // namespace

const InstallLocations& Locations() { return g_locations; }

void LogLostCharacters(const char* value_name, const std::string& folder) {
  if (folder.find('?') != std::string::npos)
    LogLine({value_name, " is outside the ANSI code page: ", folder});
}

bool FindInstallLocations() {
  ProgramState& state = Program();
  RegistryAccess& registry = *state.SharedRegistry;
  InstallLocations& own = g_locations;
  const std::string windows_key(WindowsKeyPath);
  const std::string shell_folders_key = windows_key + "Explorer\\Shell Folders";

  state.CommonProgramsFolder.clear();
  state.SystemFolder = FolderFromSystem(::GetSystemDirectoryA);
  state.WindowsFolder = FolderFromSystem(::GetWindowsDirectoryA);

  own.ProgramFilesFolder.clear();
  if (const WinResult read = WithKey(registry, HKEY_LOCAL_MACHINE, windows_key,
                                     [&] { return ReadIfPresent(registry, "ProgramFilesDir", own.ProgramFilesFolder); });
      !read)
    return ReportRegistryError(read);
  EnsureTrailingBackslash(own.ProgramFilesFolder);

  state.UserIsAdmin = UserIsAnAdministrator();

  state.TempFolder = EnvironmentText("Temp");
  EnsureTrailingBackslash(state.TempFolder);

  // Each folder value read in turn; the first that fails ends the reading.
  const auto read_folders = [&](std::initializer_list<std::pair<const char*, std::string*>> folders) {
    for (const auto& [name, folder] : folders) {
      if (const WinResult read = ReadIfPresent(registry, name, *folder); !read) return read;
      EnsureTrailingBackslash(*folder);
    }
    return WinResult();
  };
  state.CommonDesktopFolder.clear();
  const WinResult machine_folders_read = WithKey(registry, HKEY_LOCAL_MACHINE, shell_folders_key, [&] {
    if (!IsNtPlatform()) return read_folders({{"Common Desktop", &state.CommonDesktopFolder}});
    return read_folders({{"Common Desktop", &state.CommonDesktopFolder},
                         {"Common Programs", &state.CommonProgramsFolder}});
  });
  if (!machine_folders_read) return ReportRegistryError(machine_folders_read);

  const WinResult user_folders_read = WithKey(registry, HKEY_CURRENT_USER, shell_folders_key, [&] {
    return read_folders({{"Programs", &state.UserProgramsFolder},
                         {"Desktop", &own.UserDesktopFolder},
                         {"Startup", &state.UserStartupFolder}});
  });
  if (!user_folders_read) return ReportRegistryError(user_folders_read);

  state.UninstallKeyPath = windows_key + "Uninstall\\";
  state.UserKeyPath = std::string(UserKeyPrefix) + state.HostAppName + "\\";
  if (state.CommonProgramsFolder.size() < 2) state.CommonProgramsFolder = state.UserProgramsFolder;

  own.ProgramsGroupFolderAlt = state.CommonProgramsFolder + state.UpdateTitle + "\\";
  state.ProgramsGroupFolder = state.CommonProgramsFolder + state.UpdateTitleEn + "\\";
  own.UserProgramsGroupFolderRu = state.UserProgramsFolder + state.UpdateTitle + "\\";
  own.UserProgramsGroupFolderEn = state.UserProgramsFolder + state.UpdateTitleEn + "\\";
  if (state.RussianUi) std::swap(state.ProgramsGroupFolder, own.ProgramsGroupFolderAlt);

  // Orvel's folder: its uninstall entry in the native view, else in the 32-bit view,
  // else Program Files + "Orvel". Only a full path counts: a relative one would be
  // taken from whatever folder the installer was started in.
  state.HostFolder.clear();
  if (IsFullFolderPath(own.ProgramFilesFolder)) state.HostFolder = own.ProgramFilesFolder + state.HostAppName;
  own.Wow64UninstallKeyPath.clear();
  const auto read_host_folder = [&](const std::string& key, bool& found) {
    return WithKey(registry, HKEY_LOCAL_MACHINE, key, [&] {
      if (!registry.ValueExists("UninstallString")) return WinResult();
      std::string uninstall;
      if (const WinResult read = registry.ReadString("UninstallString", uninstall); !read) return read;
      const std::string folder = UninstallStringFolder(uninstall);
      LogLostCharacters("UninstallString", folder);
      found = IsFullFolderPath(folder);
      if (found) state.HostFolder = folder;
      return WinResult();
    });
  };
  bool found = false;
  if (const WinResult read = read_host_folder(state.UninstallKeyPath + state.HostAppName, found); !read)
    return ReportRegistryError(read);
  const char* origin = found ? "its uninstall entry" : "Program Files";
  if (!found) {
    const std::string wow64_key = Wow64KeyPath(state.UninstallKeyPath) + state.HostAppName;
    if (const WinResult read = read_host_folder(wow64_key, found); !read) return ReportRegistryError(read);
    if (found) {
      own.Wow64UninstallKeyPath = wow64_key;
      origin = "its WOW6432Node uninstall entry";
    }
  }
  EnsureTrailingBackslash(state.HostFolder);
  LogLine({"Orvel's folder from ", origin, ": ", state.HostFolder});
  return true;
}

}  // namespace orvel
