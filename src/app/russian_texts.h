// The installer's own Russian texts, as Windows-1251 bytes: the message boxes show
// them through the ANSI calls unchanged. The readable text is in the comment above
// each; the English twins stand where the texts are used.
#pragma once

#include <string_view>

namespace orvel {

// Caption of Russian built-in messages until a language file names the program.
// Обновление программы "Орвел"
inline constexpr std::string_view kUpdateTitleRu = "\316\341\355\356\342\353\345\355\350\345 \357\360\356\343\360\340\354\354\373 \"\316\360\342\345\353\"";

// Нет установленной программы "Орвел"!\r\nПожалуйста, сначала установите её.
inline constexpr std::string_view kHostMissingRu = "\315\345\362 \363\361\362\340\355\356\342\353\345\355\355\356\351 \357\360\356\343\360\340\354\354\373 \"\316\360\342\345\353\"!\r\n\317\356\346\340\353\363\351\361\362\340, \361\355\340\367\340\353\340 \363\361\362\340\355\356\342\350\362\345 \345\270.";

// Нет доступа к системному реестру
inline constexpr std::string_view kRegistryErrorRu = "\315\345\362 \344\356\361\362\363\357\340 \352 \361\350\361\362\345\354\355\356\354\363 \360\345\345\361\362\360\363";

// Followed by the target path.
// Не удается установить файл 
inline constexpr std::string_view kCantInstallFileRu = "\315\345 \363\344\340\345\362\361\377 \363\361\362\340\355\356\342\350\362\374 \364\340\351\353 ";

// Followed by the file name and kNoLangFileRu2.
// Работа без файла 
inline constexpr std::string_view kNoLangFileRu1 = "\320\340\341\356\362\340 \341\345\347 \364\340\351\353\340 ";

//  невозможна!\r\nПожалуйста, переустановите программу.
inline constexpr std::string_view kNoLangFileRu2 = " \355\345\342\356\347\354\356\346\355\340!\r\n\317\356\346\340\353\363\351\361\362\340, \357\345\360\345\363\361\362\340\355\356\342\350\362\345 \357\360\356\343\360\340\354\354\363.";

// Followed by the file name and kLangFileErrorsRu2.
// Файл 
inline constexpr std::string_view kLangFileErrorsRu1 = "\324\340\351\353 ";

//  содержит ошибки!\r\nПожалуйста, переустановите программу.
inline constexpr std::string_view kLangFileErrorsRu2 = " \361\356\344\345\360\346\350\362 \356\370\350\341\352\350!\r\n\317\356\346\340\353\363\351\361\362\340, \357\345\360\345\363\361\362\340\355\356\342\350\362\345 \357\360\356\343\360\340\354\354\363.";

// Followed by the file name.
// Не удаётся работать с файлом языковой поддержки 
inline constexpr std::string_view kCantHandleLangFileRu = "\315\345 \363\344\340\270\362\361\377 \360\340\341\356\362\340\362\374 \361 \364\340\351\353\356\354 \377\347\373\352\356\342\356\351 \357\356\344\344\345\360\346\352\350 ";

// Резонный вопрос
inline constexpr std::string_view kOlderQuestionCaptionRu = "\320\345\347\356\355\355\373\351 \342\356\357\360\356\361";

// Then the target path, CR LF, and kOlderQuestionRu2.
// Устанавливаемый файл 
inline constexpr std::string_view kOlderQuestionRu1 = "\323\361\362\340\355\340\342\353\350\342\340\345\354\373\351 \364\340\351\353 ";

// более старой версии, чем уже установленный.\r\n\r\n
inline constexpr std::string_view kOlderQuestionRu2 = "\341\356\353\345\345 \361\362\340\360\356\351 \342\345\360\361\350\350, \367\345\354 \363\346\345 \363\361\362\340\355\356\342\353\345\355\355\373\351.\r\n\r\n";

// Действительно ли Вы хотите заменить уже имеющийся\r\n
inline constexpr std::string_view kOlderQuestionRu3 = "\304\345\351\361\362\342\350\362\345\353\374\355\356 \353\350 \302\373 \365\356\362\350\362\345 \347\340\354\345\355\350\362\374 \363\346\345 \350\354\345\376\371\350\351\361\377\r\n";

// Then the installed version.
// файл версии 
inline constexpr std::string_view kOlderQuestionRu4 = "\364\340\351\353 \342\345\360\361\350\350 ";

// Then the new version and "?".
//  на более старый версии 
inline constexpr std::string_view kOlderQuestionRu5 = " \355\340 \341\356\353\345\345 \361\362\340\360\373\351 \342\345\360\361\350\350 ";

// Then the log file's path, kLogFileFailedRu2, the Win32 error code and kLogFileFailedRu3.
// Не удаётся записать журнал в файл 
inline constexpr std::string_view kLogFileFailedRu1 = "\315\345 \363\344\340\270\362\361\377 \347\340\357\350\361\340\362\374 \346\363\360\355\340\353 \342 \364\340\351\353 ";
//  (ошибка 
inline constexpr std::string_view kLogFileFailedRu2 = " (\356\370\350\341\352\340 ";
// ).\r\nОбновление продолжится без журнала.
inline constexpr std::string_view kLogFileFailedRu3 = ").\r\n\316\341\355\356\342\353\345\355\350\345 \357\360\356\344\356\353\346\350\362\361\377 \341\345\347 \346\363\360\355\340\353\340.";

}  // namespace orvel
