// Naming the running Windows from its facts: the release table, the console "ver"
// rules, the editions, the service pack, the 9x family and the two flags.
#include "sys/os_description_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

constexpr const char* kNoProductName = nullptr;
constexpr const char* kWin10Ver = "\r\nMicrosoft Windows [Version 10.0.22631.3155]\r\n";

// The costly facts as a table row gives them, counting what the naming asked for.
class FakeFacts : public WindowsFactSource {
 public:
  const char* ver = "";
  const char* product_name = kNoProductName;
  const char* product_type = nullptr;  // nullptr: the key or the REG_SZ read fails
  bool hotfix = false;
  int ver_calls = 0;
  int product_name_calls = 0;
  int product_type_calls = 0;

  std::string ConsoleVersionText() override {
    ++ver_calls;
    return ver;
  }
  bool ProductName(std::string& name) override {
    ++product_name_calls;
    if (product_name == nullptr) return false;
    name = product_name;
    return true;
  }
  bool ProductOptionsType(std::string& type) override {
    ++product_type_calls;
    if (product_type == nullptr) return false;
    type = product_type;
    return true;
  }
  bool HasHotfixQ246009() override { return hotfix; }
};

struct Case {
  const char* label;
  WindowsVersionFacts facts;
  const char* ver;           // console output, when the naming runs "ver"
  const char* product_name;  // "ProductName", or nullptr when missing
  const char* description;   // the composed result
  const char* version;
  bool is_64bit;
  bool is_server;
  bool runs_ver;
};

constexpr std::uint16_t kIntel = kArchitectureIntel;
constexpr std::uint16_t kIa64 = kArchitectureIa64;
constexpr std::uint16_t kAmd64 = kArchitectureAmd64;
constexpr std::uint8_t kWs = kProductWorkstation;
constexpr std::uint8_t kSrv = kProductServer;
constexpr std::uint8_t kDc = kProductDomainController;

// The system metrics a row sets.
enum Metrics { kR2 = 1, kStarter = 2, kMediaCenter = 4, kTabletPc = 8 };

// An NT-family Windows that filled the extended version record.
WindowsVersionFacts Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, std::uint8_t product_type,
                       std::uint16_t architecture = kIntel, std::uint16_t suite = 0, const char* csd = "",
                       int metrics = 0) {
  WindowsVersionFacts facts;
  facts.major = major;
  facts.minor = minor;
  facts.build_number = build;
  facts.platform_id = kPlatformNt;
  facts.csd_version = csd;
  facts.extended = true;
  facts.suite_mask = suite;
  facts.product_type = product_type;
  facts.architecture = architecture;
  facts.server_r2 = (metrics & kR2) != 0;
  facts.starter = (metrics & kStarter) != 0;
  facts.media_center = (metrics & kMediaCenter) != 0;
  facts.tablet_pc = (metrics & kTabletPc) != 0;
  return facts;
}

void ExpectNamed(const Case& c) {
  SCOPED_TRACE(c.label);
  FakeFacts facts;
  facts.ver = c.ver;
  facts.product_name = c.product_name;
  WindowsName name;
  ASSERT_TRUE(NameWindowsVersion(c.facts, facts, name));
  const OsDescription description = ComposeOsDescription(name);
  EXPECT_EQ(description.text, c.description);
  EXPECT_EQ(name.version, c.version);
  EXPECT_EQ(description.is_64bit, c.is_64bit);
  EXPECT_EQ(description.is_server, c.is_server);
  EXPECT_EQ(facts.ver_calls, c.runs_ver ? 1 : 0);
  // Only major version 6 (Vista and later) consults the product name, and only from the extended record.
  EXPECT_EQ(facts.product_name_calls, c.facts.major == 6 && c.facts.extended ? 1 : 0);
  EXPECT_EQ(facts.product_type_calls, c.facts.extended ? 0 : 1);
}

