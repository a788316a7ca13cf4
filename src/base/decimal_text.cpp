// Decimal text (see decimal_text.h).
#include "base/decimal_text.h"

namespace orvel {

std::string DecimalText(std::int64_t value) {
  // Digits by subtracting powers of ten: a 32-bit program then needs no 64-bit
  // division routine from the compiler's runtime.
  static constexpr std::uint64_t kPowers[] = {
      10000000000000000000u, 1000000000000000000u, 100000000000000000u, 10000000000000000u,
      1000000000000000u,     100000000000000u,     10000000000000u,     1000000000000u,
      100000000000u,         10000000000u,         1000000000u,         100000000u,
      10000000u,             1000000u,             100000u,             10000u,
      1000u,                 100u,                 10u,                 1u};
  // Work on the magnitude as unsigned, so the most negative value has one too.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string text;
  if (value < 0) text += '-';
  bool leading = true;
  for (std::uint64_t power : kPowers) {
    char digit = '0';
    while (magnitude >= power) {
      magnitude -= power;
      ++digit;
    }
    if (digit != '0' || !leading || power == 1) {
      text += digit;
      leading = false;
    }
  }
  return text;
}

}  // namespace orvel
