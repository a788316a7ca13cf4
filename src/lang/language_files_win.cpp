// Finding, checking, probing and choosing Orvel's language files (see
// language_files.h).
#include "lang/language_files.h"

#include <windows.h>

#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/scoped_handle_win.h"
#include "lang/lang_file_reader_win.h"
#include "lang/language_file_format.h"
#include "lang/language_list.h"
#include "lang/text_lookup.h"

namespace orvel {

namespace {
constexpr std::int32_t kNoCharset = 255;
constexpr char kUserChoiceValue[] = "LangFile";
}  // namespace

std::vector<std::string> LangFileNames;
std::vector<std::string> LangNames;
std::vector<std::int32_t> LangVersions;
std::int32_t RussianLangIndex = -1;
std::int32_t EnglishLangIndex = -1;
std::int32_t MatchedLangIndex = -1;
std::int32_t CurrentLangIndex = -1;
std::int32_t LanguageId = -1;
std::int32_t CurrentLangCharset = kNoCharset;
std::string ProgramDescription;
LangFileReader CurrentLangFile;
LangFileReader DefaultLangFile;

namespace {

// Every "*.lng" entry of the language folder, whatever its attributes (folders
// included: the probe then reports them as unreadable), in listing order.
void ListLanguageFiles() {
  WIN32_FIND_DATAA entry;
  ScopedFindHandle listing(::FindFirstFileA((LanguageFolder() + "*.lng").c_str(), &entry));
  if (!listing) return;
  do {
    const std::string_view name = entry.cFileName;
    if (!IsUsableLangFileName(name)) continue;
    const auto index = static_cast<std::int32_t>(LangFileNames.size());
    LangFileNames.emplace_back(name);
    switch (DefaultLangKindOf(name)) {
      case DefaultLangKind::kRussian: RussianLangIndex = index; break;
      case DefaultLangKind::kEnglish: EnglishLangIndex = index; break;
      case DefaultLangKind::kNone: break;
    }
  } while (::FindNextFileA(listing.Get(), &entry));
  LangNames.resize(LangFileNames.size());
  LangVersions.resize(LangFileNames.size());
}

void ShowBrokenLangFile(std::int32_t index) {
  const std::string& name = LangFileNames[static_cast<std::size_t>(index)];
  ShowFallbackError(BrokenLangFileMessageEn(name), BrokenLangFileMessageRu(name));
}

// Reads a file's header keys, name, version and locales. False when the file is too
// large to be a language file or one of its integers does not parse.
bool ProbeLanguageFile(std::int32_t index) {
  const auto slot = static_cast<std::size_t>(index);
  if (IsOversizedLangFile(LanguageFolder() + LangFileNames[slot])) return false;
  if (!SelectLanguageFile(index)) return false;
  LangNames[slot] = LangText("langname");
  if (!ParseLangInteger(LangText("langver"), LangVersions[slot])) return false;
  const LocaleMatch match = LangcodesMatch(LangTextBlock("langcode"), Program().UserLcid);
  if (match == LocaleMatch::kBroken) return false;
  if (match == LocaleMatch::kYes) MatchedLangIndex = index;
  CurrentLangFile.Close();
  return true;
}

// The file the user chose in Orvel, named by "LangFile" in Orvel's per-user key,
// wins over the locale when it is listed under exactly that name. False when that
// file no longer reads as it did in the probe.
bool ApplyUserChoice() {
  ProgramState& state = Program();
  if (!state.SharedRegistry) return true;
  RegistryAccess& registry = *state.SharedRegistry;
  OpenUserKey();
  std::string chosen;
  // A value of another type than a string is no choice.
  const bool has_choice =
      registry.ValueExists(kUserChoiceValue) && registry.ReadString(kUserChoiceValue, chosen).Succeeded();
  registry.CloseKey();
  if (!has_choice || chosen == LangFileNames[static_cast<std::size_t>(CurrentLangIndex)]) return true;
  const std::int32_t index = FindLangFileName(LangFileNames, chosen);
  return index < 0 || SelectLanguageFile(index);
}

}  // namespace

std::string LanguageFolder() { return Program().HostFolder + "language\\"; }

std::int32_t DefaultLangIndex() { return Program().RussianUi ? RussianLangIndex : EnglishLangIndex; }

bool SelectLanguageFile(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= LangFileNames.size()) return false;
  CurrentLangFile.Bind(LanguageFolder(), LangFileNames[static_cast<std::size_t>(index)]);
  CurrentLangIndex = index;
  Program().UpdateTitle = LangText("progname");
  ProgramDescription = LangText("ProgDescr0");
  // "langcode" read as one line is the first line of its block: the file's own language.
  return ParseLangInteger(LangText("langcharset"), CurrentLangCharset) &&
         ParseLangInteger(LangText("langcode"), LanguageId);
}

bool LoadLanguageFiles() {
  DoneLanguageFiles();
  const bool russian_ui = Program().RussianUi;

  ListLanguageFiles();
  const std::string_view missing = MissingDefaultLangFile(russian_ui, RussianLangIndex, EnglishLangIndex);
  if (!missing.empty()) {
    ShowFallbackError(MissingLangFileMessageEn(missing), MissingLangFileMessageRu(missing));
    return false;
  }

  for (std::size_t i = 0; i < LangFileNames.size(); ++i) {
    if (!ProbeLanguageFile(static_cast<std::int32_t>(i))) {
      ShowBrokenLangFile(static_cast<std::int32_t>(i));
      return false;
    }
  }

  // A file that changed since its probe and no longer parses ends the run like a
  // broken one would have in the probe.
  const std::int32_t chosen = MatchedLangIndex >= 0 ? MatchedLangIndex : DefaultLangIndex();
  if (!SelectLanguageFile(chosen) || !ApplyUserChoice()) {
    ShowBrokenLangFile(CurrentLangIndex);
    return false;
  }
  return true;
}

void DoneLanguageFiles() {
  CurrentLangFile.Unbind();
  DefaultLangFile.Unbind();
  LangFileNames.clear();
  LangNames.clear();
  LangVersions.clear();
  RussianLangIndex = -1;
  EnglishLangIndex = -1;
  MatchedLangIndex = -1;
  CurrentLangIndex = -1;
  LanguageId = -1;
  CurrentLangCharset = kNoCharset;
  ProgramDescription.clear();
}

}  // namespace orvel
