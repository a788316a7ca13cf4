// A power cut or a crash at any moment of a quiet update: the installer's process is
// killed after a random delay spread over a whole run, again and again. After every
// kill the installed package is byte for byte the old one or the new one, and a
// later normal run writes it and leaves nothing else behind.
//
// How the kill is done. What a crash or a power cut does to the files is that the
// process stops between two system calls, without running another instruction of
// its own. Under Wine that is SIGKILL of the installer's Unix process. Windows'
// TerminateProcess is not the same here: Wine ends the threads with a signal that its
// own code in the process handles, an orderly end of Wine's choosing. So the test
// sends SIGKILL: it finds the Unix process through Z:\proc (its command
// line holds the Windows command line, with the path of a copy of the installer in
// a folder whose name no other process has) and runs the Unix program kill, which
// Wine starts like any other program.
//
// The delays come from a seed that is printed; ORVEL_KILL_SEED=<seed> runs the same
// delays again.
#include "update_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>

#include "scratch.h"

namespace orvel::e2e {
namespace {

constexpr int kTrials = 32;
constexpr DWORD kEndTimeoutMs = 30000;

// The whole text of a file of /proc (which tells no size in advance).
std::string ReadProcFile(const std::string& path) {
  std::string text;
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got != 0) text.append(buffer, got);
  ::CloseHandle(file);
  return text;
}

// The Unix processes whose command line holds `marker`.
std::vector<std::string> UnixProcessesWith(const std::string& marker) {
  std::vector<std::string> pids;
  WIN32_FIND_DATAA entry;
  HANDLE listing = ::FindFirstFileA("Z:\\proc\\*", &entry);
  if (listing == INVALID_HANDLE_VALUE) return pids;
  do {
    const std::string name = entry.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    if (ReadProcFile("Z:\\proc\\" + name + "\\cmdline").find(marker) != std::string::npos) pids.push_back(name);
  } while (::FindNextFileA(listing, &entry));
  ::FindClose(listing);
  return pids;
}

void SigKill(const std::string& unix_pid) {
  std::string command = "kill -KILL " + unix_pid;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Wine starts a Unix program without giving back a handle: the caller waits for
  // the killed process instead.
  ASSERT_TRUE(::CreateProcessA("Z:\\bin\\kill", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
}

struct KilledRun {
  bool started = false;
  bool killed = false;  // still running when the kill was sent
  double seconds = 0;   // from its start to its end
};

// Runs `installer` quietly and kills it `delay` after its start (a delay past its end
// kills nothing).
KilledRun RunAndKill(const std::string& installer, const std::string& folder, std::chrono::milliseconds delay) {
  KilledRun run;
  std::string command_line = "\"" + installer + "\" modest \"/log=" + installer + ".log\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(installer.c_str(), command_line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.c_str(), &startup, &process))
    return run;
  // Wine has made the Unix process when CreateProcess returns; give it a moment all
  // the same before calling it missing.
  std::vector<std::string> pids = UnixProcessesWith(installer);
  for (int retry = 0; retry < 50 && pids.empty(); ++retry) {
    ::Sleep(20);
    pids = UnixProcessesWith(installer);
  }
  EXPECT_EQ(pids.size(), 1u) << "Unix processes of " << installer;
  run.started = pids.size() == 1;
  const auto start = std::chrono::steady_clock::now();
  ::ResumeThread(process.hThread);
  if (run.started) {
    run.killed = ::WaitForSingleObject(process.hProcess, static_cast<DWORD>(delay.count())) == WAIT_TIMEOUT;
    if (run.killed) SigKill(pids.front());
  }
  if (::WaitForSingleObject(process.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the installer did not end";
    ::TerminateProcess(process.hProcess, 255);
    ::WaitForSingleObject(process.hProcess, INFINITE);
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return run;
}

TEST_F(UpdateTest, KilledAtAnyMomentLeavesTheOldOrTheNewPackage) {
  const std::uint64_t seed = SeriesSeed("ORVEL_KILL_SEED");
  std::printf("kill series seed %llu (ORVEL_KILL_SEED=%llu repeats its delays)\n",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
  std::mt19937_64 random(seed);
  const std::string token = std::to_string(std::random_device()());
  const std::string copy_folder = Scratch() + "kill-" + token + "\\";
  const std::string installer = copy_folder + "OrvelUpdate.exe";
  ASSERT_TRUE(::CreateDirectoryA(copy_folder.c_str(), nullptr));
  ASSERT_TRUE(::CopyFileA(InstallerPath().c_str(), installer.c_str(), FALSE));
  const std::string old_package = Orvel().PackageBytes();
  const std::vector<std::string> entries = FolderEntries(Orvel().Folder());

  // One run that is not killed tells how long a whole run takes here.
  const KilledRun whole = RunAndKill(installer, Outside(), std::chrono::minutes(1));
  ASSERT_TRUE(whole.started && !whole.killed);
  ASSERT_TRUE(HoldsEmbeddedPackage(Orvel()));

  // Half the kills fall anywhere in a run. Writing and replacing the package take a
  // few milliseconds of it, and when they come varies from run to run, so the other
  // half home in on them: a kill that found the old package and no new staging file
  // came too early, one that found the new package too late, and the next delay moves
  // the other way by a step that shrinks.
  const int whole_ms = static_cast<int>(whole.seconds * 1000);
  int latest_early = 0, earliest_late = whole_ms;
  double aim = 0, step = 0;
  int killed_old = 0, killed_new = 0, killed_writing = 0, finished = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    const bool homing = trial >= kTrials / 2;
    if (trial == kTrials / 2) {
      aim = (latest_early + earliest_late) / 2.0;
      step = std::max(std::abs(earliest_late - latest_early) / 2.0, 10.0);
    }
    const int delay = homing ? std::max(0, static_cast<int>(std::uniform_real_distribution<double>(
                                              aim - step, aim + step)(random)))
                             : std::uniform_int_distribution<int>(0, whole_ms)(random);
    Orvel().WritePackage(old_package);
    // A staging file of an earlier kill stays for the next run to clear away.
    const bool had_staging = Orvel().HasStagingFile();
    const std::string staging_before = test::ReadBytes(Orvel().StagingPath());

    const KilledRun run = RunAndKill(installer, Outside(), std::chrono::milliseconds(delay));
    ASSERT_TRUE(run.started) << "trial " << trial;
    const std::string package = Orvel().PackageBytes();
    const bool is_new = package == EmbeddedPackage();
    ASSERT_TRUE(is_new || package == old_package)
        << "trial " << trial << ", killed after " << delay << " ms: the package is " << package.size()
        << " bytes, neither the old nor the new one";
    const bool while_writing = !is_new && Orvel().HasStagingFile() &&
                               (!had_staging || test::ReadBytes(Orvel().StagingPath()) != staging_before);
    if (!run.killed) {
      ++finished;
      EXPECT_TRUE(is_new) << "trial " << trial << " ended by itself without writing the package";
    } else {
      ++(is_new ? killed_new : killed_old);
      killed_writing += while_writing;
    }

    if (is_new) {
      earliest_late = std::min(earliest_late, delay);
      aim -= step;
    } else if (!while_writing) {
      latest_early = std::max(latest_early, delay);
      aim += step;
    }
    step = std::max(step * 0.8, 2.0);
  }
  std::printf("whole run %d ms, last aim %.0f ms; %d trials: %d killed with the old package (%d of them while "
              "writing the new one), %d killed with the new one, %d ended before the kill\n",
              whole_ms, aim, kTrials, killed_old, killed_writing, killed_new, finished);

  Orvel().WritePackage(old_package);
  const InstallerRun run = Run({"modest"});
  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(FolderEntries(Orvel().Folder()), entries);
  // The system let go of every killed run's lock: no run waited for one.
  EXPECT_EQ(test::ReadBytes(installer + ".log").find("waiting for it"), std::string::npos);
}

}  // namespace
}  // namespace orvel::e2e
