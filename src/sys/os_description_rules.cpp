// Naming rules for the running Windows (see os_description_rules.h).
#include "sys/os_description_rules.h"

#include <string_view>

#include "base/decimal_text.h"
#include "base/text_rules.h"

namespace orvel {

namespace {

// The console's "ver" line is searched with 1-based positions, 0 meaning "absent",
// so that a missing marker simply yields empty pieces instead of failing.
long Pos(std::string_view needle, std::string_view text) {
  const std::size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

// `count` characters from the 1-based `position`; empty when the count is not
// positive or the position lies past the end.
std::string Copy(std::string_view text, long position, long count) {
  if (position < 1) position = 1;
  if (count <= 0 || position > static_cast<long>(text.size())) return std::string();
  return std::string(text.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(count)));
}

std::string DottedVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  std::string text = DecimalText(major);
  text += '.';
  text += DecimalText(minor);
  text += '.';
  text += DecimalText(build);
  return text;
}

std::string UpperHex(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

// Character `index` (0-based) of the service-pack text, or 0 when it is shorter.
char CsdCharacter(const WindowsVersionFacts& facts, std::size_t index) {
  return index < facts.csd_version.size() ? facts.csd_version[index] : '\0';
}

// The release of a version line that does not carry a known marker: the text after
// "Version " up to the first dot, with "Server " before it on servers.
long AppendGenericRelease(std::string_view ver, bool workstation, std::string& description) {
  const long position = Pos("ion", ver) + 4;
  if (!workstation) description += "Server ";
  description += Copy(ver, position, Pos(".", ver) - position);
  description += ' ';
  return position;
}

// The version text: from the release's position in the "ver" line up to its "]".
void TakeConsoleVersion(std::string_view ver, long position, WindowsName& name) {
  name.version = Copy(ver, position, Pos("]", ver) - position);
}

// Windows 8 and later report 6.2 to this process; the console's "ver" line tells
// them apart.
void NameFromConsoleVersion(std::string_view ver, bool workstation, WindowsName& name) {
  struct Marker {
    const char* text;
    const char* workstation;
    const char* server;
  };
  static constexpr Marker kMarkers[] = {
      {" 6.2", "8 ", "Server 2012 "},
      {" 6.3", "8.1 ", "Server 2012 R2 "},
      {" 10", "10 ", "Server 10 "},
  };
  for (const Marker& marker : kMarkers) {
    const long position = Pos(marker.text, ver);
    if (position > 0) {
      name.description += workstation ? marker.workstation : marker.server;
      TakeConsoleVersion(ver, position, name);
      return;
    }
  }
  TakeConsoleVersion(ver, AppendGenericRelease(ver, workstation, name.description), name);
}

// The release of an NT-family Windows by major and minor version; nullptr where
// only the console can tell.
const char* NtReleaseName(const WindowsVersionFacts& facts) {
  const bool workstation = facts.product_type == kProductWorkstation;
  switch (facts.major) {
    case 3:
    case 4:
      return "NT ";
    case 5:
      if (facts.minor == 0) return "2000 ";
      if (facts.minor == 1) return "XP ";
      if (facts.minor != 2) return "Unknown version ";
      if (facts.server_r2) return "Server 2003 R2 ";
      if (facts.suite_mask == kSuiteStorageServer) return "Storage Server 2003";
      if (workstation && facts.architecture == kArchitectureAmd64) return "XP ";
      return "Server 2003 ";
    case 6:
      switch (facts.minor) {
        case 0:
          return workstation ? "Vista " : "Server 2008 ";
        case 1:
          return workstation ? "7 " : "Server 2008 R2 ";
        case 2:
          return nullptr;
        case 3:
          return workstation ? "8.1 " : "Server 2012 R2 ";
        default:
          return "";
      }
    case 10:
      if (facts.minor != 0) return "";
      return workstation ? "10 " : "Server 2016 ";
    default:
      return nullptr;
  }
}

// The release that only the console can tell: Windows 8 and later report 6.2 to this
// process, and a major version this program does not know is whatever the console
// calls it.
void AppendConsoleRelease(const WindowsVersionFacts& facts, WindowsFactSource& source, WindowsName& name) {
  const bool workstation = facts.product_type == kProductWorkstation;
  const std::string ver = source.ConsoleVersionText();
  if (facts.major == 6) {
    NameFromConsoleVersion(ver, workstation, name);
  } else {
    TakeConsoleVersion(ver, AppendGenericRelease(ver, workstation, name.description), name);
  }
}

void AppendBitness(const WindowsVersionFacts& facts, std::string& d) {
  if (facts.architecture == kArchitectureAmd64) {
    d += " 64-bit";
  } else if (facts.architecture == kArchitectureIntel) {
    d += " 32-bit";
  }
}

const char* WorkstationEdition(const WindowsVersionFacts& facts) {
  if (facts.major == 4) return "Workstation";
  if (facts.major != 5) return "Unknown Workstation";
  if (facts.minor == 2 && facts.architecture == kArchitectureAmd64) return "Professional x64";
  if (facts.starter) return "Starter";
  if (facts.media_center) return "Media Center";
  if (facts.tablet_pc) return "Tablet PC";
  if (facts.suite_mask & kSuitePersonal) return "Home";
  if (facts.suite_mask & kSuiteEmbeddedNt) return "Embedded";
  return "Professional";
}

// The edition of a server or domain controller; nullptr for a Server 2003 on an
// architecture without a name.
const char* ServerEdition(const WindowsVersionFacts& facts) {
  const std::uint16_t suite = facts.suite_mask;
  if (facts.major == 4) return (suite & kSuiteEnterprise) ? "Server 4.0 Enterprise" : "Server 4.0";
  if (facts.major == 5 && facts.minor == 0) {
    if (suite & kSuiteDatacenter) return "Datacenter Server";
    if (suite & kSuiteEnterprise) return "Advanced Server";
    return "Server";
  }
  if (facts.major == 5 && facts.minor == 2) {
    switch (facts.architecture) {
      case kArchitectureIntel:
        if (suite & kSuiteComputeServer) return "Computer Cluster";
        if (suite & kSuiteDatacenter) return "Datacenter";
        if (suite & kSuiteEnterprise) return "Enterprise";
        if (suite == kSuiteBlade) return "Web";
        return "Standard";
      case kArchitectureIa64:
        if (suite & kSuiteDatacenter) return "Datacenter for Itanium-based Systems";
        if (suite & kSuiteEnterprise) return "Enterprise for Itanium-based Systems";
        return "Standard Itanium-based";
      case kArchitectureAmd64:
        if (suite & kSuiteDatacenter) return "Datacenter x64";
        if (suite & kSuiteEnterprise) return "Enterprise x64";
        return "Standard x64";
      default:
        return nullptr;
    }
  }
  return facts.product_type == kProductServer ? "Unknown Server" : "Unknown Domain controller";
}

// The edition, from the extended version record; Vista and later name only the
// bitness here.
void AppendEdition(const WindowsVersionFacts& facts, std::string& d) {
  if (facts.major == 6) {
    AppendBitness(facts, d);
    return;
  }
  if (facts.product_type == kProductWorkstation) {
    d += WorkstationEdition(facts);
  } else if (facts.product_type == kProductDomainController || facts.product_type == kProductServer) {
    if (const char* edition = ServerEdition(facts)) {
      d += edition;
    } else {
      d += "Unknown on Architecture 0x";
      d += UpperHex(facts.architecture);
    }
  } else {
    d += "Unknown";
  }
}

// Without the extended record, the edition comes from the product options key.
void AppendProductOptionsEdition(WindowsFactSource& source, std::string& d) {
  std::string type;
  if (!source.ProductOptionsType(type)) return;
  type = AsciiUpper(type);
  if (type == "WINNT") {
    d += "Workstation";
  } else if (type == "LANMANNT") {
    d += "Server";
  } else if (type == "SERVERNT") {
    d += "Advanced Server";
  } else {
    d += "Unknown";
  }
}

bool NameNtWindows(const WindowsVersionFacts& facts, WindowsFactSource& source, WindowsName& name) {
  const char* release = NtReleaseName(facts);
  // Vista and later (all of which report major version 6 to this process) keep their
  // name in the registry, and where it can be read it replaces the whole composed
  // name, the console's part included: the console is then not started at all. A
  // major version this program does not know is named by the console and the
  // generic edition rows ("Unknown Workstation", "Unknown Server").
  std::string product_name;
  if (facts.extended && facts.major == 6 && source.ProductName(product_name)) {
    name.description = product_name;
    AppendBitness(facts, name.description);
  } else {
    if (release != nullptr) {
      name.description += release;
    } else {
      AppendConsoleRelease(facts, source, name);
    }
    if (facts.extended) {
      AppendEdition(facts, name.description);
    } else {
      AppendProductOptionsEdition(source, name.description);
    }
  }
  name.service_pack = facts.csd_version;
  // The hotfix that made Service Pack 6 into 6a left only this key behind.
  if (facts.major == 4 && facts.csd_version == "Service Pack 6" && source.HasHotfixQ246009()) {
    name.service_pack = "Service Pack 6a";
  }
  if (name.version.empty()) name.version = DottedVersion(facts.major, facts.minor, facts.build_number & 0xFFFF);
  return true;
}

// The release of a Windows 9x.
const char* Win9xReleaseName(const WindowsVersionFacts& facts) {
  const std::uint32_t build = facts.build_number & 0xFFFF;
  const char second = CsdCharacter(facts, 1);
  if (facts.major != 4) return "Unknown 9x";
  switch (facts.minor) {
    case 0:
    case 3:
      if (build == 1111) return "95 OSR 2.0";
      if (build == 1212 || build == 1213) return "95 OSR 2.1";
      if (build == 1214) return second == 'C' ? "95 OSR 2.5" : "95 OSR 2.1";
      if (build > 1080) return "95 OSR 2.x";
      if (second == 'A' || second == 'W') return "95 OSR 1";
      return "95";
    case 10:
      // The second edition: by the whole build number or by the service-pack letter.
      if (facts.build_number == 2222 || second == 'A' || second == 'B') return "98 SE";
      return "98";
    case 90:
      return "Millennium";
    default:
      return "Unknown 9x";
  }
}

bool NameWin9x(const WindowsVersionFacts& facts, WindowsName& name) {
  name.description += Win9xReleaseName(facts);
  name.version = DottedVersion(facts.major, facts.minor & 0xFF, facts.build_number & 0xFFFF);
  name.service_pack = facts.csd_version;
  return true;
}

bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

bool NameWindowsVersion(const WindowsVersionFacts& facts, WindowsFactSource& source, WindowsName& name) {
  name = WindowsName();
  name.description = "Microsoft Windows ";
  if (facts.platform_id == kPlatformNt) return NameNtWindows(facts, source, name);
  if (facts.platform_id == kPlatformWin9x) return NameWin9x(facts, name);
  return false;
}

OsDescription ComposeOsDescription(const WindowsName& name) {
  OsDescription result;
  result.text = name.description;
  if (!IsBlank(name.service_pack)) {
    result.text += ' ';
    result.text += name.service_pack;
  }
  result.is_64bit = result.text.find(" 64") != std::string::npos;
  result.is_server = result.text.find("Server") != std::string::npos;
  return result;
}

}  // namespace orvel
