// The built-in older-version question (see version_question.h).
#include "install/version_question.h"

#include <initializer_list>

#include "app/russian_texts.h"

namespace orvel {

namespace {
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}
}  // namespace

std::string OlderVersionQuestionEn(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version) {
  return Joined({target_path, " file installing is of older version\r\n",
                 "than the same already installed.\r\n\r\n", "Do you really want to replace existing\r\n",
                 "new file version ", installed_version, " with an older file version ", new_version, "?"});
}

std::string OlderVersionQuestionRu(std::string_view target_path, std::string_view installed_version,
                                   std::string_view new_version) {
  return Joined({kOlderQuestionRu1, target_path, "\r\n", kOlderQuestionRu2, kOlderQuestionRu3,
                 kOlderQuestionRu4, installed_version, kOlderQuestionRu5, new_version, "?"});
}

}  // namespace orvel
