// Placeholder filling of language texts (see placeholders.h).
#include "lang/placeholders.h"

#include <utility>

#include "lang/language_file_format.h"

namespace orvel {

namespace {
constexpr std::size_t kHighestPlaceholder = 4;
}  // namespace

std::string FillPlaceholders(std::string text, std::span<const std::string_view> args) {
  for (std::size_t number = 1; number <= kHighestPlaceholder; ++number) {
    const char mark[] = {'%', static_cast<char>('0' + number)};
    std::size_t found = text.find(mark, 0, sizeof mark);
    if (found == std::string::npos) break;
    // A caller that passed too few arguments gets an empty text, never a read past
    // its list.
    const std::string_view arg = number <= args.size() ? args[number - 1] : std::string_view();
    std::string filled;
    std::size_t from = 0;
    while (found != std::string::npos && filled.size() < kMaxLangTextSize) {
      AppendWithinTextLimit(filled, std::string_view(text).substr(from, found - from));
      AppendWithinTextLimit(filled, arg);
      from = found + sizeof mark;
      found = text.find(mark, from, sizeof mark);
    }
    if (found == std::string::npos) AppendWithinTextLimit(filled, std::string_view(text).substr(from));
    text = std::move(filled);
  }
  return text;
}

}  // namespace orvel
