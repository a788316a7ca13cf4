// Shared set-up of the language-file tests: a host folder with a "language" folder,
// the program state the language unit reads, a per-user key of its own, and small
// builders of language files. The language state is reset after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_state.h"
#include "lang/language_files.h"
#include "robot/dialog_robot.h"
#include "scratch.h"

namespace orvel::test {

// A language file with the header keys every file carries: "progname" is
// `name` + " title", "langname" is `name`, "langcode" the CR LF-separated `codes`.
// `extra` follows as further keys.
inline std::string LangFileText(std::string_view name, std::string_view codes, std::string_view extra = "") {
  std::string text = "[progname]\r\n";
  text.append(name).append(" title\r\n[ProgDescr0]\r\n").append(name).append(" description\r\n");
  text.append("[langcharset]\r\n0\r\n[langname]\r\n").append(name).append("\r\n[langver]\r\n3\r\n");
  text.append("[langcode]\r\n").append(codes).append("\r\n\r\n").append(extra);
  return text;
}

class LangTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramState& state = Program();
    state.HostFolder = scratch_.Path();
    state.HostAppName = "OrvelLangTest" + std::to_string(::GetCurrentProcessId());
    state.UpdateTitle = "Russian-style title";
    state.UpdateTitleEn = "Orvel update";
    state.RussianUi = false;
    state.UserLcid = 1033;
    state.SharedRegistry = std::make_unique<RegistryAccess>(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
    ASSERT_TRUE(::CreateDirectoryA(Folder().c_str(), nullptr));
  }

  void TearDown() override {
    DoneLanguageFiles();
    DeleteRegistryTree(HKEY_CURRENT_USER, UserKey());
    DoneProgramState();
  }

  std::string Folder() const { return scratch_.Path() + "language\\"; }
  std::string UserKey() const { return std::string(UserKeyPrefix) + Program().HostAppName; }
  void Write(const std::string& name, const std::string& bytes) const { WriteBytes(Folder() + name, bytes); }

  // Texts of the boxes seen, captions and texts as "caption | text".
  static std::vector<std::string> Boxes(const DialogRobot& robot) {
    std::vector<std::string> boxes;
    for (const SeenDialog& seen : robot.Seen()) boxes.push_back(seen.caption + " | " + seen.text);
    return boxes;
  }

  ScratchFolder scratch_;
};

// Holds a file open with no sharing, so that nobody else can open it.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const std::string& path)
      : handle_(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ExclusiveLock() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace orvel::test
