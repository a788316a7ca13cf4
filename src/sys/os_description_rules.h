// The rules that name the running Windows, free of any Windows call: from what the
// system reports (version record, processor architecture, system metrics, the
// console's "ver" line, a few registry values) to the one-line description, such as
// "Windows 10 Pro 64-bit" or "Microsoft Windows XP Professional Service Pack 3", and
// the two flags derived from it.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Platform ids of the version record.
inline constexpr std::uint32_t kPlatformWin9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr std::uint32_t kPlatformNt = 2;     // VER_PLATFORM_WIN32_NT
// Product types.
inline constexpr std::uint8_t kProductWorkstation = 1;     // VER_NT_WORKSTATION
inline constexpr std::uint8_t kProductDomainController = 2;
inline constexpr std::uint8_t kProductServer = 3;
// Processor architectures.
inline constexpr std::uint16_t kArchitectureIntel = 0;
inline constexpr std::uint16_t kArchitectureIa64 = 6;
inline constexpr std::uint16_t kArchitectureAmd64 = 9;
// Suite mask bits.
inline constexpr std::uint16_t kSuiteEnterprise = 0x0002;
inline constexpr std::uint16_t kSuiteEmbeddedNt = 0x0040;
inline constexpr std::uint16_t kSuiteDatacenter = 0x0080;
inline constexpr std::uint16_t kSuitePersonal = 0x0200;
inline constexpr std::uint16_t kSuiteBlade = 0x0400;
inline constexpr std::uint16_t kSuiteStorageServer = 0x2000;
inline constexpr std::uint16_t kSuiteComputeServer = 0x4000;

// What GetVersionExA, the native system information and GetSystemMetrics report.
struct WindowsVersionFacts {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build_number = 0;  // the whole dwBuildNumber; "build" is its low 16 bits
  std::uint32_t platform_id = 0;
  std::string csd_version{};       // szCSDVersion up to its terminator (at most 128)
  // The OSVERSIONINFOEXA part was filled; without it the two fields below are 0.
  bool extended = false;
  std::uint16_t suite_mask = 0;
  std::uint8_t product_type = 0;
  std::uint16_t architecture = 0;  // wProcessorArchitecture
  // GetSystemMetrics results, non-zero counted as true; read for major version 5 only,
  // the one whose rows use them.
  bool server_r2 = false;     // SM_SERVERR2
  bool starter = false;       // SM_STARTER
  bool media_center = false;  // SM_MEDIACENTER
  bool tablet_pc = false;     // SM_TABLETPC
};

// Facts that cost something to learn, asked for only by the rows that need them.
class WindowsFactSource {
 public:
  // Output of the console command "ver", as RunConsoleCommand returns it.
  virtual std::string ConsoleVersionText() = 0;
  // "ProductName" of HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion (64-bit
  // view); false when the key does not open or the value is missing.
  virtual bool ProductName(std::string& name) = 0;
  // "ProductType" of HKLM\SYSTEM\CurrentControlSet\Control\ProductOptions as stored;
  // false when the key does not open, the read fails or the value is not REG_SZ.
  virtual bool ProductOptionsType(std::string& type) = 0;
  // Whether HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Hotfix\Q246009 opens.
  virtual bool HasHotfixQ246009() = 0;

 protected:
  ~WindowsFactSource() = default;
};

// The parts of a Windows name: description (release and edition), version text and
// service-pack text.
struct WindowsName {
  std::string description;
  std::string version;
  std::string service_pack;
};

// Names the Windows the facts describe. False for a platform id other than NT and
// 9x; `name.description` then holds "Microsoft Windows " and nothing else.
bool NameWindowsVersion(const WindowsVersionFacts& facts, WindowsFactSource& source, WindowsName& name);

// The one-line description of a name and the flags read from it.
struct OsDescription {
  std::string text;
  bool is_64bit = false;   // the text contains " 64"
  bool is_server = false;  // the text contains "Server"
};

// The description followed by one space and the service-pack text, unless that text
// is blank once spaces and control characters are trimmed.
OsDescription ComposeOsDescription(const WindowsName& name);

}  // namespace orvel
