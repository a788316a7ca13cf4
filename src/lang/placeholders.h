// Filling "%1".."%4" of a language text with the caller's arguments.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace orvel {

// Replaces every "%1" by args[0], left to right; then every "%2" by args[1] in the
// result, and so on up to "%4". The chain stops at the first number that does not
// occur, so "%2" is filled only when "%1" occurred. An argument holding a later
// placeholder has it filled by the later step; "%10" is "%1" followed by "0". A
// placeholder beyond the arguments given becomes empty. Filling never grows a text
// past kMaxLangTextSize (language_file_format.h): the result is cut there, however
// often an argument occurs.
std::string FillPlaceholders(std::string text, std::span<const std::string_view> args);

}  // namespace orvel
