// The comparing mode of the package writer (see package_extract.h): an installed file
// that is newer than the new one is replaced only when the user agrees. The update
// itself writes in the direct mode, so this unit, with the progress window and the
// version readers it needs, is not part of the installer.
#include <windows.h>

#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/file_access_win.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"
#include "install/package_extract.h"
#include "install/package_staging_win.h"
#include "install/staging_name.h"
#include "install/version_compare.h"
#include "install/version_question.h"
#include "install/version_readers.h"
#include "lang/language_files.h"
#include "lang/text_lookup.h"
#include "sys/held_folder_win.h"
#include "ui/progress_window.h"

namespace orvel {

namespace {

// The end of the comparing mode, which reads the staging file `name` by its name and
// so needs it closed: it is opened again through the folder, as an entry (a link is
// not followed), and must still be the file this run wrote (`own`: the same file on
// the same volume), not whatever took its name meanwhile. Then it is moved over the
// target or, when `replace` is false, deleted.
WinResult FinishStaging(const HeldFolder& folder, const std::string& name, const BY_HANDLE_FILE_INFORMATION& own,
                        const std::string& target, bool replace) {
  ScopedFileHandle file;
  const WinResult opened =
      folder.OpenEntry(name, DELETE | FILE_READ_ATTRIBUTES, 0, FILE_OPEN, FILE_NON_DIRECTORY_FILE, file);
  if (!opened) return opened;
  BY_HANDLE_FILE_INFORMATION now;
  if (!::GetFileInformationByHandle(file.Get(), &now) || now.dwVolumeSerialNumber != own.dwVolumeSerialNumber ||
      now.nFileIndexLow != own.nFileIndexLow || now.nFileIndexHigh != own.nFileIndexHigh)
    return WinResult::Failure(ERROR_FILE_NOT_FOUND);
  if (replace) return MoveOverTarget(folder, file.Get(), target);
  DeleteThroughHandle(file.Get());
  return opened;
}

bool IsComparedKind(const std::string& kind) {
  return kind == "pak" || kind == "3bs" || kind == "lng" || kind == "cok" || kind == "exe";
}

// What the comparison of the new (staging) file with the installed one found.
struct VersionComparison {
  bool older = false;  // the installed file is newer than the new one
  std::string new_version;
  std::string installed_version;
};

VersionComparison CompareNumbers(std::int32_t (*read)(const std::string&), const std::string& staging,
                                 const std::string& target) {
  // The new file is read first, so a language file's message about it comes first.
  const std::int32_t fresh = read(staging);
  const std::int32_t installed = read(target);
  return {installed > fresh, DecimalText(fresh), DecimalText(installed)};
}

VersionComparison CompareVersions(const std::string& kind, const std::string& staging,
                                  const std::string& target) {
  if (kind == "exe") {
    VersionComparison result;
    result.new_version = ReadExeFileVersion(staging);
    result.installed_version = ReadExeFileVersion(target);
    // An installed file without a version is replaced without asking.
    if (!result.installed_version.empty() && result.installed_version != result.new_version)
      result.older = IsOlderVersion(result.new_version, result.installed_version);
    return result;
  }
  if (kind == "pak") return CompareNumbers(ReadPakVersion, staging, target);
  if (kind == "3bs") return CompareNumbers(Read3bsVersion, staging, target);
  if (kind == "cok") return CompareNumbers(ReadCokVersion, staging, target);
  // A language file whose path holds "!" (one the language-file search passes over)
  // is replaced without comparing.
  if (target.find('!') != std::string::npos) return {};
  return CompareNumbers(ReadLngVersion, staging, target);
}

// Asks whether the older new file may replace the newer installed one. In a language
// file's words once one is in use, else in the built-in English or Russian.
bool UserAllowsOlderFile(const std::string& target, const VersionComparison& versions) {
  if (CurrentLangIndex >= 0) {
    // The language text names only the file; its own words carry no version numbers.
    return AskYesNo(LangTextBlockArgs("olderfilever", {target}), LangText("soundquest"),
                    static_cast<WORD>(LanguageId & 0xffff));
  }
  if (Program().RussianUi) {
    return AskYesNo(OlderVersionQuestionRu(target, versions.installed_version, versions.new_version),
                    std::string(kOlderQuestionCaptionRu), LANG_RUSSIAN);
  }
  return AskYesNo(OlderVersionQuestionEn(target, versions.installed_version, versions.new_version),
                  std::string(kOlderQuestionCaptionEn), 0);
}

// The comparing mode for an installed file of a compared kind: `target` is the
// entry in `folder`, `target_path` its path for the readers and the messages.
bool ReplaceUnlessNewerInstalled(const HeldFolder& folder, const std::string& kind, const std::string& target_path,
                                 const std::string& target, const ResourceBytes& bytes) {
  ScopedFileHandle file;
  std::string name;
  const std::string folder_path = target_path.substr(0, target_path.size() - target.size());
  BY_HANDLE_FILE_INFORMATION own;
  WinResult written = CreateStagingFile(folder, StagingFileName(target), file, name);
  if (written) written = WriteAll(file.Get(), bytes);
  if (written && !::GetFileInformationByHandle(file.Get(), &own)) written = WinResult::LastError();
  if (!written) {
    if (file) DeleteThroughHandle(file.Get());
    return ReportInstallFailure(target_path, written);
  }
  file.Reset();  // the version readers open it by its name
  const VersionComparison versions = CompareVersions(kind, folder_path + name, target_path);
  bool allowed = true;
  if (versions.older) {
    // The question must not hide behind the topmost progress window.
    HideProgressWindow();
    allowed = UserAllowsOlderFile(target_path, versions);
  }
  const WinResult finished = FinishStaging(folder, name, own, target, allowed);
  if (allowed && !finished) return ReportInstallFailure(target_path, finished);
  if (versions.older) ShowProgressWindow(std::string(), std::string());
  return true;
}

}  // namespace

bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder) {
  const std::size_t slash = target_path.rfind('\\');
  HeldFolder folder;
  if (WinResult opened = folder.Open(slash == std::string::npos ? "." : target_path.substr(0, slash + 1)); !opened) {
    // The folder is part of the target's path.
    if (opened.Code() == ERROR_FILE_NOT_FOUND) opened = WinResult::Failure(ERROR_PATH_NOT_FOUND);
    return ReportInstallFailure(target_path, opened);
  }
  const std::string target = target_path.substr(slash + 1);
  if (!AskIfOlder || !folder.HasFile(target) || !IsComparedKind(file_kind))
    return InstallPackageFile(resource_name, file_kind, target_path, folder);
  ResourceBytes bytes;
  if (const WinResult found = FindOwnResource(resource_name, file_kind, bytes); !found)
    return ReportInstallFailure(target_path, found);
  return ReplaceUnlessNewerInstalled(folder, file_kind, target_path, target, bytes);
}

}  // namespace orvel
