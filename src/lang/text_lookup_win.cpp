// Texts by key from the language files, and the messages that show them (see
// text_lookup.h).
#include "lang/text_lookup.h"

#include <windows.h>

#include <span>

#include "base/builtin_texts.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "lang/lang_file_reader_win.h"
#include "lang/language_files.h"
#include "lang/language_list.h"
#include "lang/placeholders.h"

namespace orvel {

namespace {

std::span<const std::string_view> AsSpan(TextArgs args) { return {args.begin(), args.size()}; }

// The answer of the current file, falling back to the default file when the key has
// no value there. An unreadable current file is reported and gives an empty text.
std::string Resolve(LookupResult found, std::string (*fallback)(std::string_view), std::string_view key) {
  switch (found.status) {
    case LookupStatus::kFound: return std::move(found.text);
    case LookupStatus::kNoValue: return fallback(key);
    case LookupStatus::kReadError: break;
  }
  ShowLangFileError(CurrentLangFile.FileName());
  return std::string();
}

// The answer of the default file alone; the reader is closed again in every case.
std::string FromDefaultFile(LookupResult (*read)(std::string_view), std::string_view key) {
  const std::int32_t index = DefaultLangIndex();
  if (index < 0) return std::string();
  DefaultLangFile.Bind(LanguageFolder(), LangFileNames[static_cast<std::size_t>(index)]);
  LookupResult found = read(key);
  DefaultLangFile.Close();
  if (found.status == LookupStatus::kReadError) {
    ShowLangFileError(DefaultLangFile.FileName());
    return std::string();
  }
  return std::move(found.text);
}

}  // namespace

std::string LangText(std::string_view key) {
  if (CurrentLangIndex < 0) return std::string();
  return Resolve(CurrentLangFile.ReadLine(key), DefaultLangText, key);
}

std::string LangTextBlock(std::string_view key, bool SkipFirstLine) {
  if (CurrentLangIndex < 0) return std::string();
  return Resolve(CurrentLangFile.ReadBlock(key, SkipFirstLine), DefaultLangTextBlock, key);
}

std::string LangTextArgs(std::string_view key, TextArgs args) {
  return FillPlaceholders(LangText(key), AsSpan(args));
}

std::string LangTextBlockArgs(std::string_view key, TextArgs args, bool SkipFirstLine) {
  return FillPlaceholders(LangTextBlock(key, SkipFirstLine), AsSpan(args));
}

std::string DefaultLangText(std::string_view key) {
  return FromDefaultFile([](std::string_view k) { return DefaultLangFile.ReadLine(k); }, key);
}

std::string DefaultLangTextBlock(std::string_view key) {
  return FromDefaultFile([](std::string_view k) { return DefaultLangFile.ReadBlock(k, kKeepFirstLine); }, key);
}

void ShowError(const std::string& text) {
  ShowErrorBox(text, Program().UpdateTitle, static_cast<WORD>(LanguageId & 0xffff));
}

void ShowLangFileError(const std::string& file_name) {
  ShowFallbackError(FramedText(kCantHandleLangFileEn, file_name, {}),
                    FramedText(kCantHandleLangFileRu, file_name, {}));
}

}  // namespace orvel
