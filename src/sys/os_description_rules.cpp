// Naming rules for the running Windows (see os_description_rules.h).
#include "sys/os_description_rules.h"

#include <string_view>

#include "sys/decimal_text.h"

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

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
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
  long position;
  if ((position = Pos(" 6.2", ver)) > 0) {
    name.description += workstation ? "8 " : "Server 2012 ";
  } else if ((position = Pos(" 6.3", ver)) > 0) {
    name.description += workstation ? "8.1 " : "Server 2012 R2 ";
  } else if ((position = Pos(" 10", ver)) > 0) {
    name.description += workstation ? "10 " : "Server 10 ";
  } else {
    position = AppendGenericRelease(ver, workstation, name.description);
  }
  TakeConsoleVersion(ver, position, name);
}

// The release of an NT-family Windows, by major and minor version.
void AppendNtRelease(const WindowsVersionFacts& facts, WindowsFactSource& source, WindowsName& name) {
  const bool workstation = facts.product_type == kProductWorkstation;
  std::string& d = name.description;
  switch (facts.major) {
    case 3:
    case 4:
      d += "NT ";
      return;
    case 5:
      if (facts.minor == 0) {
        d += "2000 ";
      } else if (facts.minor == 1) {
        d += "XP ";
      } else if (facts.minor == 2) {
        if (facts.server_r2) {
          d += "Server 2003 R2 ";
        } else if (facts.suite_mask == kSuiteStorageServer) {
          d += "Storage Server 2003";
        } else if (workstation && facts.architecture == kArchitectureAmd64) {
          d += "XP ";
        } else {
          d += "Server 2003 ";
        }
      } else {
        d += "Unknown version ";
      }
      return;
    case 6:
      if (facts.minor == 0) {
        d += workstation ? "Vista " : "Server 2008 ";
      } else if (facts.minor == 1) {
        d += workstation ? "7 " : "Server 2008 R2 ";
      } else if (facts.minor == 2) {
        NameFromConsoleVersion(source.ConsoleVersionText(), workstation, name);
      } else if (facts.minor == 3) {
        d += workstation ? "8.1 " : "Server 2012 R2 ";
      }
      return;
    case 10:
      if (facts.minor == 0) d += workstation ? "10 " : "Server 2016 ";
      return;
    default: {
      // A release this program does not know: whatever the console calls it.
      const std::string ver = source.ConsoleVersionText();
      TakeConsoleVersion(ver, AppendGenericRelease(ver, workstation, d), name);
      return;
    }
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

std::string ServerEdition(const WindowsVersionFacts& facts) {
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
        return "Unknown on Architecture 0x" + UpperHex(facts.architecture);
    }
  }
  return facts.product_type == kProductServer ? "Unknown Server" : "Unknown Domain controller";
}

// The edition, from the extended version record (and on Vista and later from the
// registry's product name, which replaces the whole description).
void AppendEdition(const WindowsVersionFacts& facts, WindowsFactSource& source, std::string& d) {
  if (facts.major == 6) {
    std::string product_name;
    if (source.ProductName(product_name)) d = product_name;
    if (facts.architecture == kArchitectureAmd64) {
      d += " 64-bit";
    } else if (facts.architecture == kArchitectureIntel) {
      d += " 32-bit";
    }
    return;
  }
  switch (facts.product_type) {
    case kProductWorkstation:
      d += WorkstationEdition(facts);
      return;
    case kProductDomainController:
    case kProductServer:
      d += ServerEdition(facts);
      return;
    default:
      d += "Unknown";
      return;
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
  AppendNtRelease(facts, source, name);
  if (facts.extended) {
    AppendEdition(facts, source, name.description);
  } else {
    AppendProductOptionsEdition(source, name.description);
  }
  name.service_pack = facts.csd_version;
  // The hotfix that made Service Pack 6 into 6a left only this key behind.
  if (facts.major == 4 && facts.csd_version == "Service Pack 6" && source.HasHotfixQ246009()) {
    name.service_pack = "Service Pack 6a";
  }
  if (name.version.empty()) name.version = DottedVersion(facts.major, facts.minor, facts.build_number & 0xFFFF);
  return true;
}

bool NameWin9x(const WindowsVersionFacts& facts, WindowsName& name) {
  const std::uint32_t build = facts.build_number & 0xFFFF;
  const char second = CsdCharacter(facts, 1);
  std::string& d = name.description;
  if (facts.major != 4) {
    d += "Unknown 9x";
  } else if (facts.minor == 0 || facts.minor == 3) {
    if (build == 1111) {
      d += "95 OSR 2.0";
    } else if (build == 1212 || build == 1213) {
      d += "95 OSR 2.1";
    } else if (build == 1214) {
      d += second == 'C' ? "95 OSR 2.5" : "95 OSR 2.1";
    } else if (build > 1080) {
      d += "95 OSR 2.x";
    } else if (second == 'A' || second == 'W') {
      d += "95 OSR 1";
    } else {
      d += "95";
    }
  } else if (facts.minor == 10) {
    d += "98";
    if (facts.build_number == 2222 || second == 'A' || second == 'B') d += " SE";
  } else if (facts.minor == 90) {
    d += "Millennium";
  } else {
    d += "Unknown 9x";
  }
  name.version = DottedVersion(facts.major, facts.minor & 0xFF, build);
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
