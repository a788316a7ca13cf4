// Writing an embedded resource to disk (see package_extract.h).
#include "install/package_extract.h"

#include <windows.h>

#include "app/program_state.h"
#include "app/russian_texts.h"
#include "install/staging_name.h"
#include "sys/scoped_handle_win.h"

namespace orvel {

namespace {

// The bytes of one resource of the installer's own module, as Windows keeps them in
// memory: no copy is made.
struct ResourceBytes {
  const char* data = nullptr;
  DWORD size = 0;
};

bool FindOwnResource(const std::string& name, const std::string& type, ResourceBytes& bytes) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(module, name.c_str(), type.c_str());
  if (info == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return false;
  bytes.data = static_cast<const char*>(::LockResource(loaded));
  bytes.size = ::SizeofResource(module, info);
  return bytes.data != nullptr;
}

// Deletes a file we wrote ourselves, also when something made it read-only.
void DeleteOwnFile(const std::string& path) {
  if (::DeleteFileA(path.c_str())) return;
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

// Creates (or truncates) `path` and writes all of `bytes` through to the disk.
bool WriteWholeFile(const std::string& path, const ResourceBytes& bytes) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD offset = 0;
  while (offset < bytes.size) {
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data + offset, bytes.size - offset, &written, nullptr) ||
        written == 0)
      return false;
    offset += written;
  }
  return ::FlushFileBuffers(file.Get()) != FALSE;
}

// Writes the bytes under the staging name and moves them over the target in one
// step. On failure the staging file is gone and the target untouched.
bool ReplaceFileWith(const std::string& target, const ResourceBytes& bytes) {
  // Windows refuses to replace a read-only file; say so before writing anything
  // rather than leave it to the file system at hand.
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::string staging = StagingFileName(target);
  // A staging file left by an interrupted run would block the create.
  if (::GetFileAttributesA(staging.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteOwnFile(staging);
  if (WriteWholeFile(staging, bytes) &&
      ::MoveFileExA(staging.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteOwnFile(staging);
  return false;
}

bool ReportInstallFailure(const std::string& target) {
  ShowFallbackError("Can't install file " + target, std::string(kCantInstallFileRu) + target);
  return false;
}

}  // namespace

bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder) {
  (void)AskIfOlder;  // the comparing mode is not built yet: every file is written directly
  ResourceBytes bytes;
  if (!FindOwnResource(resource_name, file_kind, bytes)) return ReportInstallFailure(target_path);
  if (!ReplaceFileWith(target_path, bytes)) return ReportInstallFailure(target_path);
  return true;
}

}  // namespace orvel
