// User texts by key from the current language file, with the default file as
// fallback and "%1".."%4" filled from an argument list; and the error box that shows
// such a text. A missing or unreadable text is an empty string, never an error to
// the caller; an unreadable file is reported to the user, once per lookup.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvel {

using TextArgs = std::initializer_list<std::string_view>;

// The one-line value of `key` in the current file, else in the default file.
std::string LangText(std::string_view key);
// The block value (lines joined with CR LF) of `key` in the current file, else in the
// default file. `SkipFirstLine` drops the first line of a value found in the current
// file; a value from the default file is returned whole.
std::string LangTextBlock(std::string_view key, bool SkipFirstLine = false);
// As above, with "%1".."%4" filled from `args`; a placeholder beyond them is emptied.
std::string LangTextArgs(std::string_view key, TextArgs args);
std::string LangTextBlockArgs(std::string_view key, TextArgs args, bool SkipFirstLine = false);

// The fallbacks: the value of `key` in the default file alone, or empty.
std::string DefaultLangText(std::string_view key);
std::string DefaultLangTextBlock(std::string_view key);

// An error box with a language text, captioned UpdateTitle, in the current file's
// language.
void ShowError(const std::string& text);

// The built-in message for a language file that cannot be read (name without folder).
void ShowLangFileError(const std::string& file_name);

}  // namespace orvel
