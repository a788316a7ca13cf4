// Locale identifier texts (see locale_text.h).
#include "sys/locale_text.h"

namespace orvel {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool LcidFromLocaleText(std::string_view text, std::uint32_t& lcid) {
  lcid = 0;
  if (text.size() < 8) return false;
  std::uint32_t value = 0;
  for (char c : text.substr(4, 4)) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  lcid = value;
  return true;
}

}  // namespace orvel
