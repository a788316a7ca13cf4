// dialog_robot.exe: runs a program, answers its message boxes and reports them.
//
//   dialog_robot.exe [--answers yes,no,...] [--timeout SECONDS] [--pictures PREFIX]
//                    [--not-admin] -- PROGRAM [ARGS...]
//
// Starts PROGRAM with ARGS, answers its message boxes in turn with the given answers
// (yes, no, ok, cancel; once they are used up: No where there is one, else OK),
// prints every box as UTF-8 (caption, text, icon, buttons, the answer given), waits
// for the program and prints its exit code. With --pictures, box N is also saved,
// as the screen shows it, to PREFIX-N.bmp (scripts/screenshots.sh uses that). The robot's own exit code is the
// program's; 124 when the program had to be stopped after the time-out, 125 on a
// wrong command line, 127 when the program could not be started.
// With --not-admin, PROGRAM runs as a user who is no administrator.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "robot/dialog_robot.h"

namespace {

using orvel::test::DialogRobot;
using orvel::test::SeenDialog;

constexpr int kTimedOut = 124;
constexpr int kUsageError = 125;
constexpr int kCannotStart = 127;
constexpr DWORD kDefaultTimeoutSeconds = 120;
constexpr DWORD kPaintWaitMs = 500;

void Print(const std::string& text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void PrintError(const std::string& text) {
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  const std::string line = "dialog_robot: " + text + "\n";
  DWORD written = 0;
  ::WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// "yes" -> IDYES and so on; 0 for a word that names no answer.
int AnswerId(const std::string& word) {
  std::string lower;
  for (char c : word) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower == "yes") return IDYES;
  if (lower == "no") return IDNO;
  if (lower == "ok") return IDOK;
  if (lower == "cancel") return IDCANCEL;
  return 0;
}

bool ParseAnswers(const std::string& list, std::vector<int>& answers) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const int id = AnswerId(word);
    if (id == 0) return false;
    answers.push_back(id);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

// Quotes one argument so that the usual command-line parsing gives it back as is.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') quoted.append(backslashes * 2 + 1, '\\');
    else quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

// The message text indented under its label, one line of the box per line.
std::string IndentedText(const std::string& text) {
  std::string result;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    result += (start == 0 ? "" : "           ") + line + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

std::string Describe(const SeenDialog& box, std::size_t number) {
  std::string text = "message box " + std::to_string(number) + "\n";
  text += "  caption: " + box.caption + "\n";
  text += "  text:    " + IndentedText(box.text);
  text += std::string("  icon:    ") + orvel::test::MessageIconName(box.icon) + "\n";
  text += "  buttons:";
  std::string answer;
  for (std::size_t i = 0; i < box.buttons.size(); ++i) {
    text += (i == 0 ? " " : " | ") + box.buttons[i];
    if (i < box.button_ids.size() && box.button_ids[i] == box.clicked) answer = box.buttons[i];
  }
  text += "\n  answer:  " + (answer.empty() ? std::string(orvel::test::ButtonIdName(box.clicked)) : answer) + "\n";
  return text;
}

int Usage() {
  PrintError(
      "usage: dialog_robot.exe [--answers yes,no,...] [--timeout SECONDS] [--pictures PREFIX] [--not-admin] -- PROGRAM [ARGS...]");
  return kUsageError;
}

// Saves what the screen shows of `window` as a 24-bit bitmap file.
bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT rect = {};
  if (!::GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(stride * static_cast<DWORD>(height), '\0');
  const bool read = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height;
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (!read) return false;

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(out, &file, sizeof file, &written, nullptr) &&
                  ::WriteFile(out, &info, sizeof info, &written, nullptr) &&
                  ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  ::CloseHandle(out);
  return ok;
}

// This token with Administrators for denying only, as an unelevated admin's (Wine makes all admins); null on failure.
HANDLE TokenOfANonAdministrator() {
  HANDLE own = nullptr, restricted = nullptr;
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  SID_AND_ATTRIBUTES deny = {administrators, 0};
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) ||
      !::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) ||
      !::CreateRestrictedToken(own, 0, 1, &deny, 0, nullptr, 0, nullptr, &restricted))
    restricted = nullptr;
  if (own) ::CloseHandle(own);
  return restricted;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> answers;
  DWORD timeout_seconds = kDefaultTimeoutSeconds;
  std::string pictures;
  bool not_admin = false;
  int first = 1;
  for (; first < argc; ++first) {
    const std::string arg = argv[first];
    if (arg == "--") {
      ++first;
      break;
    }
    if (arg == "--answers" && first + 1 < argc) {
      if (!ParseAnswers(argv[++first], answers)) return Usage();
    } else if (arg == "--pictures" && first + 1 < argc) {
      pictures = argv[++first];
    } else if (arg == "--not-admin") {
      not_admin = true;
    } else if (arg == "--timeout" && first + 1 < argc) {
      timeout_seconds = static_cast<DWORD>(std::strtoul(argv[++first], nullptr, 10));
    } else {
      return Usage();
    }
  }
  if (first >= argc) return Usage();

  std::string command_line;
  for (int i = first; i < argc; ++i) command_line += (i == first ? "" : " ") + QuoteArgument(argv[i]);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Suspended, so the robot watches the process before it can show anything.
  HANDLE token = not_admin ? TokenOfANonAdministrator() : nullptr;
  const BOOL started = (token || !not_admin) && ::CreateProcessAsUserA(token, nullptr, command_line.data(), nullptr,
                                                                       nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                                                       nullptr, &startup, &process);
  if (token) ::CloseHandle(token);
  if (!started) {
    PrintError("cannot start " + command_line + " (error " + std::to_string(::GetLastError()) + ")");
    return kCannotStart;
  }
  int exit_code = 0;
  {
    DialogRobot robot(process.dwProcessId, answers);
    int picture = 0;
    if (!pictures.empty()) {
      robot.SetBeforeAnswer([&](const SeenDialog& box) {
        ::Sleep(kPaintWaitMs);  // a box that was just found may not be fully painted yet
        const std::string path = pictures + "-" + std::to_string(++picture) + ".bmp";
        if (!SaveWindowPicture(box.window, path)) PrintError("cannot save " + path);
      });
    }
    ::ResumeThread(process.hThread);
    const DWORD waited = ::WaitForSingleObject(process.hProcess, timeout_seconds * 1000);
    if (waited != WAIT_OBJECT_0) {
      PrintError("the program did not end within " + std::to_string(timeout_seconds) + " s; stopping it");
      ::TerminateProcess(process.hProcess, kTimedOut);
      ::WaitForSingleObject(process.hProcess, INFINITE);
    }
    const std::vector<SeenDialog> seen = robot.Seen();
    for (std::size_t i = 0; i < seen.size(); ++i) Print(Describe(seen[i], i + 1));
    if (seen.empty()) Print("no message box\n");
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    exit_code = waited == WAIT_OBJECT_0 ? static_cast<int>(code) : kTimedOut;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  Print("exit code: " + std::to_string(exit_code) + "\n");
  return exit_code;
}
