// One run of the real installer: started with its arguments, its message boxes
// answered by the dialog robot, waited for. What a test checks of it: the boxes in
// the order they came, the exit code, the time it took.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "robot/dialog_robot.h"

namespace orvel::e2e {

// The installer's exit codes, as a caller sees them.
enum InstallerExit : int {
  kWritten = 0,
  kDeclined = 1,
  kNotInstalled = 2,
  kNoAdminRights = 3,
  kNoLanguageFiles = 4,
  kDamaged = 5,
  kPackageLocked = 6,
  kNotWritten = 7,
  kRegistryError = 8,
  kCommandLineError = 10,
};

// A message box as the user sees it. (Whether it stays on top is not compared: Wine
// does not make message boxes topmost.)
struct Box {
  std::string caption;
  std::string text;
  test::MessageIcon icon = test::MessageIcon::kNone;
  std::vector<int> buttons;  // IDYES, IDNO, IDOK, ... in dialog order
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box);

// The three kinds of box the installer shows.
Box Question(std::string caption, std::string text);  // Yes/No, question icon
Box Error(std::string caption, std::string text);     // OK, error icon

struct InstallerRun {
  int exit_code = -1;
  std::vector<Box> boxes;
  // Each box's button texts as shown, in the language Windows gave them (UTF-8).
  std::vector<std::vector<std::string>> button_texts;
  double seconds = 0;
  bool timed_out = false;
};

// Runs the installer with `args` in `current_folder`, answering its boxes with
// `answers` (IDYES, IDNO, ...; afterwards No, else OK) and calling `before_answer`
// (when given) for each box before it is answered. A run that hangs is stopped after
// a minute and reported as timed out. `installer` runs another copy of the installer
// than the one built here; `desktop` ("station\\desktop") starts it on another desktop.
using BeforeAnswer = std::function<void(const test::SeenDialog&)>;
InstallerRun RunInstaller(const std::vector<std::string>& args, const std::vector<int>& answers,
                          const std::string& current_folder, BeforeAnswer before_answer = {},
                          const std::string& installer = {}, const char* desktop = nullptr);

}  // namespace orvel::e2e
