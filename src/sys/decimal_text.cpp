// Decimal text (see decimal_text.h).
#include "sys/decimal_text.h"

namespace orvel {

std::string DecimalText(std::int64_t value) {
  // Work on the magnitude as unsigned, so the most negative value has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text;
  if (value < 0) text += '-';
  while (count > 0) text += digits[--count];
  return text;
}

}  // namespace orvel
