// Versions as the installer finds them in files it did not write: the fixed-offset
// fields and the package header, the "langver" line of a language file about to be
// installed, and the dotted "FileVersion" texts of two executables.
//
// Input: a settings byte, two version texts each ended by a line break, then the
// file.
#include <vector>

#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "install/package_header.h"
#include "install/version_compare.h"
#include "install/version_fields.h"
#include "lang/language_file_format.h"

namespace orvel::fuzz {

namespace {

// The four parts of a plain "a.b.c.d" version of digits that fit 32 bits; false for
// any other text.
bool PlainVersion(std::string_view text, std::vector<std::int32_t>& parts) {
  parts.clear();
  for (;;) {
    const std::string_view part = text.substr(0, text.find('.'));
    if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string_view::npos) return false;
    std::int32_t value = 0;
    for (char digit : part) value = value * 10 + (digit - '0');
    parts.push_back(value);
    if (part.size() == text.size()) return parts.size() == 4;
    text.remove_prefix(part.size() + 1);
  }
}

}  // namespace

void VersionInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const bool is_3bs = in.Flag();
  const std::string_view fresh = in.Until('\n');
  const std::string_view installed = in.Until('\n');
  const std::string_view file = in.Rest();

  for (const VersionField field : {kPakVersionField, kCokVersionField, k3bsVersionField})
    FUZZ_CHECK(VersionFieldValue(file, field) >= 0 && VersionFieldValue(file, field) < 0x10000);
  InstalledPackageVersion(file, is_3bs);
  Is3bsExtension(fresh);

  // The "langver" reader of files to install and the language-file lookup agree.
  std::string value;
  const bool found = FindLangVersionValue(file, value);
  MemoryByteSource source(file);
  const LookupResult looked_up = LookupLine(source, "langver");
  FUZZ_CHECK(looked_up.text == value);
  FUZZ_CHECK((looked_up.status == LookupStatus::kFound) == (found && !value.empty()));

  // A decimal number reads the same by both integer rules.
  std::int32_t decimal = 0;
  std::int32_t lang = 0;
  const bool is_decimal = ParseDecimalInt32(value, decimal);
  const bool is_lang = ParseLangInteger(value, lang);
  if (is_decimal) FUZZ_CHECK(is_lang && lang == decimal);
  if (is_lang && value.find_first_of("$xX") == std::string::npos) FUZZ_CHECK(is_decimal && lang == decimal);

  // Nothing is older than itself; plain four-part versions compare part by part.
  FUZZ_CHECK(!IsOlderVersion(fresh, fresh));
  const bool older = IsOlderVersion(fresh, installed);
  std::vector<std::int32_t> fresh_parts, installed_parts;
  if (PlainVersion(fresh, fresh_parts) && PlainVersion(installed, installed_parts))
    FUZZ_CHECK(older == (fresh_parts < installed_parts));
}

}  // namespace orvel::fuzz
