// The installer's own texts, for the time no language file can be used: each English
// text beside its Russian twin. The Russian ones are Windows-1251 bytes, which the
// message boxes show through the ANSI calls unchanged; the readable text is in the
// comment above each.
#pragma once

#include <string_view>

namespace orvel {

// Caption of Russian built-in messages until a language file names the program.
// Обновление программы "Орвел"
inline constexpr std::string_view kUpdateTitleRu = "\316\341\355\356\342\353\345\355\350\345 \357\360\356\343\360\340\354\354\373 \"\316\360\342\345\353\"";

inline constexpr std::string_view kHostMissingEn = "There's no Orvel installed.\r\nPlease install the program first.";
// Нет установленной программы "Орвел"!\r\nПожалуйста, сначала установите её.
inline constexpr std::string_view kHostMissingRu = "\315\345\362 \363\361\362\340\355\356\342\353\345\355\355\356\351 \357\360\356\343\360\340\354\354\373 \"\316\360\342\345\353\"!\r\n\317\356\346\340\353\363\351\361\362\340, \361\355\340\367\340\353\340 \363\361\362\340\355\356\342\350\362\345 \345\270.";

inline constexpr std::string_view kRegistryErrorEn = "No access to system registry";
// Нет доступа к системному реестру
inline constexpr std::string_view kRegistryErrorRu = "\315\345\362 \344\356\361\362\363\357\340 \352 \361\350\361\362\345\354\355\356\354\363 \360\345\345\361\362\360\363";

// Followed by the target path.
inline constexpr std::string_view kCantInstallFileEn = "Can't install file ";
// Не удается установить файл 
inline constexpr std::string_view kCantInstallFileRu = "\315\345 \363\344\340\345\362\361\377 \363\361\362\340\355\356\342\350\362\374 \364\340\351\353 ";

// Followed by the file name and kNoLangFileEn2.
inline constexpr std::string_view kNoLangFileEn1 = "Can't work with no ";
inline constexpr std::string_view kNoLangFileEn2 = " file!\r\nPlease reinstall the program.";
// Followed by the file name and kNoLangFileRu2.
// Работа без файла 
inline constexpr std::string_view kNoLangFileRu1 = "\320\340\341\356\362\340 \341\345\347 \364\340\351\353\340 ";

//  невозможна!\r\nПожалуйста, переустановите программу.
inline constexpr std::string_view kNoLangFileRu2 = " \355\345\342\356\347\354\356\346\355\340!\r\n\317\356\346\340\353\363\351\361\362\340, \357\345\360\345\363\361\362\340\355\356\342\350\362\345 \357\360\356\343\360\340\354\354\363.";

// After the file name.
inline constexpr std::string_view kLangFileErrorsEn2 = " file contains errors.\r\nPlease reinstall the program.";
// Followed by the file name and kLangFileErrorsRu2.
// Файл 
inline constexpr std::string_view kLangFileErrorsRu1 = "\324\340\351\353 ";

//  содержит ошибки!\r\nПожалуйста, переустановите программу.
inline constexpr std::string_view kLangFileErrorsRu2 = " \361\356\344\345\360\346\350\362 \356\370\350\341\352\350!\r\n\317\356\346\340\353\363\351\361\362\340, \357\345\360\345\363\361\362\340\355\356\342\350\362\345 \357\360\356\343\360\340\354\354\363.";

// Followed by the file name.
inline constexpr std::string_view kCantHandleLangFileEn = "Can't handle the language support file ";
// Не удаётся работать с файлом языковой поддержки 
inline constexpr std::string_view kCantHandleLangFileRu = "\315\345 \363\344\340\270\362\361\377 \360\340\341\356\362\340\362\374 \361 \364\340\351\353\356\354 \377\347\373\352\356\342\356\351 \357\356\344\344\345\360\346\352\350 ";

inline constexpr std::string_view kOlderQuestionCaptionEn = "Sound question";
// Резонный вопрос
inline constexpr std::string_view kOlderQuestionCaptionRu = "\320\345\347\356\355\355\373\351 \342\356\357\360\356\361";

// The target path, then kOlderQuestionEn1, the installed version, kOlderQuestionEn2,
// the new version and "?".
inline constexpr std::string_view kOlderQuestionEn1 =
    " file installing is of older version\r\nthan the same already installed.\r\n\r\n"
    "Do you really want to replace existing\r\nnew file version ";
inline constexpr std::string_view kOlderQuestionEn2 = " with an older file version ";
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

// Then the log file's path, kLogFileFailedEn2, the Win32 error code and kLogFileFailedEn3.
inline constexpr std::string_view kLogFileFailedEn1 = "Cannot write the log file ";
inline constexpr std::string_view kLogFileFailedEn2 = " (error ";
inline constexpr std::string_view kLogFileFailedEn3 = ").\r\nThe update goes on without a log.";
// Then the log file's path, kLogFileFailedRu2, the Win32 error code and kLogFileFailedRu3.
// Не удаётся записать журнал в файл 
inline constexpr std::string_view kLogFileFailedRu1 = "\315\345 \363\344\340\270\362\361\377 \347\340\357\350\361\340\362\374 \346\363\360\355\340\353 \342 \364\340\351\353 ";
//  (ошибка 
inline constexpr std::string_view kLogFileFailedRu2 = " (\356\370\350\341\352\340 ";
// ).\r\nОбновление продолжится без журнала.
inline constexpr std::string_view kLogFileFailedRu3 = ").\r\n\316\341\355\356\342\353\345\355\350\345 \357\360\356\344\356\353\346\350\362\361\377 \341\345\347 \346\363\360\355\340\353\340.";

// The usage, shown for "/?" and after a command line that was not understood.
inline constexpr std::string_view kUsageEn =
    "OrvelUpdate.exe [modest [runapp]] [/log=C:\\path\\file.log] [/suppressmsgboxes]\r\n"
    "modest: no questions; runapp: then start Orvel.\r\n"
    "Exit code: 0 updated, 1-9 see the log, 10 command line not understood.";
// OrvelUpdate.exe [modest [runapp]] [/log=C:\путь\файл.log] [/suppressmsgboxes]\r\n
// modest: без вопросов; runapp: затем запустить Орвел.\r\n
// Код выхода: 0 обновлено, 1-9 см. журнал, 10 командная строка не понята.
inline constexpr std::string_view kUsageRu =
    "OrvelUpdate.exe [modest [runapp]] [/log=C:\\\357\363\362\374\\\364\340\351\353.log] [/suppressmsgboxes]\r\n"
    "modest: \341\345\347 \342\356\357\360\356\361\356\342; runapp: \347\340\362\345\354 \347\340\357\363\361\362\350\362\374 \316\360\342\345\353.\r\n"
    "\312\356\344 \342\373\365\356\344\340: 0 \356\341\355\356\342\353\345\355\356, 1-9 \361\354. \346\363\360\355\340\353, 10 \352\356\354\340\355\344\355\340\377 \361\362\360\356\352\340 \355\345 \357\356\355\377\362\340.";

}  // namespace orvel
