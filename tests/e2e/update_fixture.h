// The fixture of the end-to-end tests: every test gets its own Orvel installation in
// a scratch folder, registered in the native uninstall entry, and a log for the
// stand-in Orvel outside it. Afterwards every stand-in is stopped and the registry
// entries and folders are removed.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "expected_texts.h"
#include "host_process.h"
#include "installation.h"
#include "installer_run.h"
#include "orvel_registry.h"
#include "scratch.h"

namespace orvel::e2e {

// The boxes of the update run, with the texts the current language gives them.
// The package's name in the current language and `version`, as the questions show it.
std::string PackageDisplayName(int version);
Box OlderPackageQuestion();  // the installed package is newer than the embedded one
// The install question for the package of `version`: the embedded one's unless a
// test runs an installer built for another.
Box InstallQuestion(int version = kEmbeddedVersion);
Box DoneQuestion();          // installed; start Orvel?
Box LanguageError(const std::string& text);  // a language-text error (caption "progname")

// The installed package is the embedded one, byte for byte, and nothing is left
// under the staging name.
::testing::AssertionResult HoldsEmbeddedPackage(const TestInstallation& installation);
// The installed package still holds `bytes`, and there is no staging file.
::testing::AssertionResult StillHolds(const TestInstallation& installation, const std::string& bytes);

using test::FolderEntries;
// The seed of a random series: the environment's `variable`, to repeat a series, else
// a new one.
std::uint64_t SeriesSeed(const char* variable);

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Orvel's installation, registered in the native uninstall entry.
  const TestInstallation& Orvel() const { return *orvel_; }
  // Another installation, `name` below the scratch folder (or a full path ending
  // in "\"), cleaned up with the test.
  const TestInstallation& AddInstallation(const std::string& name);

  InstallerRun Run(const std::vector<std::string>& args, const std::vector<int>& answers = {},
                   BeforeAnswer before_answer = {});
  // The same with another copy of the installer.
  InstallerRun RunCopy(const std::string& installer, const std::vector<std::string>& args,
                       const std::vector<int>& answers = {});

  void SetUninstallString(const char* key, const std::string& value);
  void SetLastRunFolder(const std::string& folder);
  std::optional<DWORD> EstimatedSize(const char* key) const;

  // A stand-in Orvel running from the installation, with options.
  std::unique_ptr<RunningHost> StartHost(const std::vector<std::string>& options);
  std::vector<LogEvent> HostLog() const { return ReadHostLog(log_path_); }
  // The "started" lines of stand-ins that the installer started (not the test).
  std::vector<LogEvent> StartsByInstaller() const;
  // Waits (a few seconds at most) for the installer's start of Orvel to show.
  bool WaitForStartByInstaller() const;
  // True when no stand-in was started by the installer: none in the log and none
  // running (the shell starts it before the installer's call returns).
  bool NoStartByInstaller() const;

  const std::string& Scratch() const { return scratch_; }
  const std::string& Outside() const { return outside_; }

 private:
  std::string scratch_;   // ends in "\"
  std::string outside_;   // the installer's current folder; holds the host log
  std::string log_path_;
  std::unique_ptr<TestInstallation> orvel_;
  std::vector<std::unique_ptr<TestInstallation>> others_;
};

}  // namespace orvel::e2e
