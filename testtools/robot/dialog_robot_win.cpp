// The dialog robot (see dialog_robot.h).
#include "robot/dialog_robot.h"

#include <chrono>
#include <utility>

namespace orvel::test {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);
// The text of a standard message box sits in a static control with this id.
constexpr int kMessageTextId = 0xffff;

std::string ClassName(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WithoutAmpersands(std::string label) {
  std::string result;
  for (char c : label)
    if (c != '&') result += c;
  return result;
}

struct Found {
  DWORD process_id;
  std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if ((found->process_id == 0 || owner == found->process_id) && ::IsWindowVisible(window) &&
      ClassName(window) == "#32770")
    found->dialogs.push_back(window);
  return TRUE;
}

struct Controls {
  std::vector<HWND> buttons;
  std::vector<HWND> statics;
  HWND icon = nullptr;  // the static control that shows the icon
};

BOOL CALLBACK CollectControl(HWND window, LPARAM param) {
  auto* controls = reinterpret_cast<Controls*>(param);
  const std::string name = ClassName(window);
  if (name == "Button" && ::IsWindowVisible(window)) controls->buttons.push_back(window);
  if (name == "Static") {
    if ((::GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      if (controls->icon == nullptr && ::SendMessageA(window, STM_GETICON, 0, 0) != 0) controls->icon = window;
    } else {
      controls->statics.push_back(window);
    }
  }
  return TRUE;
}

// Icons cannot be read across processes, so the robot compares what the box shows
// on the screen with the system icons drawn here on the same background.
using Pixels = std::vector<COLORREF>;

// A bitmap in the screen's format to copy or draw into and read back.
class Canvas {
 public:
  Canvas(int width, int height)
      : width_(width),
        height_(height),
        screen_(::GetDC(nullptr)),
        memory_(::CreateCompatibleDC(screen_)),
        bitmap_(::CreateCompatibleBitmap(screen_, width, height)),
        old_(::SelectObject(memory_, bitmap_)) {}
  ~Canvas() {
    ::SelectObject(memory_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(memory_);
    ::ReleaseDC(nullptr, screen_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Screen() const { return screen_; }
  HDC Memory() const { return memory_; }
  Pixels Read() const {
    Pixels pixels;
    pixels.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels.push_back(::GetPixel(memory_, x, y));
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

Pixels ScreenPixels(HWND window, int& width, int& height) {
  RECT rect = {};
  ::GetWindowRect(window, &rect);
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0 || width > 256 || height > 256) return Pixels();
  Canvas canvas(width, height);
  ::BitBlt(canvas.Memory(), 0, 0, width, height, canvas.Screen(), rect.left, rect.top, SRCCOPY);
  return canvas.Read();
}

Pixels DrawnIcon(LPCSTR id, int width, int height, COLORREF background) {
  Canvas canvas(width, height);
  HBRUSH brush = ::CreateSolidBrush(background);
  const RECT all = {0, 0, width, height};
  ::FillRect(canvas.Memory(), &all, brush);
  ::DeleteObject(brush);
  ::DrawIcon(canvas.Memory(), 0, 0, ::LoadIconA(nullptr, id));
  return canvas.Read();
}

// Which standard icon the icon control shows; kOther when none matches (yet: the
// box may not be painted when it is first seen).
MessageIcon ShownIcon(HWND icon_control) {
  int width = 0;
  int height = 0;
  const Pixels shown = ScreenPixels(icon_control, width, height);
  if (shown.empty()) return MessageIcon::kOther;
  const std::pair<LPCSTR, MessageIcon> kinds[] = {{IDI_HAND, MessageIcon::kError},
                                                  {IDI_QUESTION, MessageIcon::kQuestion},
                                                  {IDI_EXCLAMATION, MessageIcon::kWarning},
                                                  {IDI_ASTERISK, MessageIcon::kInformation}};
  for (const auto& [id, kind] : kinds) {
    const Pixels drawn = DrawnIcon(id, width, height, shown.front());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != drawn[i];
    if (differing * 50 <= shown.size()) return kind;  // at most 2 % off
  }
  return MessageIcon::kOther;
}

MessageIcon IconKind(HWND icon_control) {
  if (icon_control == nullptr) return MessageIcon::kNone;
  MessageIcon kind = MessageIcon::kOther;
  for (int attempt = 0; attempt < 25 && kind == MessageIcon::kOther; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kPollInterval);
    kind = ShownIcon(icon_control);
  }
  return kind;
}

}  // namespace

const char* MessageIconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone: return "none";
    case MessageIcon::kError: return "error";
    case MessageIcon::kQuestion: return "question";
    case MessageIcon::kWarning: return "warning";
    case MessageIcon::kInformation: return "information";
    case MessageIcon::kOther: return "other";
  }
  return "other";
}

const char* ButtonIdName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDTRYAGAIN: return "Try Again";
    case IDCONTINUE: return "Continue";
  }
  return "?";
}

