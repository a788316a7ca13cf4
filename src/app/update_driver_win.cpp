// The update run (see update_driver.h).
#include "app/update_driver.h"

#include <windows.h>

#include "app/host_link.h"
#include "app/start_rules.h"
#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/file_access_win.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "base/scoped_handle_win.h"
#include "base/text_rules.h"
#include "install/integrity_check.h"
#include "install/package_extract.h"
#include "install/package_header.h"
#include "install/package_lock_win.h"
#include "lang/language_files.h"
#include "lang/text_lookup.h"
#include "sys/held_folder_win.h"
#include "sys/install_locations.h"
#include "sys/path_rules.h"

namespace orvel {

std::string PackageKey;
std::string PackageFileName;
std::int32_t PackageVersion = 0;

namespace {

constexpr char kHostExecutable[] = "orvel.exe";
// The installed package may still be open in a closing Orvel: 17 tries, 256 ms apart.
constexpr int kOpenAttempts = 17;
constexpr DWORD kOpenPause = 256;

// State of the run.
std::string PackageExt;
bool Is3bsPackage = false;
bool QuietMode = false;
std::int32_t InstalledVersion = 0;

// A question in the current language file's language; the answer goes to the log.
bool AskAndLog(const std::string& text, const std::string& caption) {
  const bool yes = AskYesNo(text, caption, static_cast<WORD>(LanguageId & 0xffff));
  LogLine({"question: ", text, " - answer: ", YesNo(yes)});
  return yes;
}

// How a run that came as far as writing ends: a failed write outweighs a registry
// error after it, since the installed package is then unchanged. Only a write that
// failed because the package was still in use is worth retrying later.
ExitCode EndingCode(bool written, bool failed_in_use, bool size_recorded) {
  if (!written) return failed_in_use ? ExitCode::kPackageLocked : ExitCode::kPackageNotWritten;
  return size_recorded ? ExitCode::kPackageWritten : ExitCode::kRegistryError;
}

// Opens the installed package in Orvel's folder with no sharing, retrying while
// another program (usually Orvel, just told to quit) still has it open. A wait that
// ends without the file is logged with the last try's Win32 error; `in_use`: the file
// was still open elsewhere.
ScopedFileHandle OpenInstalledPackage(bool& in_use) {
  ScopedFileHandle file;
  WinResult opened;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    opened = OrvelFolder().OpenEntry(PackageFileName, GENERIC_READ, 0, FILE_OPEN, FILE_NON_DIRECTORY_FILE, file);
    if (opened) return file;
    ::Sleep(kOpenPause);
  }
  in_use = opened.Code() == ERROR_SHARING_VIOLATION || opened.Code() == ERROR_LOCK_VIOLATION;
  LogLine({"installed package not opened in 17 tries (about 4.4 s): Win32 error ", DecimalText(opened.Code())});
  return file;
}

// True when another program still holds the installed package `name` open so that it
// cannot be replaced (it shares no deleting).
bool StillInUse(const std::string& name) {
  ScopedFileHandle file;
  const DWORD code = OrvelFolder()
                         .OpenEntry(name, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                                    FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT, file)
                         .Code();
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

std::int32_t ReadInstalledVersion(const ScopedFileHandle& file) {
  char header[PackageHeader::k3bsSize] = {};
  DWORD read = 0;
  if (!::ReadFile(file.Get(), header, sizeof header, &read, nullptr)) read = 0;
  return InstalledPackageVersion(std::string_view(header, read), Is3bsPackage);
}

// The folder of the last run of Orvel, which wins over the uninstall entry. It is a
// per-user value, so only a full path counts: an empty or relative one would make the
// installer look for Orvel in whatever folder it was started from. Fails on a
// registry error.
WinResult ReadLastRunFolder() {
  ProgramState& state = Program();
  RegistryAccess& registry = *state.SharedRegistry;
  OpenUserKey();
  WinResult result;
  if (registry.ValueExists("TheLastRunFolder")) {
    std::string folder;
    result = registry.ReadString("TheLastRunFolder", folder);
    LogLostCharacters("TheLastRunFolder", folder);
    if (result && IsFullFolderPath(folder)) {
      state.HostFolder = folder;
      EnsureTrailingBackslash(state.HostFolder);
      LogLine({"Orvel's folder from TheLastRunFolder: ", state.HostFolder});
    }
  }
  registry.CloseKey();
  return result;
}

// Records the installation's size in Orvel's uninstall entry: the entry in the 32-bit
// view when that is where Orvel was found, else the native one (created if missing).
// Fails on a registry error, and when the held folder cannot be measured: a size
// not recorded ends the run as a registry error does.
WinResult RecordInstallationSize() {
  ProgramState& state = Program();
  RegistryAccess& registry = *state.SharedRegistry;
  const std::string& wow64_key = Locations().Wow64UninstallKeyPath;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  WinResult result = registry.OpenKey(wow64_key.empty() ? state.UninstallKeyPath + state.HostAppName : wow64_key,
                                      KeyOpening::kCreateIfMissing);
  std::int32_t size = 0;
  if (const WinResult measured = FolderSizeKiB(OrvelFolder(), size); !measured) {
    LogLine({"Orvel's folder not measured: Win32 error ", DecimalText(measured.Code())});
    result = measured;
  } else if (result) {
    result = registry.WriteInteger("EstimatedSize", static_cast<std::uint32_t>(size));
  }
  LogLine({"EstimatedSize ", DecimalText(size), result ? " KiB written" : " KiB not written"});
  registry.CloseKey();
  return result;
}

// The end of an update. A quiet run starts Orvel when its caller asked for it
// ("runapp"), also after a failed write: the installed package is then unchanged and
// intact, and Orvel was closed only for the update. An interactive run offers to
// start Orvel in either case, announcing the installation only when the package was
// written (a failed write has shown its own message).
void OfferToStartOrvel(bool written) {
  if (QuietMode) {
    std::string other;
    const bool run_app = RunAppAsked(Program().CommandLine, other);
    if (other.empty()) {
      LogLine({"quiet run, \"runapp\" given: ", YesNo(run_app)});
    } else {
      LogLine({"the second word '", other, "' is not 'runapp': Orvel will not be started"});
    }
    if (run_app) StartHostApp();
    return;
  }
  const std::string caption = LangText("liveupdatecaption");
  std::string question = LangText("asktorun");
  if (written)
    question = LangTextArgs("installdone", {caption + " (" + LangText(PackageKey) + " " + Program().VersionText + ")"}) +
               "\r\n\r\n" + question;
  if (AskAndLog(question, caption)) StartHostApp();
}

}  // namespace

ExitCode RunUpdate(LocationFinder find_locations) {
  ProgramState& state = Program();

  const std::size_t dot = PackageFileName.rfind('.');
  PackageExt = dot == std::string::npos ? std::string() : PackageFileName.substr(dot);
  Is3bsPackage = Is3bsExtension(PackageExt);

  state.VersionText = DecimalText(PackageVersion);
  state.HostAppName = "Orvel";
  state.UpdateTitle = std::string(kUpdateTitleRu);
  state.UpdateTitleEn = "Orvel update";
  // A command line that was not understood, or a log that was asked for and that no
  // one can be told is missing, ends the run before anything is read or changed.
  const bool understood = state.NotUnderstood.empty();
  if (understood && state.UsageAsked) {
    ShowFallbackError(kUsageEn, kUsageRu);
    return ExitCode::kPackageWritten;  // 0: nothing was asked but the usage
  }
  if (!OpenRequestedLog()) return ExitCode::kCommandLineError;
  if (!understood) {
    LogLine({"command line not understood at '", state.NotUnderstood, "': nothing done"});
    ShowFallbackError(kUsageEn, kUsageRu);
    return ExitCode::kCommandLineError;
  }

  if (!find_locations()) return ExitCode::kRegistryError;
  if (const WinResult read = ReadLastRunFolder(); !read) {
    ShowRegistryError(read);
    return ExitCode::kRegistryError;
  }

  // Orvel's folder is held from here on: whatever happens to its path, the run acts on
  // the folder it checked.
  HeldFolder& folder = OrvelFolder();
  if (!folder.Open(state.HostFolder) || !folder.HasFile(kHostExecutable)) {
    ShowFallbackError(kHostMissingEn, kHostMissingRu);
    return ExitCode::kHostNotInstalled;
  }
  LogLine({"Orvel's folder, held open for the run: ", folder.FinalPath()});
  if (!LoadLanguageFiles()) return ExitCode::kNoLanguageFiles;
  LogLine({"user locale ", DecimalText(state.UserLcid), ", language file ", LangFileNames[CurrentLangIndex]});
  if (!state.UserIsAdmin) {
    ShowError(LangTextBlock("noright"));
    return ExitCode::kNoAdminRights;
  }
  // A copy that will not install must not close the user's Orvel (and its unsaved
  // work) for nothing: check the installer before asking Orvel to quit.
  if (!CheckInstallerIntegrity()) return ExitCode::kInstallerDamaged;

  QuietMode = state.QuietRun;
  const std::string package_entry = PackageFileName;
  const std::string package_path = state.HostFolder + package_entry;
  // Orvel is closed, the version read, the questions asked, the package written and
  // the size recorded by one copy at a time: each copy sees the package as the one
  // before it left it, and a copy that waits in vain has not touched Orvel.
  ScopedFileHandle lock;
  if (const WinResult locked = LockFolder(folder, lock); !locked) {
    const bool held = locked.Code() == ERROR_TIMEOUT;
    if (!held) LogLine({"Orvel's folder not locked for the write: Win32 error ", DecimalText(locked.Code())});
    ShowError(LangTextBlockArgs("filecantopen", {package_path}));
    return held ? ExitCode::kPackageLocked : ExitCode::kPackageNotWritten;
  }
  static constexpr const char* kOrvelFound[] = {"Orvel not running", "Orvel running, no window to ask to quit",
                                                 "Orvel running, asked to quit"};
  const bool running = IsHostAppRunning();
  const bool asked_to_quit = running && AskHostAppToQuit();
  LogLine({kOrvelFound[running + asked_to_quit]});

  bool package_in_use = false;
  if (folder.HasFile(PackageFileName)) {
    ScopedFileHandle installed = OpenInstalledPackage(package_in_use);
    if (!QuietMode && !installed) {
      ShowError(LangTextBlockArgs("filecantopen", {package_path}));
      return ExitCode::kPackageLocked;
    }
    // A quiet run asks nothing and replaces whatever is installed, but its log names
    // both versions. A file still locked makes the write below fail with its own message.
    if (installed) {
      InstalledVersion = ReadInstalledVersion(installed);
      LogLine({"installed package version ", DecimalText(InstalledVersion), ", embedded ", state.VersionText});
      installed.Reset();
    }
    if (!QuietMode && PackageVersion < InstalledVersion &&
        !AskAndLog(LangTextBlockArgs("olderfilever", {PackageFileName}), LangText("soundquest")))
      return ExitCode::kUserDeclined;
  }

  if (!QuietMode) {
    const std::string package_name = LangText(PackageKey) + " " + state.VersionText;
    if (!AskAndLog(LangTextBlockArgs("installask", {LangText("liveupdatecaption"), package_name}),
                  LangText("soundquest")))
      return ExitCode::kUserDeclined;
  }

  // From here on the file name is split into the resource's name and type.
  if (!PackageExt.empty()) {
    PackageFileName.erase(PackageFileName.find(PackageExt));
    PackageExt.erase(0, 1);
  }
  // The run has compared versions and asked already: the extraction's own comparing
  // mode stays off.
  const bool written = InstallPackageFile(PackageFileName, PackageExt,
                                          state.HostFolder + PackageFileName + "." + PackageExt, folder);
  LogLine({"package written: ", YesNo(written)});
  if (written && PackageVersion < InstalledVersion) LogLine({"an older package replaced a newer one"});
  // A quiet run writes a package that stayed in use through the wait all the same: a
  // write that then fails for that reason, not another, is worth retrying later.
  const bool failed_in_use = !written && package_in_use && StillInUse(package_entry);

  // A registry error here does not undo the write: report it and still finish, so
  // that Orvel is offered or started as after any update.
  const WinResult size_recorded = RecordInstallationSize();
  if (!size_recorded) ShowRegistryError(size_recorded);
  lock.Reset();  // the next copy need not wait for the last question

  OfferToStartOrvel(written);
  return EndingCode(written, failed_in_use, size_recorded.Succeeded());
}

}  // namespace orvel
