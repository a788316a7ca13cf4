// The dialog robot: a test tool that watches for message boxes (dialog class
// "#32770"), records what each one says and clicks the answer a test asked for.
// It reads the boxes of another process as well as of its own, through the window
// manager only, as a user would.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace orvel::test {

// The standard icon a message box shows (MB_ICONERROR, MB_ICONQUESTION, ...).
enum class MessageIcon { kNone, kError, kQuestion, kWarning, kInformation, kOther };

struct SeenDialog {
  HWND window = nullptr;             // valid until the box is answered
  DWORD process_id = 0;
  std::string caption;               // UTF-8
  std::string text;                  // UTF-8, the message itself
  std::vector<std::string> buttons;  // UTF-8 labels without "&", in dialog order
  std::vector<int> button_ids;       // their control ids (IDYES, IDNO, IDOK, ...)
  MessageIcon icon = MessageIcon::kNone;
  bool topmost = false;              // the box stays above other windows (MB_TOPMOST)
  int clicked = 0;                   // control id pressed (IDYES, IDNO, IDOK, ...)
};

class DialogRobot {
 public:
  // Watches boxes of `process_id` (0: of any process in this Wine session) and
  // presses `answers` in turn, one per box. Once they are used up it presses No
  // where there is one, else OK, else Cancel.
  explicit DialogRobot(DWORD process_id = ::GetCurrentProcessId(), std::vector<int> answers = {});
  ~DialogRobot();
  DialogRobot(const DialogRobot&) = delete;
  DialogRobot& operator=(const DialogRobot&) = delete;

  void WatchProcess(DWORD process_id);
  void SetAnswers(std::vector<int> answers);
  // Runs `hook` on the robot's thread for every box, after reading it and before
  // answering it: what a user might do while a question is on the screen.
  void SetBeforeAnswer(std::function<void(const SeenDialog&)> hook);
  // The boxes answered so far, in the order they appeared.
  std::vector<SeenDialog> Seen() const;
  // Waits until `count` boxes were answered; false on time-out.
  bool WaitForCount(std::size_t count, DWORD timeout_ms) const;

 private:
  void Run();
  void Handle(HWND dialog);

  mutable std::mutex mutex_;
  DWORD process_id_;
  std::deque<int> answers_;
  std::function<void(const SeenDialog&)> before_answer_;
  std::vector<SeenDialog> seen_;
  std::set<HWND> handled_;
  bool stop_ = false;
  std::thread thread_;
};

// "error", "question", ... for messages and test output.
const char* MessageIconName(MessageIcon icon);
// The usual English label of a message-box button id ("Yes", "OK", ...).
const char* ButtonIdName(int id);

// Text of a window, as UTF-8.
std::string WindowTextUtf8(HWND window);
// Bytes in a code page (1251 for the installer's Russian texts) as UTF-8, and back.
std::string Utf8FromCodePage(std::string_view bytes, UINT code_page);
std::string CodePageFromUtf8(std::string_view utf8, UINT code_page);

}  // namespace orvel::test
