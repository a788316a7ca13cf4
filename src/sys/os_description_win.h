// How the running Windows is asked for the facts that name it: the version record,
// the processor architecture and system metrics up front, the console's "ver" line
// and a few registry values only when a naming rule asks for them.
#pragma once

#include <string>

#include "sys/os_description_rules.h"

namespace orvel {

// Fills the version record (extended when Windows provides it), the native
// processor architecture and the four system metrics. False when GetVersionExA
// fails with both record sizes.
bool ReadWindowsVersionFacts(WindowsVersionFacts& facts);

// The facts of the live system: "ver" through the console, the rest from the
// registry of the local machine.
class LiveWindowsFacts : public WindowsFactSource {
 public:
  std::string ConsoleVersionText() override;
  bool ProductName(std::string& name) override;
  bool ProductOptionsType(std::string& type) override;
  bool HasHotfixQ246009() override;
};

}  // namespace orvel
