// The naming of Windows from what the system reports, above all from the output of
// the console command "ver", which another program's output may replace: any bytes
// there, with any version record, give a name and a version text.
//
// Input: the version record's fields, the service-pack text and the registry's
// product name and product type (each ended by a line break), then the console's
// bytes.
#include <string>

#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "sys/console_text.h"
#include "sys/os_description_rules.h"

namespace orvel::fuzz {

namespace {

class FuzzedFacts final : public WindowsFactSource {
 public:
  std::string console;
  std::string product_name;
  std::string product_type;
  bool has_product_name = false;
  bool has_product_type = false;
  bool has_hotfix = false;

  std::string ConsoleVersionText() override { return console; }
  bool ProductName(std::string& name) override {
    name = product_name;
    return has_product_name;
  }
  bool ProductOptionsType(std::string& type) override {
    type = product_type;
    return has_product_type;
  }
  bool HasHotfixQ246009() override { return has_hotfix; }
};

}  // namespace

void OsVerInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  WindowsVersionFacts facts;
  // Mostly the versions the rules know, now and then any number.
  const std::uint8_t major = in.Byte();
  facts.major = major < 200 ? major % 12 : in.Dword();
  const std::uint8_t minor = in.Byte();
  facts.minor = minor < 200 ? minor % 12 : minor;
  facts.build_number = in.Dword();
  facts.platform_id = in.Byte() % 4;
  const std::uint8_t flags = in.Byte();
  facts.extended = flags & 1;
  facts.server_r2 = flags & 2;
  facts.starter = flags & 4;
  facts.media_center = flags & 8;
  facts.tablet_pc = flags & 16;
  facts.suite_mask = in.Word();
  facts.product_type = in.Byte() % 5;
  facts.architecture = in.Word() % 16;
  facts.csd_version = std::string(in.Until('\n').substr(0, 128));

  FuzzedFacts source;
  source.has_product_name = flags & 32;
  source.has_product_type = flags & 64;
  source.has_hotfix = flags & 128;
  source.product_name = in.Until('\n');
  source.product_type = in.Until('\n');
  source.console = ConsoleOutputLines(in.Rest());

  WindowsName name;
  if (NameWindowsVersion(facts, source, name)) {
    // A version text is always found, from the console or from the record.
    FUZZ_CHECK(!name.version.empty());
    ComposeOsDescription(name);
  }
}

}  // namespace orvel::fuzz
