// Orvel's language files ("*.lng" in HostFolder + "language\"): finding them,
// checking the default files, probing each, and choosing the current one.
#pragma once

#include <cstdint>

namespace orvel {

// Index of the current language file; negative until one is chosen.
extern std::int32_t CurrentLangIndex;
// The current file's own language id (first "langcode" line); its low 16 bits are the
// language of every message box that shows language texts.
extern std::int32_t LanguageId;

// Finds, checks, probes and chooses. False after one message was shown; the update
// run then ends.
bool LoadLanguageFiles();

}  // namespace orvel
