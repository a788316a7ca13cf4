// The stand-in Orvel as a process: started by a test as a running Orvel, or by the
// installer at the end of an update; its log (see testtools/standin_host); finding
// and stopping the stand-ins of an installation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvel::e2e {

// One line of the stand-in's log, split at its tabs: {"started", command line,
// current directory}, {"wm_quit", wParam, lParam}, {"ready"}, ...
using LogEvent = std::vector<std::string>;

std::vector<LogEvent> ReadHostLog(const std::string& log_path);
std::vector<LogEvent> EventsNamed(const std::vector<LogEvent>& log, const std::string& name);
// Waits until the log holds at least `count` events named `name`; false on time-out.
bool WaitForHostEvent(const std::string& log_path, const std::string& name, std::size_t count, DWORD timeout_ms);

// Process ids of the stand-ins running from `host_path` (their orvel.exe).
std::vector<DWORD> HostProcesses(const std::string& host_path);
// Ends those processes: WM_CLOSE to their window first, then TerminateProcess.
void StopHostProcesses(const std::string& host_path);

// A stand-in started by the test with its options ("--hold-package", ...), running
// until it quits or the object goes. The log goes where ORVEL_STANDIN_LOG says.
class RunningHost {
 public:
  RunningHost(const std::string& host_path, const std::vector<std::string>& options);
  ~RunningHost();
  RunningHost(const RunningHost&) = delete;
  RunningHost& operator=(const RunningHost&) = delete;

  // It has set up its mapping, window and (if asked) the held package.
  bool Ready() const { return ready_; }
  bool WaitForExit(DWORD timeout_ms) const;

 private:
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
  bool ready_ = false;
};

}  // namespace orvel::e2e
