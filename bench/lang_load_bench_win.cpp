// Wall time of LoadLanguageFiles over 40 language files of 300 KB each, twice: with
// the keys the probe reads at the end of every file, so each of its lookups scans a
// whole file (the slow case of a probe that caches nothing), and with them at the
// start, which leaves the cost of opening the files and reading a first block.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/program_state.h"
#include "lang/language_files.h"

namespace {

constexpr int kFiles = 40;
constexpr std::size_t kFileSize = 300 * 1024;
constexpr int kRounds = 7;

std::string MakeFile(int index, bool keys_first) {
  const std::string code = std::to_string(1024 + index);
  const std::string keys = "[progname]\r\nOrvel\r\n[ProgDescr0]\r\nOrvel\r\n[langcharset]\r\n0\r\n[langname]\r\nLanguage " +
                           code + "\r\n[langver]\r\n12\r\n[langcode]\r\n" + code + "\r\n\r\n";
  std::string file = keys_first ? keys : std::string();
  unsigned n = 0;
  while (file.size() < kFileSize) {
    const std::string number = std::to_string(n++);
    file += "[text" + number + "]\r\nA message of ordinary length, number " + number + ".\r\n";
  }
  if (!keys_first) file += keys;
  return file;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Timing {
  bool ok = false;
  double best = 0;
  double median = 0;
};

Timing TimeLoad(const std::string& folder, bool keys_first) {
  std::vector<std::string> paths;
  for (int i = 0; i < kFiles; ++i) {
    paths.push_back(folder + (i == 0 ? std::string("english.lng") : "language" + std::to_string(i) + ".lng"));
    if (!WriteFileBytes(paths.back(), MakeFile(i, keys_first))) return {};
  }
  std::vector<double> times;
  bool loaded = true;
  for (int round = 0; round < kRounds && loaded; ++round) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    loaded = orvel::LoadLanguageFiles();
    ::QueryPerformanceCounter(&end);
    times.push_back(Seconds(start, end));
  }
  Timing timing;
  timing.ok = loaded && orvel::LangFileNames[orvel::CurrentLangIndex] == "language39.lng";
  orvel::DoneLanguageFiles();
  for (const std::string& path : paths) ::DeleteFileA(path.c_str());
  std::sort(times.begin(), times.end());
  timing.best = times.front();
  timing.median = times[times.size() / 2];
  return timing;
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string host = std::string(temp) + "orvel-lang-bench-" + std::to_string(::GetCurrentProcessId()) + "\\";
  const std::string folder = host + "language\\";
  ::CreateDirectoryA(host.c_str(), nullptr);
  ::CreateDirectoryA(folder.c_str(), nullptr);

  orvel::ProgramState& state = orvel::Program();
  state.HostFolder = host;
  state.HostAppName = "OrvelLangBench";
  state.UserLcid = 1024 + kFiles - 1;
  state.SharedRegistry = std::make_unique<orvel::RegistryAccess>(KEY_ALL_ACCESS | KEY_WOW64_64KEY);

  const Timing at_end = TimeLoad(folder, false);
  const Timing at_start = TimeLoad(folder, true);

  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Veltro\\OrvelLangBench");
  orvel::DoneProgramState();
  ::RemoveDirectoryA(folder.c_str());
  ::RemoveDirectoryA(host.c_str());

  if (!at_end.ok || !at_start.ok) {
    std::printf("LoadLanguageFiles failed\n");
    return 1;
  }
  const double megabytes = kFiles * static_cast<double>(kFileSize) / (1024.0 * 1024.0);
  std::printf("LoadLanguageFiles over %d files of %zu KB, best and median of %d rounds\n", kFiles, kFileSize / 1024,
              kRounds);
  // The probe makes seven lookups per file (four header keys, "langname", "langver",
  // the "langcode" block); the choice reads the chosen file's header keys once more.
  std::printf("keys at the end:   best %6.1f ms, median %6.1f ms (%.0f MB scanned, %.0f MB/s)\n", at_end.best * 1000,
              at_end.median * 1000, 7 * megabytes, 7 * megabytes / at_end.best);
  std::printf("keys at the start: best %6.1f ms, median %6.1f ms\n", at_start.best * 1000, at_start.median * 1000);
  return 0;
}
