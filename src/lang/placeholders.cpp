// Placeholder filling of language texts (see placeholders.h).
#include "lang/placeholders.h"

#include <algorithm>
#include <utility>

namespace orvel {

namespace {

constexpr std::size_t kHighestPlaceholder = 4;

// Appends as much of `piece` as fits below the length limit.
void AppendWithinLimit(std::string& text, std::string_view piece) {
  text.append(piece.substr(0, kLongestFilledText - std::min(text.size(), kLongestFilledText)));
}

}  // namespace

std::string FillPlaceholders(std::string text, std::span<const std::string_view> args) {
  if (text.size() > kLongestFilledText) text.resize(kLongestFilledText);
  for (std::size_t number = 1; number <= kHighestPlaceholder; ++number) {
    const char mark[] = {'%', static_cast<char>('0' + number)};
    std::size_t found = text.find(mark, 0, sizeof mark);
    if (found == std::string::npos) break;
    // A caller that passed too few arguments gets an empty text, never a read past
    // its list.
    const std::string_view arg = number <= args.size() ? args[number - 1] : std::string_view();
    const std::string_view source = text;
    std::string filled;
    std::size_t from = 0;
    while (found != std::string::npos && filled.size() < kLongestFilledText) {
      AppendWithinLimit(filled, source.substr(from, found - from));
      AppendWithinLimit(filled, arg);
      from = found + sizeof mark;
      found = text.find(mark, from, sizeof mark);
    }
    if (found == std::string::npos) AppendWithinLimit(filled, source.substr(from));
    text = std::move(filled);
  }
  return text;
}

}  // namespace orvel