TEST(NameWindowsVersionTest, VistaAndLaterTakeTheProductNameAndTheBitness) {
  const Case cases[] = {
      {"10 Pro 64-bit", Nt(6, 2, 9200, kWs, kAmd64), kWin10Ver, "Windows 10 Pro", "Windows 10 Pro 64-bit",
       "6.2.9200", true, false, false},
      {"10 Pro 32-bit", Nt(6, 2, 9200, kWs), kWin10Ver, "Windows 10 Pro", "Windows 10 Pro 32-bit", "6.2.9200",
       false, false, false},
      // ARM64 and other architectures get no suffix, so no 64-bit flag either.
      {"ARM64", Nt(6, 2, 9200, kWs, 12), kWin10Ver, "Windows 10 Pro", "Windows 10 Pro", "6.2.9200", false, false, false},
      // Without "ProductName" the composed name stays, two spaces before the bitness.
      {"10, no product name", Nt(6, 2, 9200, kWs, kAmd64), kWin10Ver, kNoProductName, "Microsoft Windows 10  64-bit",
       " 10.0.22631.3155", true, false, true},
      {"10 server", Nt(6, 2, 9200, kSrv, kAmd64), kWin10Ver, kNoProductName, "Microsoft Windows Server 10  64-bit",
       " 10.0.22631.3155", true, true, true},
      {"8.1", Nt(6, 2, 9200, kWs, kAmd64), "\r\nMicrosoft Windows [Version 6.3.9600]\r\n", kNoProductName,
       "Microsoft Windows 8.1  64-bit", " 6.3.9600", true, false, true},
      {"2012 R2", Nt(6, 2, 9200, kSrv, kAmd64), "\r\nMicrosoft Windows [Version 6.3.9600]\r\n", kNoProductName,
       "Microsoft Windows Server 2012 R2  64-bit", " 6.3.9600", true, true, true},
      {"8", Nt(6, 2, 9200, kWs), "\r\nMicrosoft Windows [Version 6.2.9200]\r\n", kNoProductName,
       "Microsoft Windows 8  32-bit", " 6.2.9200", false, false, true},
      {"2012", Nt(6, 2, 9200, kSrv), "\r\nMicrosoft Windows [Version 6.2.9200]\r\n", kNoProductName,
       "Microsoft Windows Server 2012  32-bit", " 6.2.9200", false, true, true},
      // A console line without any marker (or none at all, as after a command that
      // did not end): the release is whatever stands after "ion ", the version the
      // record's own.
      {"6.2, empty console", Nt(6, 2, 9200, kWs, kAmd64), "\r\n", kNoProductName, "Microsoft Windows   64-bit",
       "6.2.9200", true, false, true},
      {"6.2, other line", Nt(6, 2, 9200, kSrv, kAmd64), "\r\nMicrosoft Windows [Version 12.1.5]\r\n", "Contoso Server",
       "Contoso Server 64-bit", "6.2.9200", true, true, false},
      {"7 SP1 x64", Nt(6, 1, 7601, kWs, kAmd64, 0, "Service Pack 1"), "", "Windows 7 Professional",
       "Windows 7 Professional 64-bit Service Pack 1", "6.1.7601", true, false, false},
      {"7, no product name", Nt(6, 1, 7600, kWs), "", kNoProductName, "Microsoft Windows 7  32-bit", "6.1.7600", false,
       false, false},
      {"2008 R2", Nt(6, 1, 7601, kSrv, kAmd64), "", kNoProductName, "Microsoft Windows Server 2008 R2  64-bit",
       "6.1.7601", true, true, false},
      {"Vista", Nt(6, 0, 6002, kWs, kIntel, 0, "Service Pack 2"), "", kNoProductName,
       "Microsoft Windows Vista  32-bit Service Pack 2", "6.0.6002", false, false, false},
      {"2008", Nt(6, 0, 6001, kDc, kAmd64), "", kNoProductName, "Microsoft Windows Server 2008  64-bit", "6.0.6001",
       true, true, false},
      {"6.3 as reported", Nt(6, 3, 9600, kWs, kAmd64), "", kNoProductName, "Microsoft Windows 8.1  64-bit", "6.3.9600",
       true, false, false},
      {"6.3 server", Nt(6, 3, 9600, kSrv, kIa64), "", kNoProductName, "Microsoft Windows Server 2012 R2 ", "6.3.9600",
       false, true, false},
      {"6.4", Nt(6, 4, 9841, kWs, kAmd64), "", kNoProductName, "Microsoft Windows  64-bit", "6.4.9841", true, false,
       false},
      // Only the low 16 bits of the build number make the version text.
      {"build high bits", Nt(6, 1, 0x12341DB1, kWs, kAmd64), "", "Windows 7 Ultimate", "Windows 7 Ultimate 64-bit",
       "6.1.7601", true, false, false},
  };
  for (const Case& c : cases) ExpectNamed(c);
}

