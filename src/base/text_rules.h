// Small text rules that several layers share, free of any Windows call: ASCII letter
// case and the joining of text pieces.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvel {

// The ASCII letters A..Z lower-cased; every other byte unchanged.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);

// The ASCII letters a..z upper-cased; every other byte unchanged.
std::string AsciiUpper(std::string text);

// True when `text` begins with `lowered`, the letters of `text` compared lower-cased
// (`lowered` holds no upper-case letter).
bool StartsWithLowered(std::string_view text, std::string_view lowered);
// The same for the whole of `text`.
inline bool EqualsLowered(std::string_view text, std::string_view lowered) {
  return text.size() == lowered.size() && StartsWithLowered(text, lowered);
}

// The pieces one after the other.
std::string Joined(std::initializer_list<std::string_view> pieces);

}  // namespace orvel
