// Runs one program and reports what it cost: its wall time and its peak memory. Made
// for Wine processes, whose loader stays the same Linux process as the Windows
// program it runs, so the figures are the Windows program's.
//
//   process_meter PROGRAM [ARGS...]
//
// Prints one line: "ms=<wall time> cpu_ms=<processor time> anon_kib=<peak RssAnon>
// hwm_kib=<VmHWM> exit=<exit code>". RssAnon (the process's own anonymous memory,
// without mapped files) is sampled from /proc while the program runs; VmHWM (peak
// resident memory, mapped DLLs included) and the processor time (user and system)
// are the kernel's own figures for the ended process. Processor time tells the
// program's own work from waiting on a busy machine. The program's output goes where
// the meter's goes.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr auto kSampleInterval = std::chrono::microseconds(500);

// RssAnon of a running process in KiB; 0 when it cannot be read.
long RssAnonKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("RssAnon:", 0) == 0) return std::strtol(line.c_str() + 8, nullptr, 10);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: process_meter PROGRAM [ARGS...]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }

  long peak_anon = 0;
  int status = 0;
  rusage usage = {};
  for (;;) {
    const long anon = RssAnonKib(child);
    if (anon > peak_anon) peak_anon = anon;
    const pid_t ended = wait4(child, &status, WNOHANG, &usage);
    if (ended == child) break;
    if (ended < 0) {
      std::perror("wait4");
      return 2;
    }
    const timespec pause = {0, std::chrono::nanoseconds(kSampleInterval).count()};
    nanosleep(&pause, nullptr);
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  const double cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                        (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  std::printf("ms=%.1f cpu_ms=%.1f anon_kib=%ld hwm_kib=%ld exit=%d\n", ms, cpu_ms, peak_anon, usage.ru_maxrss, code);
  return 0;
}
