// The built-in question asked before an older file replaces a newer installed one,
// for the time no language file is in use: English, or Russian (Windows-1251 bytes),
// from the built-in texts.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// `installed_version` and `new_version` are the two files' version texts.
std::string OlderVersionQuestionEn(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version);
std::string OlderVersionQuestionRu(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version);

}  // namespace orvel
