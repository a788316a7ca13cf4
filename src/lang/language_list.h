// Rules over the list of language files, free of any file access: which directory
// entries are language files, which ones are the required default files, what the
// messages about a broken list say, which files a user locale selects and which file
// a user's own choice names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

inline constexpr std::string_view kEnglishLangFile = "english.lng";
inline constexpr std::string_view kRussianLangFile = "russian.lng";

// A listed "*.lng" entry is a language file unless a "!" in its name takes it out
// of use.
bool IsUsableLangFileName(std::string_view name);

// Which of the two default files a listed name is, in any letter case.
enum class DefaultLangKind { kNone, kRussian, kEnglish };
DefaultLangKind DefaultLangKindOf(std::string_view name);

// The default file that is missing, given where the two were listed (-1: absent),
// or empty when none is. "english.lng" is always required, "russian.lng" as well
// with a Russian interface; with both missing then, "russian.lng" is named.
std::string_view MissingDefaultLangFile(bool russian_ui, std::int32_t russian_index, std::int32_t english_index);

// Index of the first of `names` equal to `name` byte for byte, or -1.
std::int32_t FindLangFileName(const std::vector<std::string>& names, std::string_view name);

// `before` + `middle` + `after`, the shape of every built-in message about a file.
std::string FramedText(std::string_view before, std::string_view middle, std::string_view after);

// The built-in messages, English and Russian, about a missing default file and a
// file with a broken integer value.
std::string MissingLangFileMessageEn(std::string_view name);
std::string MissingLangFileMessageRu(std::string_view name);
std::string BrokenLangFileMessageEn(std::string_view name);
std::string BrokenLangFileMessageRu(std::string_view name);

enum class LocaleMatch { kNo, kYes, kBroken };

// Whether a "langcode" block (one LCID per CR LF-separated line) lists `lcid`. An
// empty block lists nothing; a line that is no integer makes the block kBroken.
LocaleMatch LangcodesMatch(std::string_view block, std::uint32_t lcid);

}  // namespace orvel
