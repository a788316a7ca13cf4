// The process's list of the system's locales: for every supported locale that has a
// three-letter language abbreviation, its language name, LCID and abbreviation, in
// the order Windows enumerates them. Built on first request through a plain
// callback function, so nothing is ever executed from writable memory (which data
// execution prevention would stop), and kept until the process ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvel {

struct TLangRec {
  std::string name;          // localized language name (LOCALE_SLANGUAGE)
  std::uint32_t lcid = 0;
  std::string abbreviation;  // three-letter language code (LOCALE_SABBREVLANGNAME)
};

using TSysLangs = std::vector<TLangRec>;

// The one locale list of the process. Main thread only: the first request builds
// it, and that is not guarded against a second thread.
class TLanguagesDEPfix {
 public:
  TLanguagesDEPfix(const TLanguagesDEPfix&) = delete;
  TLanguagesDEPfix& operator=(const TLanguagesDEPfix&) = delete;

  const TSysLangs& Locales() const { return sys_langs_; }

 private:
  friend const TLanguagesDEPfix& LocaleListAccessor();
  TLanguagesDEPfix();

  TSysLangs sys_langs_;
};

// The list, built once on the first call; every call returns the same instance.
const TLanguagesDEPfix& LocaleListAccessor();

}  // namespace orvel
