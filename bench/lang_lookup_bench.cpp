// Speed of one text lookup over a large language file: a key at the very end of a
// 10 MB file, so that the lookup scans every line, against a plain memchr pass over
// the same bytes (the floor any line-by-line scan can reach). Build it without
// sanitizers and with optimisation for meaningful figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lang/language_file_format.h"

namespace {

constexpr std::size_t kFileSize = 10u * 1024 * 1024;
constexpr int kRounds = 40;

// Key/value pairs like those of a real language file, with a few blocks.
std::string MakeFile() {
  std::string file = "Orvel language file used to measure lookups.\r\n\r\n";
  unsigned n = 0;
  while (file.size() < kFileSize) {
    const std::string number = std::to_string(n++);
    file += "[text" + number + "]\r\nA message of ordinary length, number " + number + ", with %1 in it.\r\n";
    if (n % 10 == 0) file += "A second line of a block text.\r\nAnd a third one.\r\n\r\n";
  }
  file += "[target]\r\nfound at the end\r\n";
  return file;
}

template <typename Work>
double BestSeconds(Work work) {
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main() {
  const std::string file = MakeFile();
  const double megabytes = static_cast<double>(file.size()) / (1024.0 * 1024.0);

  std::string found;
  const double lookup = BestSeconds([&] {
    orvel::MemoryByteSource source(file);
    found = orvel::LookupLine(source, "target").text;
  });
  if (found != "found at the end") {
    std::printf("lookup failed: \"%s\"\n", found.c_str());
    return 1;
  }

  std::size_t lines = 0;
  const double memchr_lines = BestSeconds([&] {
    lines = 0;
    const char* at = file.data();
    const char* end = at + file.size();
    while (const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
      ++lines;
      at = static_cast<const char*>(lf) + 1;
    }
  });

  const void* volatile absent = nullptr;
  const double memchr_once = BestSeconds([&] { absent = std::memchr(file.data(), 26, file.size()); });

  std::printf("language file: %.1f MB, %zu lines (best of %d rounds)\n", megabytes, lines, kRounds);
  std::printf("lookup of the last key:         %8.1f MB/s\n", megabytes / lookup);
  std::printf("memchr pass, line by line:      %8.1f MB/s\n", megabytes / memchr_lines);
  std::printf("memchr pass, one call:          %8.1f MB/s\n", megabytes / memchr_once);
  std::printf("lookup / memchr line by line:   %8.2f\n", memchr_lines / lookup);
  std::printf("lookup / memchr one call:       %8.2f\n", memchr_once / lookup);
  return 0;
}
