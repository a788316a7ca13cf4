// Shared text rules (see text_rules.h).
#include "base/text_rules.h"

namespace orvel {

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiLower(c);
  return result;
}

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool StartsWithLowered(std::string_view text, std::string_view lowered) {
  if (text.size() < lowered.size()) return false;
  for (std::size_t i = 0; i < lowered.size(); ++i)
    if (AsciiLower(text[i]) != lowered[i]) return false;
  return true;
}

std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

}  // namespace orvel
