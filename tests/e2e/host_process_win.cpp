// The stand-in Orvel as a process (see host_process.h).
#include "host_process.h"

#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "scratch.h"

namespace orvel::e2e {

namespace {

constexpr DWORD kReadyTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 5000;

bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

struct WindowsOf {
  DWORD process_id;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* of = reinterpret_cast<WindowsOf*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == of->process_id) of->windows.push_back(window);
  return TRUE;
}

// Asks the process to close through its windows, again and again (it may not have
// made its window yet), and ends it by force when it does not.
void CloseProcess(HANDLE process, DWORD process_id) {
  const DWORD start = ::GetTickCount();
  do {
    WindowsOf of{process_id, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&of));
    for (HWND window : of.windows) ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 100) == WAIT_OBJECT_0) return;
  } while (::GetTickCount() - start < kCloseTimeoutMs);
  ::TerminateProcess(process, 1);
  ::WaitForSingleObject(process, kCloseTimeoutMs);
}

}  // namespace

std::vector<LogEvent> ReadHostLog(const std::string& log_path) {
  std::vector<LogEvent> events;
  const std::string text = test::ReadBytes(log_path);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) break;  // a line being written
    events.push_back(SplitAtTabs(text.substr(start, end - start)));
    start = end + 2;
  }
  return events;
}

std::vector<LogEvent> EventsNamed(const std::vector<LogEvent>& log, const std::string& name) {
  std::vector<LogEvent> found;
  for (const LogEvent& event : log)
    if (!event.empty() && event[0] == name) found.push_back(event);
  return found;
}

bool WaitForHostEvent(const std::string& log_path, const std::string& name, std::size_t count, DWORD timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (EventsNamed(ReadHostLog(log_path), name).size() >= count) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::vector<DWORD> HostProcesses(const std::string& host_path) {
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (process == nullptr) continue;
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    DWORD exit_code = 0;
    if (::QueryFullProcessImageNameA(process, 0, image, &size) && SamePath(image, host_path) &&
        ::GetExitCodeProcess(process, &exit_code) && exit_code == STILL_ACTIVE)
      found.push_back(entry.th32ProcessID);
    ::CloseHandle(process);
  }
  ::CloseHandle(snapshot);
  return found;
}

void StopHostProcesses(const std::string& host_path) {
  for (DWORD id : HostProcesses(host_path)) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (process == nullptr) continue;
    CloseProcess(process, id);
    ::CloseHandle(process);
  }
}

RunningHost::RunningHost(const std::string& host_path, const std::vector<std::string>& options) {
  static std::atomic<int> counter{0};
  const std::string event_name =
      "orvel-e2e-host-ready-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, event_name.c_str());
  std::string command_line = "\"" + host_path + "\"";
  for (const std::string& option : options) command_line += " " + option;
  command_line += " --ready-event " + event_name;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  started_ = ::CreateProcessA(host_path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_) != FALSE;
  if (started_) {
    const HANDLE waits[] = {ready, process_.hProcess};
    ready_ = ::WaitForMultipleObjects(2, waits, FALSE, kReadyTimeoutMs) == WAIT_OBJECT_0;
  }
  if (ready != nullptr) ::CloseHandle(ready);
}

RunningHost::~RunningHost() {
  if (!started_) return;
  if (::WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) CloseProcess(process_.hProcess, process_.dwProcessId);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

bool RunningHost::WaitForExit(DWORD timeout_ms) const {
  return started_ && ::WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

}  // namespace orvel::e2e
