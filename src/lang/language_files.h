// Orvel's language files ("*.lng" in HostFolder + "language\"): finding them,
// checking the default files, probing each, and choosing the current one. The state
// below is the language unit's own; the text lookups and the update run read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvel {

// File names of the language files in listing order; an index into this list names
// a language file for the rest of the run.
extern std::vector<std::string> LangFileNames;
// Parallel to LangFileNames: each file's "langname" and "langver", filled by the probe.
extern std::vector<std::string> LangNames;
extern std::vector<std::int32_t> LangVersions;
// Where "russian.lng" and "english.lng" (any letter case) are listed; -1 when absent.
extern std::int32_t RussianLangIndex;
extern std::int32_t EnglishLangIndex;
// The last probed file whose "langcode" lines hold the user's locale; -1 if none.
extern std::int32_t MatchedLangIndex;
// Index of the current language file; -1 until one is chosen.
extern std::int32_t CurrentLangIndex;
// The current file's own language id (first "langcode" line); its low 16 bits are the
// language of every message box that shows language texts.
extern std::int32_t LanguageId;
// The current file's "langcharset" (255 until a file is chosen) and "ProgDescr0".
extern std::int32_t CurrentLangCharset;
extern std::string ProgramDescription;

// HostFolder + "language\".
std::string LanguageFolder();
// The file that answers every key the current file lacks: "russian.lng" with a
// Russian interface, else "english.lng"; -1 before the files are listed.
std::int32_t DefaultLangIndex();

// Finds, checks, probes and chooses. False after one message was shown (besides any
// about unreadable files); the update run then ends. True: a current file is chosen,
// UpdateTitle holds its "progname", and the lookups may be used.
bool LoadLanguageFiles();

// Makes entry `index` of LangFileNames the current file and reads its header keys
// ("progname" into UpdateTitle, "ProgDescr0", "langcharset", "langcode"). False,
// with nothing shown, when "langcharset" or "langcode" is no integer, or `index` is
// outside the list.
bool SelectLanguageFile(std::int32_t index);

// Shutdown of the language unit: closes the readers and forgets every file, back to
// the state before LoadLanguageFiles.
void DoneLanguageFiles();

}  // namespace orvel
