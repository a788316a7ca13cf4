// Speed of the installer's integrity check against a plain read of the same file in
// the same blocks, both from the file cache, in one run.
//   integrity_bench_win [FILE]   (default: the win64 OrvelUpdate.exe of this build)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "install/integrity_check.h"

namespace {

constexpr int kRounds = 30;
constexpr DWORD kBlockSize = 256 * 1024;  // the check's own block size

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Reads the whole file; the byte count, or 0 when it cannot.
unsigned long long PlainRead(const std::string& path, std::vector<char>& block) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  unsigned long long total = 0;
  DWORD read = 0;
  while (::ReadFile(file, block.data(), kBlockSize, &read, nullptr) && read > 0) total += read;
  ::CloseHandle(file);
  return total;
}

std::string DefaultInstaller() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.rfind('\\') + 1) + "..\\OrvelUpdate.exe";
}

struct Figures {
  double best = 1e9;
  double median = 0;
};

template <typename Run>
Figures Measure(Run run) {
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    run();
    ::QueryPerformanceCounter(&end);
    times.push_back(Seconds(start, end));
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : DefaultInstaller();
  std::vector<char> block(kBlockSize);
  const unsigned long long size = PlainRead(path, block);  // also warms the file cache
  if (size == 0) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  const orvel::IntegrityResult result = orvel::CheckFileIntegrity(path);
  const Figures read = Measure([&] { PlainRead(path, block); });
  const Figures check = Measure([&] { orvel::CheckFileIntegrity(path); });

  const double megabytes = static_cast<double>(size) / 1e6;
  std::printf("file: %s (%llu bytes, check result %s)\n", path.c_str(), size,
              result == orvel::IntegrityResult::kIntact ? "intact" : "NOT intact");
  std::printf("%-22s %10s %10s %12s\n", "", "best ms", "median ms", "median MB/s");
  std::printf("%-22s %10.2f %10.2f %12.1f\n", "plain read", read.best * 1e3, read.median * 1e3,
              megabytes / read.median);
  std::printf("%-22s %10.2f %10.2f %12.1f\n", "integrity check", check.best * 1e3, check.median * 1e3,
              megabytes / check.median);
  std::printf("check / read (median): %.1fx\n", check.median / read.median);
  return 0;
}
