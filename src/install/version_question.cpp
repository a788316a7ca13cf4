// The built-in older-version question (see version_question.h).
#include "install/version_question.h"

#include "base/builtin_texts.h"
#include "base/text_rules.h"

namespace orvel {

std::string OlderVersionQuestionEn(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version) {
  return Joined({target_path, kOlderQuestionEn1, installed_version, kOlderQuestionEn2, new_version, "?"});
}

std::string OlderVersionQuestionRu(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version) {
  return Joined({kOlderQuestionRu1, target_path, "\r\n", kOlderQuestionRu2, kOlderQuestionRu3,
                 kOlderQuestionRu4, installed_version, kOlderQuestionRu5, new_version, "?"});
}

}  // namespace orvel
