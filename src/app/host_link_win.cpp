// Win32 side of the contact with Orvel (see host_link.h).
#include "app/host_link.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
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

// The facts of this process's token that decide how Orvel may be started.
TokenFacts ReadTokenFacts() {
  TokenFacts facts;
  DWORD session = 1;
  if (::ProcessIdToSessionId(::GetCurrentProcessId(), &session)) facts.session = session;
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return facts;
  const ScopedKernelHandle owned(token);
  facts.administrators = Program().UserIsAdmin;
  union {
    TOKEN_USER user;
    TOKEN_MANDATORY_LABEL label;
    BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  } info;
  DWORD size = 0;
  // The SIDs are read as the SID structure lays them out; the calls that would take
  // them apart cost more than the comparisons. Every elevated token has high
  // integrity, so the level tells both.
  if (::GetTokenInformation(token, TokenIntegrityLevel, &info, sizeof info, &size)) {
    const SID& label = *static_cast<const SID*>(info.label.Label.Sid);
    facts.elevated_or_high = label.SubAuthority[label.SubAuthorityCount - 1] >= SECURITY_MANDATORY_HIGH_RID;
  }
  if (::GetTokenInformation(token, TokenUser, &info, sizeof info, &size)) {
    // SYSTEM, LocalService and NetworkService: S-1-5-18, S-1-5-19, S-1-5-20.
    const SID& user = *static_cast<const SID*>(info.user.User.Sid);
    const SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    facts.service_account = user.SubAuthorityCount == 1 && std::memcmp(&user.IdentifierAuthority, &nt, sizeof nt) == 0 &&
                            user.SubAuthority[0] - SECURITY_LOCAL_SYSTEM_RID <= 2u;
  }
  return facts;
}

}  // namespace

void StartHostApp() {
  const ProgramState& state = Program();
  const OrvelStarter starter{state.HostFolder, state.HostFolder + state.HostAppName + ".exe"};
  const HostStartRoute route = ChooseHostStartRoute(ReadTokenFacts());
  bool started = false;
  if (route == HostStartRoute::kDirect || route == HostStartRoute::kDesktopShell) {
    // Both the desktop shell and the handlers behind ShellExecuteA are reached through
    // COM, which nothing else in the installer needs.
    const ComApartment com;
    started = StartAsSignedInUser(route, starter);
  }
  static constexpr const char* kNotStarted[] = {
      "", "Orvel not started, no desktop shell answered: ", "Orvel not started in session 0, where no user is signed in: ",
      "Orvel not started as SYSTEM or a service account: "};
  LogLine({!started ? kNotStarted[static_cast<int>(route)]
           : route == HostStartRoute::kDirect ? "Orvel started directly: "
                                              : "Orvel started by the desktop shell: ",
           starter.executable});
}

}  // namespace orvel