std::string CodePageFromUtf8(std::string_view utf8, UINT code_page) {
  if (utf8.empty()) return std::string();
  const int wide_length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(wide_length, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wide_length);
  const int length = ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string bytes(length, '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), wide_length, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::string Utf8FromCodePage(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return std::string();
  const int wide_length = ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(wide_length, L'\0');
  ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), wide_length);
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::string WindowTextUtf8(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring wide(length + 1, L'\0');
  const int got = ::GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(got);
  if (wide.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), got, nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), got, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

DialogRobot::DialogRobot(DWORD process_id, std::vector<int> answers)
    : process_id_(process_id), answers_(answers.begin(), answers.end()) {
  thread_ = std::thread([this] { Run(); });
}

DialogRobot::~DialogRobot() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  thread_.join();
}

void DialogRobot::WatchProcess(DWORD process_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  process_id_ = process_id;
}

void DialogRobot::SetAnswers(std::vector<int> answers) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.assign(answers.begin(), answers.end());
}

void DialogRobot::SetBeforeAnswer(std::function<void(const SeenDialog&)> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  before_answer_ = std::move(hook);
}

std::vector<SeenDialog> DialogRobot::Seen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

bool DialogRobot::WaitForCount(std::size_t count, DWORD timeout_ms) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (seen_.size() >= count) return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return false;
}

void DialogRobot::Run() {
  for (;;) {
    Found found;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
      found.process_id = process_id_;
      // Forget windows that are gone, so a reused handle is seen as a new box.
      for (auto it = handled_.begin(); it != handled_.end();)
        it = ::IsWindow(*it) ? std::next(it) : handled_.erase(it);
    }
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
    for (HWND dialog : found.dialogs) Handle(dialog);
    std::this_thread::sleep_for(kPollInterval);
  }
}

void DialogRobot::Handle(HWND dialog) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (handled_.count(dialog) != 0) return;
  }
  Controls controls;
  ::EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&controls));
  if (controls.buttons.empty()) return;  // not filled in yet: look again next round

  SeenDialog seen;
  seen.window = dialog;
  ::GetWindowThreadProcessId(dialog, &seen.process_id);
  seen.caption = WindowTextUtf8(dialog);
  seen.icon = IconKind(controls.icon);
  seen.topmost = (::GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  HWND text = ::GetDlgItem(dialog, kMessageTextId);
  if (text == nullptr) {
    for (HWND candidate : controls.statics) {
      if (::GetWindowTextLengthW(candidate) > 0) {
        text = candidate;
        break;
      }
    }
  }
  if (text != nullptr) seen.text = WindowTextUtf8(text);
  for (HWND button : controls.buttons) {
    seen.buttons.push_back(WithoutAmpersands(WindowTextUtf8(button)));
    seen.button_ids.push_back(::GetDlgCtrlID(button));
  }
  const std::vector<int>& ids = seen.button_ids;

  int answer = 0;
  std::function<void(const SeenDialog&)> before_answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
    before_answer = before_answer_;
  }
  auto has = [&](int id) {
    for (int candidate : ids)
      if (candidate == id) return true;
    return false;
  };
  if (answer == 0 || !has(answer)) answer = has(IDNO) ? IDNO : has(IDOK) ? IDOK : IDCANCEL;
  seen.clicked = answer;
  if (before_answer) before_answer(seen);

  {
    std::lock_guard<std::mutex> lock(mutex_);
    handled_.insert(dialog);
    seen_.push_back(seen);
  }
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

}  // namespace orvel::test
