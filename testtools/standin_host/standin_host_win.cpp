// A stand-in for Orvel, copied into test installations as orvel.exe. It shows
// the three things the installer knows about a running Orvel: the file mapping
// "orvel_memfile", a main window of class "TOrvelMainForm", and (optionally) the
// package file vexa.3bs in its own folder, held open without sharing. It ends when
// its message loop takes WM_QUIT, and writes what happened to a log, one line per
// event, fields separated by tabs:
//
//   started  <command line>  <current directory>  <parent's executable name>
//   holding  <package path>            (or: hold-failed <package path> <error>)
//   ready
//   wm_quit  <wParam>  <lParam>        (one line per WM_QUIT taken from the queue)
//   released <package path>
//   exited
//
// The log is the file named by the environment variable ORVEL_STANDIN_LOG, else by
// the value "Log" of HKCU\Software\Orvel tests\Stand-in (for a stand-in started by
// the desktop shell, whose environment is not the test's), else standin_host.log
// beside the program. Tests put it outside the installation, so that it does not
// change the size the installer records.
//
// Options:
//   --hold-package       keep vexa.3bs open (no sharing) until the program ends
//   --ignore-quit        stay after WM_QUIT (an Orvel that hangs while closing);
//                        WM_CLOSE to the main window still ends it
//   --release-delay MS   keep the package open for MS milliseconds after WM_QUIT
//                        (an Orvel that takes a while to close)
//   --ready-event NAME   set this named event once mapping, window and file are set
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kMappingName[] = "orvel_memfile";
constexpr char kWindowClass[] = "TOrvelMainForm";
constexpr char kPackageName[] = "vexa.3bs";
constexpr char kLogSettingKey[] = "Software\\Orvel tests\\Stand-in";

struct Options {
  bool hold_package = false;
  bool ignore_quit = false;
  DWORD release_delay_ms = 0;
  std::string ready_event;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--hold-package") {
      options.hold_package = true;
    } else if (arg == "--ignore-quit") {
      options.ignore_quit = true;
    } else if (arg == "--release-delay" && i + 1 < argc) {
      options.release_delay_ms = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--ready-event" && i + 1 < argc) {
      options.ready_event = argv[++i];
    }
    // Anything else is ignored: the installer starts Orvel with no arguments, and a
    // real Orvel would not stop at an unknown one either.
  }
  return options;
}

// The folder of this program, ending in "\".
std::string OwnFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string LogPath() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA("ORVEL_STANDIN_LOG", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::string(path, length);
  DWORD size = sizeof path;
  if (::RegGetValueA(HKEY_CURRENT_USER, kLogSettingKey, "Log", RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS)
    return path;
  return OwnFolder() + "standin_host.log";
}

// The executable name of the process that started this one ("?" when it is gone).
std::string ParentName() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return "?";
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == ::GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  std::string name = "?";
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == parent) name = entry.szExeFile;
  ::CloseHandle(snapshot);
  return name;
}

// Appends one line. The file is opened for each line, so a test can read the log
// while this program runs, and a line is complete once it is there.
void Log(const std::string& line) {
  HANDLE file = ::CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

bool g_closing = false;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    g_closing = true;
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

HWND CreateMainWindow(HINSTANCE instance) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = MainWindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClass;
  if (::RegisterClassA(&window_class) == 0) return nullptr;
  // Never shown: the installer finds it by class, and the test display stays clear.
  return ::CreateWindowExA(0, kWindowClass, "Orvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                           nullptr, nullptr, instance, nullptr);
}

void SignalReady(const std::string& name) {
  if (name.empty()) return;
  HANDLE event = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (event == nullptr) return;
  ::SetEvent(event);
  ::CloseHandle(event);
}

// Runs the message loop until a WM_QUIT ends it (or, with `ignore_quit`, until the
// window is closed).
void RunMessageLoop(bool ignore_quit) {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) {
      if (g_closing) return;
      Log("wm_quit\t" + std::to_string(message.wParam) + "\t" + std::to_string(message.lParam));
      if (!ignore_quit) return;
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);

  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  Log(std::string("started\t") + ::GetCommandLineA() + "\t" + current + "\t" + ParentName());

  HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, kMappingName);
  HWND window = CreateMainWindow(::GetModuleHandleA(nullptr));

  const std::string package = OwnFolder() + kPackageName;
  HANDLE held = INVALID_HANDLE_VALUE;
  if (options.hold_package) {
    held = ::CreateFileA(package.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held != INVALID_HANDLE_VALUE)
      Log("holding\t" + package);
    else
      Log("hold-failed\t" + package + "\t" + std::to_string(::GetLastError()));
  }
  Log("ready");
  SignalReady(options.ready_event);

  RunMessageLoop(options.ignore_quit);

  if (held != INVALID_HANDLE_VALUE) {
    if (options.release_delay_ms > 0) ::Sleep(options.release_delay_ms);
    ::CloseHandle(held);
    Log("released\t" + package);
  }
  if (window != nullptr && !g_closing) ::DestroyWindow(window);
  if (mapping != nullptr) ::CloseHandle(mapping);
  Log("exited");
  return 0;
}
