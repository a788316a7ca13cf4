// Reading the locale identifiers that EnumSystemLocalesA hands out, free of any
// Windows call.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvel {

// The LCID of an enumerated locale text: eight hexadecimal digits of which the
// last four (characters 5 to 8) are the locale id, the first four a sort id that
// the list does not keep. False when those four characters are missing or are not
// hexadecimal digits.
bool LcidFromLocaleText(std::string_view text, std::uint32_t& lcid);

}  // namespace orvel
