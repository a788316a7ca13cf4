// Win32 side of the contact with Orvel (see host_link.h).
#include "app/host_link.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "app/host_start_route.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "base/scoped_handle_win.h"
#include "sys/desktop_shell_win.h"
#include "sys/folder_lock_name.h"
#include "sys/held_folder_win.h"

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

WinResult FolderSizeKiB(const HeldFolder& folder, std::int32_t& kib) {
  std::uint64_t total = 0;
  // Subfolders still to list, open; the held folder is listed first.
  std::vector<ScopedFileHandle> pending;
  constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  constexpr ACCESS_MASK kListing = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;
  // The held folder through a handle of its own, opened relative to it under no name:
  // Wine keeps a handle's first listing and shows it again, staging file and all.
  ScopedFileHandle current;
  if (const WinResult opened = OpenInFolder(folder.Get(), L"", kListing, kShareAll, FILE_OPEN, 0, current); !opened)
    return opened;
  HANDLE listed = current.Get();
  bool top = true;
  for (;;) {
    FolderListing listing(listed);
    while (listing.Next()) {
      const DWORD attributes = listing.Attributes();
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (!top || !IsFolderLockName(listing.Name())) total += listing.Size();
        continue;
      }
      ScopedFileHandle sub;
      BY_HANDLE_FILE_INFORMATION info;
      const WinResult opened =
          OpenInFolder(listed, listing.Name(), kListing, kShareAll, FILE_OPEN, FILE_DIRECTORY_FILE, sub);
      if (!opened) return opened;
      if (!::GetFileInformationByHandle(sub.Get(), &info)) return WinResult::LastError();
      // A subfolder swapped for a junction since the listing opens as the junction
      // itself: it is not entered.
      if (!(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) pending.push_back(std::move(sub));
    }
    if (!listing.Result()) return listing.Result();
    if (pending.empty()) break;
    current = std::move(pending.back());
    pending.pop_back();
    listed = current.Get();
    top = false;
  }
  kib = SaturatedKiB(total);
  return WinResult();
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
