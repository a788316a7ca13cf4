// Win32 side of the contact with Orvel (see host_link.h).
#include "app/host_link.h"

#include <windows.h>
#include <shellapi.h>

#include <deque>

#include "app/host_start_route.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "base/scoped_handle_win.h"
#include "sys/desktop_shell_win.h"
#include "sys/path_rules.h"

namespace orvel {

namespace {
constexpr DWORD kProbeMappingSize = 64;
}  // namespace

bool IsHostAppRunning() {
  ScopedKernelHandle mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                  kProbeMappingSize, kHostMappingName));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    mapping.Release();  // kept open until the process ends
    return true;
  }
  return false;
}

bool AskHostAppToQuit() {
  HWND window = ::FindWindowA(kHostWindowClass, nullptr);
  return window != nullptr && ::PostMessageA(window, WM_QUIT, 0, 0);
}

std::int32_t FolderSizeKiB(const std::string& folder) {
  if (folder.empty()) return -1;
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;

  // Breadth-first: the top folder, then its subfolders in listing order, then theirs.
  std::uint64_t total = 0;
  std::deque<std::string> pending{folder};
  while (!pending.empty()) {
    std::string current = std::move(pending.front());
    pending.pop_front();
    EnsureTrailingBackslash(current);
    WIN32_FIND_DATAA entry;
    ScopedFindHandle listing(::FindFirstFileA((current + "*.*").c_str(), &entry));
    if (!listing) continue;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        const std::string_view name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        pending.push_back(current + entry.cFileName);
      } else {
        total += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
      }
    } while (::FindNextFileA(listing.Get(), &entry));
  }
  return SaturatedKiB(total);
}

namespace {

// Orvel's executable in its folder, started in that folder.
struct OrvelStarter {
  const std::string& folder;
  std::string executable;

  bool StartThroughDesktopShell() const { return ShellExecuteThroughDesktop(executable, folder, SW_SHOWNORMAL); }
  void StartDirectly() const {
    ::SetCurrentDirectoryA(folder.c_str());
    ::ShellExecuteA(nullptr, "open", executable.c_str(), "", "", SW_SHOWNORMAL);
  }
};

}  // namespace

void StartHostApp() {
  // Both the desktop shell and the handlers behind ShellExecuteA are reached through
  // COM, which nothing else in the installer needs.
  const ComApartment com;
  const ProgramState& state = Program();
  const OrvelStarter starter{state.HostFolder, state.HostFolder + state.HostAppName + ".exe"};
  const bool elevated = ProcessIsElevated();
  const bool asked = StartAsSignedInUser(elevated, starter);
  LogLine({!elevated ? "Orvel started directly: "
           : asked   ? "Orvel started by the desktop shell: "
                     : "Orvel not started, no desktop shell answered: ",
           starter.executable});
}

}  // namespace orvel
