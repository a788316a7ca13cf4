// Helpers of the version, extraction and progress window tests: the files embedded by
// extract_resources.rc, and a test's setting of the built-in message language.
#pragma once

#include <string>
#include <string_view>

namespace orvel::test {

// The bytes of resource `name` of type `type` in this test program; empty if missing.
std::string EmbeddedBytes(const char* name, const char* type);

// While it lives: no language file in use and the built-in texts in the given
// language, with known captions. Restores the previous state afterwards.
class BuiltInTexts {
 public:
  explicit BuiltInTexts(bool russian);
  ~BuiltInTexts();
  BuiltInTexts(const BuiltInTexts&) = delete;
  BuiltInTexts& operator=(const BuiltInTexts&) = delete;

 private:
  int saved_lang_index_;
  bool saved_russian_;
};

// True once `done` holds, polled every 10 ms for up to 10 s (window creation on
// another thread takes milliseconds).
bool WaitFor(bool (*done)());

// What a message box shows for ANSI text, as UTF-8. The ANSI calls read it in the
// process's code page: Windows-1251 on a Russian Windows, where the installer's
// Russian texts belong, and whatever the test prefix uses here. Comparing in that
// code page checks that the very bytes were passed.
std::string AsShown(std::string_view ansi_text);

inline constexpr char kTestTitleEn[] = "Orvel update";
inline constexpr char kTestTitleRu[] = "Orvel update (ru)";

}  // namespace orvel::test
