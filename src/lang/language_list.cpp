// Rules over the list of language files (see language_list.h).
#include "lang/language_list.h"

#include "base/builtin_texts.h"
#include "base/text_rules.h"
#include "lang/language_file_format.h"

namespace orvel {

bool IsUsableLangFileName(std::string_view name) { return name.find('!') == std::string_view::npos; }

DefaultLangKind DefaultLangKindOf(std::string_view name) {
  const std::string lowered = AsciiLower(name);
  if (lowered == kRussianLangFile) return DefaultLangKind::kRussian;
  if (lowered == kEnglishLangFile) return DefaultLangKind::kEnglish;
  return DefaultLangKind::kNone;
}

std::string_view MissingDefaultLangFile(bool russian_ui, std::int32_t russian_index, std::int32_t english_index) {
  if (russian_ui && russian_index < 0) return kRussianLangFile;
  if (english_index < 0) return kEnglishLangFile;
  return {};
}

std::int32_t FindLangFileName(const std::vector<std::string>& names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<std::int32_t>(i);
  return -1;
}

std::string FramedText(std::string_view before, std::string_view middle, std::string_view after) {
  std::string text;
  text.append(before).append(middle).append(after);
  return text;
}

std::string MissingLangFileMessageEn(std::string_view name) {
  return FramedText(kNoLangFileEn1, name, kNoLangFileEn2);
}

std::string MissingLangFileMessageRu(std::string_view name) {
  return FramedText(kNoLangFileRu1, name, kNoLangFileRu2);
}

std::string BrokenLangFileMessageEn(std::string_view name) {
  return FramedText({}, name, kLangFileErrorsEn2);
}

std::string BrokenLangFileMessageRu(std::string_view name) {
  return FramedText(kLangFileErrorsRu1, name, kLangFileErrorsRu2);
}

LocaleMatch LangcodesMatch(std::string_view block, std::uint32_t lcid) {
  if (block.empty()) return LocaleMatch::kNo;
  LocaleMatch match = LocaleMatch::kNo;
  for (;;) {
    const std::size_t end = block.find("\r\n");
    std::int32_t code = 0;
    if (!ParseLangInteger(block.substr(0, end), code)) return LocaleMatch::kBroken;
    if (static_cast<std::uint32_t>(code) == lcid) match = LocaleMatch::kYes;
    if (end == std::string_view::npos) return match;
    block.remove_prefix(end + 2);
  }
}

}  // namespace orvel
