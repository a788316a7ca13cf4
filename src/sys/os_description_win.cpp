// Naming the running Windows from the live system (see os_description.h and
// os_description_win.h). The rules themselves are in os_description_rules.cpp.
#include "sys/os_description.h"
#include "sys/os_description_win.h"

#include <windows.h>

#include <utility>

#include "base/file_access_win.h"
#include "base/program_state.h"
#include "base/registry_access_win.h"
#include "base/scoped_handle_win.h"
#include "sys/console_capture.h"

namespace orvel {

namespace {

bool os_is_server = false;

// Vista and later keep the marketing name here; in the 64-bit view, since a 32-bit
// process would otherwise read the WOW64 copy.
constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kProductOptionsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr char kHotfixQ246009Key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

WORD NativeProcessorArchitecture() {
  SYSTEM_INFO info = {};
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  // Windows XP and later; a 32-bit process on 64-bit Windows learns the true
  // architecture only from this one.
  const auto native_info =
      EntryPoint<GetNativeSystemInfoFn>(::GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo");
  if (native_info != nullptr) {
    native_info(&info);
  } else {
    ::GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture;
}

}  // namespace

bool ReadWindowsVersionFacts(WindowsVersionFacts& facts) {
  facts = WindowsVersionFacts();
  OSVERSIONINFOEXA record = {};
  record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  facts.extended = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record)) != FALSE;
  if (!facts.extended) {
    // Windows before NT 4.0 SP6 know only the plain record.
    record = OSVERSIONINFOEXA();
    record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record))) return false;
  }
  facts.major = record.dwMajorVersion;
  facts.minor = record.dwMinorVersion;
  facts.build_number = record.dwBuildNumber;
  facts.platform_id = record.dwPlatformId;
  std::size_t csd_length = 0;
  while (csd_length < sizeof record.szCSDVersion && record.szCSDVersion[csd_length] != '\0') ++csd_length;
  facts.csd_version.assign(record.szCSDVersion, csd_length);
  if (facts.extended) {
    facts.suite_mask = record.wSuiteMask;
    facts.product_type = record.wProductType;
  }
  facts.architecture = NativeProcessorArchitecture();
  // Only the Windows 2000/XP/2003 rows look at the metrics; elsewhere asking would
  // load user32.dll into a quiet update that shows no window.
  if (facts.major == 5) {
    facts.server_r2 = ::GetSystemMetrics(SM_SERVERR2) != 0;
    facts.starter = ::GetSystemMetrics(SM_STARTER) != 0;
    facts.media_center = ::GetSystemMetrics(SM_MEDIACENTER) != 0;
    facts.tablet_pc = ::GetSystemMetrics(SM_TABLETPC) != 0;
  }
  return true;
}

std::string LiveWindowsFacts::ConsoleVersionText() { return RunConsoleCommand("ver"); }

bool LiveWindowsFacts::ProductName(std::string& name) {
  name.clear();
  // Its own registry object, not the shared one: that is created from the bitness
  // this very naming finds out. Read access only, so a key that refuses writing
  // still counts as readable.
  RegistryAccess registry(KEY_QUERY_VALUE | KEY_WOW64_64KEY);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kCurrentVersionKey, KeyOpening::kExisting)) return false;
  if (!registry.ValueExists("ProductName")) return false;
  return registry.ReadString("ProductName", name).Succeeded();
}

bool LiveWindowsFacts::ProductOptionsType(std::string& type) {
  type.clear();
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductOptionsKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return false;
  }
  ScopedRegKey key(opened);
  char text[256];
  DWORD size = sizeof text;
  DWORD value_type = 0;
  if (::RegQueryValueExA(key.Get(), "ProductType", nullptr, &value_type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      value_type != REG_SZ) {
    return false;
  }
  // Stored strings need not be terminated.
  std::size_t length = 0;
  while (length < size && text[length] != '\0') ++length;
  type.assign(text, length);
  return true;
}

bool LiveWindowsFacts::HasHotfixQ246009() {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHotfixQ246009Key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return false;
  }
  ScopedRegKey key(opened);
  return true;
}

bool NameWindowsVersion(WindowsName& name) {
  name = WindowsName();
  WindowsVersionFacts facts;
  if (!ReadWindowsVersionFacts(facts)) return false;
  LiveWindowsFacts live;
  return NameWindowsVersion(facts, live, name);
}

std::string DescribeOperatingSystem() {
  WindowsName name;
  if (!NameWindowsVersion(name)) return "unknown";
  OsDescription description = ComposeOsDescription(name);
  Program().OsIs64Bit = description.is_64bit;
  os_is_server = description.is_server;
  return std::move(description.text);
}

bool OsIsServer() { return os_is_server; }

}  // namespace orvel
