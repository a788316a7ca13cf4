// Helpers of the version, extraction and progress window tests (see extract_fixtures.h).
#include "extract_fixtures.h"

#include <windows.h>

#include "base/program_state.h"
#include "lang/language_files.h"
#include "robot/dialog_robot.h"

namespace orvel::test {

std::string EmbeddedBytes(const char* name, const char* type) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(module, name, type);
  if (info == nullptr) return std::string();
  HGLOBAL loaded = ::LoadResource(module, info);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) return std::string();
  return std::string(static_cast<const char*>(data), ::SizeofResource(module, info));
}

bool WaitFor(bool (*done)()) {
  for (int round = 0; round < 1000; ++round) {
    if (done()) return true;
    ::Sleep(10);
  }
  return done();
}

std::string AsShown(std::string_view ansi_text) { return Utf8FromCodePage(ansi_text, CP_ACP); }

BuiltInTexts::BuiltInTexts(bool russian)
    : saved_lang_index_(CurrentLangIndex), saved_russian_(Program().RussianUi) {
  CurrentLangIndex = -1;
  Program().RussianUi = russian;
  Program().UpdateTitleEn = kTestTitleEn;
  Program().UpdateTitle = kTestTitleRu;
}

BuiltInTexts::~BuiltInTexts() {
  CurrentLangIndex = saved_lang_index_;
  Program().RussianUi = saved_russian_;
}

}  // namespace orvel::test