TEST(NameWindowsVersionTest, OlderReleasesTakeTheEditionFromProductTypeSuiteAndArchitecture) {
  const Case cases[] = {
      // " x64" holds no " 64": this 64-bit Windows does not set the flag.
      {"XP Professional x64", Nt(5, 2, 3790, kWs, kAmd64, 0, "Service Pack 2"), "", kNoProductName,
       "Microsoft Windows XP Professional x64 Service Pack 2", "5.2.3790", false, false, false},
      {"Server 2003 R2", Nt(5, 2, 3790, kSrv, kIntel, 0, "", kR2), "", kNoProductName,
       "Microsoft Windows Server 2003 R2 Standard", "5.2.3790", false, true, false},
      {"Storage Server", Nt(5, 2, 3790, kSrv, kIntel, kSuiteStorageServer), "", kNoProductName,
       "Microsoft Windows Storage Server 2003Standard", "5.2.3790", false, true, false},
      {"2003 cluster", Nt(5, 2, 0, kSrv, kIntel, kSuiteComputeServer | kSuiteDatacenter), "", kNoProductName,
       "Microsoft Windows Server 2003 Computer Cluster", "5.2.0", false, true, false},
      {"2003 datacenter", Nt(5, 2, 0, kSrv, kIntel, kSuiteDatacenter | kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows Server 2003 Datacenter", "5.2.0", false, true, false},
      {"2003 enterprise", Nt(5, 2, 0, kDc, kIntel, kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows Server 2003 Enterprise", "5.2.0", false, true, false},
      {"2003 web", Nt(5, 2, 0, kSrv, kIntel, kSuiteBlade), "", kNoProductName, "Microsoft Windows Server 2003 Web",
       "5.2.0", false, true, false},
      // The web edition is recognised only when the blade bit stands alone.
      {"2003 blade+", Nt(5, 2, 0, kSrv, kIntel, kSuiteBlade | 0x0010), "", kNoProductName,
       "Microsoft Windows Server 2003 Standard", "5.2.0", false, true, false},
      {"2003 Itanium dc", Nt(5, 2, 0, kSrv, kIa64, kSuiteDatacenter), "", kNoProductName,
       "Microsoft Windows Server 2003 Datacenter for Itanium-based Systems", "5.2.0", false, true, false},
      {"2003 Itanium ent", Nt(5, 2, 0, kSrv, kIa64, kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows Server 2003 Enterprise for Itanium-based Systems", "5.2.0", false, true, false},
      {"2003 Itanium", Nt(5, 2, 0, kSrv, kIa64), "", kNoProductName,
       "Microsoft Windows Server 2003 Standard Itanium-based", "5.2.0", false, true, false},
      {"2003 x64 dc", Nt(5, 2, 0, kSrv, kAmd64, kSuiteDatacenter), "", kNoProductName,
       "Microsoft Windows Server 2003 Datacenter x64", "5.2.0", false, true, false},
      {"2003 x64 ent", Nt(5, 2, 0, kSrv, kAmd64, kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows Server 2003 Enterprise x64", "5.2.0", false, true, false},
      {"2003 x64", Nt(5, 2, 0, kSrv, kAmd64), "", kNoProductName, "Microsoft Windows Server 2003 Standard x64", "5.2.0",
       false, true, false},
      // Other architectures by number, in upper-case hexadecimal.
      {"arch 5", Nt(5, 2, 0, kSrv, 5), "", kNoProductName, "Microsoft Windows Server 2003 Unknown on Architecture 0x5",
       "5.2.0", false, true, false},
      {"arch 12", Nt(5, 2, 0, kSrv, 12), "", kNoProductName,
       "Microsoft Windows Server 2003 Unknown on Architecture 0xC", "5.2.0", false, true, false},
      {"arch 0xFFFF", Nt(5, 2, 0, kDc, 0xFFFF), "", kNoProductName,
       "Microsoft Windows Server 2003 Unknown on Architecture 0xFFFF", "5.2.0", false, true, false},
      {"XP home", Nt(5, 1, 2600, kWs, kIntel, kSuitePersonal, "Service Pack 3"), "", kNoProductName,
       "Microsoft Windows XP Home Service Pack 3", "5.1.2600", false, false, false},
      {"XP starter first", Nt(5, 1, 0, kWs, kIntel, kSuitePersonal, "", kStarter | kMediaCenter), "", kNoProductName,
       "Microsoft Windows XP Starter", "5.1.0", false, false, false},
      {"XP media center", Nt(5, 1, 0, kWs, kIntel, 0, "", kMediaCenter | kTabletPc), "", kNoProductName,
       "Microsoft Windows XP Media Center", "5.1.0", false, false, false},
      {"XP tablet", Nt(5, 1, 0, kWs, kIntel, kSuitePersonal, "", kTabletPc), "", kNoProductName,
       "Microsoft Windows XP Tablet PC", "5.1.0", false, false, false},
      {"XP embedded", Nt(5, 1, 0, kWs, kIntel, kSuiteEmbeddedNt), "", kNoProductName, "Microsoft Windows XP Embedded",
       "5.1.0", false, false, false},
      {"XP professional", Nt(5, 1, 0, kWs), "", kNoProductName, "Microsoft Windows XP Professional", "5.1.0", false,
       false, false},
      {"2000 professional", Nt(5, 0, 2195, kWs, kIntel, 0, "Service Pack 4"), "", kNoProductName,
       "Microsoft Windows 2000 Professional Service Pack 4", "5.0.2195", false, false, false},
      {"2000 datacenter", Nt(5, 0, 0, kSrv, kIntel, kSuiteDatacenter | kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows 2000 Datacenter Server", "5.0.0", false, true, false},
      {"2000 advanced", Nt(5, 0, 0, kDc, kIntel, kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows 2000 Advanced Server", "5.0.0", false, true, false},
      {"2000 server", Nt(5, 0, 0, kSrv), "", kNoProductName, "Microsoft Windows 2000 Server", "5.0.0", false, true,
       false},
      {"XP as a server", Nt(5, 1, 0, kSrv), "", kNoProductName, "Microsoft Windows XP Unknown Server", "5.1.0", false,
       true, false},
      {"XP as a dc", Nt(5, 1, 0, kDc), "", kNoProductName, "Microsoft Windows XP Unknown Domain controller", "5.1.0",
       false, false, false},
      {"5.3", Nt(5, 3, 0, kWs), "", kNoProductName, "Microsoft Windows Unknown version Professional", "5.3.0", false,
       false, false},
      {"NT 4 workstation", Nt(4, 0, 1381, kWs, kIntel, 0, "Service Pack 5"), "", kNoProductName,
       "Microsoft Windows NT Workstation Service Pack 5", "4.0.1381", false, false, false},
      {"NT 4 enterprise", Nt(4, 0, 1381, kSrv, kIntel, kSuiteEnterprise), "", kNoProductName,
       "Microsoft Windows NT Server 4.0 Enterprise", "4.0.1381", false, true, false},
      {"NT 4 server", Nt(4, 0, 1381, kDc), "", kNoProductName, "Microsoft Windows NT Server 4.0", "4.0.1381", false,
       true, false},
      {"NT 3.51", Nt(3, 51, 1057, kWs), "", kNoProductName, "Microsoft Windows NT Unknown Workstation", "3.51.1057",
       false, false, false},
      {"odd product type", Nt(5, 1, 0, 7), "", kNoProductName, "Microsoft Windows XP Unknown", "5.1.0", false, false,
       false},
      {"10.0 as reported", Nt(10, 0, 19045, kWs, kAmd64), "", kNoProductName,
       "Microsoft Windows 10 Unknown Workstation", "10.0.19045", false, false, false},
      {"2016 as reported", Nt(10, 0, 14393, kSrv, kAmd64), "", kNoProductName,
       "Microsoft Windows Server 2016 Unknown Server", "10.0.14393", false, true, false},
      {"10.1", Nt(10, 1, 0, kWs), "", kNoProductName, "Microsoft Windows Unknown Workstation", "10.1.0", false, false,
       false},
  };
  for (const Case& c : cases) ExpectNamed(c);
}

TEST(NameWindowsVersionTest, UnlistedMajorVersionsTakeTheReleaseFromTheConsole) {
  const Case cases[] = {
      // A product name is not asked for: the generic edition rows name these, without the bitness.
      {"marked line", Nt(7, 5, 100, kWs, kAmd64), "\r\nMicrosoft Windows [Version 7.5.100]\r\n", "Windows 10 Pro",
       "Microsoft Windows 7 Unknown Workstation", "7.5.100", false, false, true},
      {"marked server", Nt(11, 0, 30000, kSrv, kAmd64), "\r\nMicrosoft Windows [Version 11.0.30000]\r\n",
       "Windows 10 Pro", "Microsoft Windows Server 11 Unknown Server", "11.0.30000", false, true, true},
      // No "ion", "." or "]": the release is empty, "Server " still goes before it.
      {"unmarked server", Nt(11, 0, 30000, kSrv), "\r\nsome other text\r\n", kNoProductName,
       "Microsoft Windows Server  Unknown Server", "11.0.30000", false, true, true},
      {"unmarked workstation", Nt(11, 0, 30000, kWs), "\r\nsome other text\r\n", kNoProductName,
       "Microsoft Windows  Unknown Workstation", "11.0.30000", false, false, true},
      // A dot before the release: nothing to copy, the version is taken up to "]".
      {"dot first", Nt(2, 0, 1, kWs), "\r\nv.1 Version 9]\r\n", kNoProductName,
       "Microsoft Windows  Unknown Workstation", "9", false, false, true},
  };
  for (const Case& c : cases) ExpectNamed(c);
}

// The console's "ver" runs only where its line can change the result: on major version 6, wherever "ProductName"
// can be read, the name and both flags come from it and the bitness, whatever "ver" would say, and the console is
// not started.
TEST(NameWindowsVersionTest, TheConsoleRunsOnlyWithoutAReadableProductName) {
  const std::pair<WindowsVersionFacts, const char*> rows[] = {  // the facts, the name with "Windows 10 Pro"
      {Nt(6, 2, 9200, kWs, kAmd64), "Windows 10 Pro 64-bit"}, {Nt(6, 2, 9200, kSrv, kIntel), "Windows 10 Pro 32-bit"},
      {Nt(6, 2, 9200, kDc, 12), "Windows 10 Pro"}};
  for (const auto& [version, named] : rows) {
    const std::string number = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                               std::to_string(version.build_number);
    for (const char* ver :
         {kWin10Ver, "\r\nMicrosoft Windows [Version 6.3.9600]\r\n", "\r\n", "\r\nServer Version 64.1 64-bit]\r\n"}) {
      SCOPED_TRACE(std::string(named) + " / " + number + ver);
      ExpectNamed({named, version, ver, "Windows 10 Pro", named, number.c_str(), version.architecture == kAmd64, false, false});
      FakeFacts facts;  // without "ProductName", the console is asked once
      facts.ver = ver;
      WindowsName name;
      ASSERT_TRUE(NameWindowsVersion(version, facts, name));
      EXPECT_EQ(facts.ver_calls, 1);
    }
  }
}

TEST(NameWindowsVersionTest, WithoutTheExtendedRecordTheProductOptionsNameTheEdition) {
  struct OptionsCase {
    const char* product_type;
    const char* description;
  } cases[] = {
      {"WinNT", "Microsoft Windows NT Workstation Service Pack 3"},
      {"LANMANNT", "Microsoft Windows NT Server Service Pack 3"},
      {"ServerNT", "Microsoft Windows NT Advanced Server Service Pack 3"},
      {"Terminal", "Microsoft Windows NT Unknown Service Pack 3"},
      {nullptr, "Microsoft Windows NT  Service Pack 3"},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.product_type ? c.product_type : "(none)");
    FakeFacts facts;
    facts.product_type = c.product_type;
    const WindowsVersionFacts record{
        .major = 4, .minor = 0, .build_number = 1381, .platform_id = kPlatformNt, .csd_version = "Service Pack 3"};
    WindowsName name;
    ASSERT_TRUE(NameWindowsVersion(record, facts, name));
    EXPECT_EQ(ComposeOsDescription(name).text, c.description);
    EXPECT_EQ(facts.product_type_calls, 1);
    EXPECT_EQ(facts.product_name_calls, 0);
  }
}

TEST(NameWindowsVersionTest, ServicePackSixBecomesSixAOnlyWithTheHotfixKey) {
  struct SpCase {
    const char* csd;
    std::uint32_t major;
    bool hotfix;
    const char* service_pack;
  } cases[] = {
      {"Service Pack 6", 4, true, "Service Pack 6a"},
      {"Service Pack 6", 4, false, "Service Pack 6"},
      {"Service Pack 5", 4, true, "Service Pack 5"},
      {"Service Pack 6 ", 4, true, "Service Pack 6 "},  // equal, not alike
      {"Service Pack 6", 5, true, "Service Pack 6"},
  };
  for (const SpCase& c : cases) {
    SCOPED_TRACE(c.csd);
    FakeFacts facts;
    facts.hotfix = c.hotfix;
    const WindowsVersionFacts record = Nt(c.major, 0, 1381, kWs, kIntel, 0, c.csd);
    WindowsName name;
    ASSERT_TRUE(NameWindowsVersion(record, facts, name));
    EXPECT_EQ(name.service_pack, c.service_pack);
  }
}

TEST(NameWindowsVersionTest, Windows9xReleasesByMinorVersionBuildAndServicePackLetter) {
  struct NineXCase {
    std::uint32_t major, minor, build_number;
    const char* csd;
    const char* description;
    const char* version;
  } cases[] = {
      {4, 0, 950, "", "Microsoft Windows 95", "4.0.950"},
      {4, 0, 950, " A", "Microsoft Windows 95 OSR 1  A", "4.0.950"},
      {4, 3, 1000, " W", "Microsoft Windows 95 OSR 1  W", "4.3.1000"},
      {4, 0, 1111, " B", "Microsoft Windows 95 OSR 2.0  B", "4.0.1111"},
      {4, 0, 1212, "", "Microsoft Windows 95 OSR 2.1", "4.0.1212"},
      {4, 3, 1213, "", "Microsoft Windows 95 OSR 2.1", "4.3.1213"},
      {4, 0, 1214, " C", "Microsoft Windows 95 OSR 2.5  C", "4.0.1214"},
      {4, 0, 1214, " B", "Microsoft Windows 95 OSR 2.1  B", "4.0.1214"},
      {4, 0, 1081, " A", "Microsoft Windows 95 OSR 2.x  A", "4.0.1081"},
      // The build number of 9x carries the version in its high word.
      {4, 0, 0x040003B6, "", "Microsoft Windows 95", "4.0.950"},
      {4, 10, 1998, " ", "Microsoft Windows 98", "4.10.1998"},
      {4, 10, 2222, " ", "Microsoft Windows 98 SE", "4.10.2222"},
      {4, 10, 1998, " A ", "Microsoft Windows 98 SE  A ", "4.10.1998"},
      {4, 10, 1998, " B", "Microsoft Windows 98 SE  B", "4.10.1998"},
      // Second edition by build only when the whole number is 2222.
      {4, 10, 0x040A08AE, "", "Microsoft Windows 98", "4.10.2222"},
      {4, 90, 3000, " ", "Microsoft Windows Millennium", "4.90.3000"},
      {4, 20, 1, "", "Microsoft Windows Unknown 9x", "4.20.1"},
      {4, 0x10A, 1, "", "Microsoft Windows Unknown 9x", "4.10.1"},
      {5, 0, 1, "", "Microsoft Windows Unknown 9x", "5.0.1"},
  };
  for (const NineXCase& c : cases) {
    SCOPED_TRACE(c.description);
    FakeFacts facts;
    const WindowsVersionFacts record{.major = c.major,
                                     .minor = c.minor,
                                     .build_number = c.build_number,
                                     .platform_id = kPlatformWin9x,
                                     .csd_version = c.csd};
    WindowsName name;
    ASSERT_TRUE(NameWindowsVersion(record, facts, name));
    EXPECT_EQ(ComposeOsDescription(name).text, c.description);
    EXPECT_EQ(name.version, c.version);
    EXPECT_EQ(name.service_pack, c.csd);
    EXPECT_EQ(facts.ver_calls + facts.product_name_calls + facts.product_type_calls, 0);
  }
}

TEST(NameWindowsVersionTest, AnUnknownPlatformIsNotNamed) {
  for (std::uint32_t platform : {0u, 3u}) {
    FakeFacts facts;
    const WindowsVersionFacts record{
        .major = 6, .minor = 2, .platform_id = platform, .extended = true, .product_type = kWs, .architecture = kAmd64};
    WindowsName name;
    EXPECT_FALSE(NameWindowsVersion(record, facts, name));
    EXPECT_EQ(name.description, "Microsoft Windows ");
    EXPECT_EQ(facts.ver_calls, 0);
  }
}

TEST(ComposeOsDescriptionTest, AddsANonBlankServicePackAndReadsTheFlags) {
  struct ComposeCase {
    const char* description;
    const char* service_pack;
    const char* text;
    bool is_64bit;
    bool is_server;
  } cases[] = {
      {"Windows 10 Pro 64-bit", "", "Windows 10 Pro 64-bit", true, false},
      {"Windows 7 64-bit", " \t\r\n", "Windows 7 64-bit", true, false},
      // Trimmed only for the test; added as it stands.
      {"Microsoft Windows XP Professional", " Service Pack 3 ", "Microsoft Windows XP Professional  Service Pack 3 ",
       false, false},
      {"Windows Server 2008 R2", "Service Pack 1", "Windows Server 2008 R2 Service Pack 1", false, true},
      // Case-sensitive, and the space matters.
      {"Microsoft Windows server", "", "Microsoft Windows server", false, false},
      {"Windows x64", "", "Windows x64", false, false},
      {"Windows", "Update 64", "Windows Update 64", true, false},
  };
  for (const ComposeCase& c : cases) {
    SCOPED_TRACE(c.text);
    WindowsName name;
    name.description = c.description;
    name.service_pack = c.service_pack;
    const OsDescription result = ComposeOsDescription(name);
    EXPECT_EQ(result.text, c.text);
    EXPECT_EQ(result.is_64bit, c.is_64bit);
    EXPECT_EQ(result.is_server, c.is_server);
  }
}

}  // namespace
}  // namespace orvel
