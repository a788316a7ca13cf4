// User texts by key from the current language file, with the default file as
// fallback and "%1".."%4" filled from an argument list; and the error box that shows
// such a text. A missing or unreadable text is an empty string, never an error.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvel {

using TextArgs = std::initializer_list<std::string_view>;

std::string LangText(std::string_view key);
std::string LangTextBlock(std::string_view key, bool SkipFirstLine = false);
std::string LangTextArgs(std::string_view key, TextArgs args);
std::string LangTextBlockArgs(std::string_view key, TextArgs args, bool SkipFirstLine = false);

// An error box with a language text, captioned UpdateTitle.
void ShowError(const std::string& text);

// The built-in message for a language file that cannot be read.
void ShowLangFileError(const std::string& file_name);

}  // namespace orvel
