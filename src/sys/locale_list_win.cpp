// The locale list, filled by EnumSystemLocalesA through a plain callback (see
// locale_list_win.h).
#include "sys/locale_list_win.h"

#include <windows.h>

#include <utility>

#include "sys/locale_text.h"

namespace orvel {

namespace {

// EnumSystemLocalesA passes its callback nothing but the locale text, so the list
// being filled is reached through this process-wide pointer.
TSysLangs* list_under_construction = nullptr;

// A locale information text in the ANSI code page; empty when the query fails.
std::string LocaleInfoText(LCID lcid, LCTYPE type) {
  wchar_t wide[1024];
  wide[0] = L'\0';
  if (::GetLocaleInfoW(lcid, type, wide, 1024) == 0) wide[0] = L'\0';
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string text(static_cast<std::size_t>(size), '\0');
  const int written = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
  return text;
}

BOOL CALLBACK LocaleEnumCallback(LPSTR locale_text) {
  std::uint32_t lcid = 0;
  if (locale_text == nullptr || list_under_construction == nullptr || !LcidFromLocaleText(locale_text, lcid)) {
    return TRUE;
  }
  TLangRec record;
  record.abbreviation = LocaleInfoText(lcid, LOCALE_SABBREVLANGNAME);
  // A locale without a language abbreviation has no place in the list.
  if (record.abbreviation.empty()) return TRUE;
  record.name = LocaleInfoText(lcid, LOCALE_SLANGUAGE);
  record.lcid = lcid;
  list_under_construction->push_back(std::move(record));
  return TRUE;
}

}  // namespace

TLanguagesDEPfix::TLanguagesDEPfix() {
  list_under_construction = &sys_langs_;
  ::EnumSystemLocalesA(LocaleEnumCallback, LCID_SUPPORTED);
  list_under_construction = nullptr;
}

const TLanguagesDEPfix& LocaleListAccessor() {
  static TLanguagesDEPfix languages;
  return languages;
}

}  // namespace orvel
