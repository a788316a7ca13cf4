// Comparing dotted version strings such as the "FileVersion" of two executables, and
// the decimal numbers they and the language files' "langver" values are made of.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvel {

// A whole text as a signed 32-bit decimal number: optional leading spaces, an optional
// sign, then one or more decimal digits and nothing after them. False for anything
// else, for an empty text and for a number outside the 32-bit range.
bool ParseDecimalInt32(std::string_view text, std::int32_t& value);

// True when the dotted version `New` is older than `Old`.
//
// Up to four parts are compared as signed 32-bit numbers, in three passes and a last
// step. In each pass the text before the first "." of each string (Old's first) is
// that string's part, and the text up to and including the "." is dropped; a string
// with no "." left, or one that starts with ".", keeps the part of the previous pass
// and is not shortened. The first differing part decides. After three equal passes the
// whole remainders are the fourth parts.
//
// Before the first pass every string's part is 0. So a string without any "." counts
// as 0.0.0.<number>: the plain numbers "5" and "6" compare as numbers, and "2" is
// older than "1.0.0.0".
//
// A part of Old that is not a number ends the comparison with false (the installed
// file is not known to be newer); a part of New that is not a number, with true.
bool IsOlderVersion(std::string_view New, std::string_view Old);

}  // namespace orvel
