// A folder opened once and held for the rest of the run. Every later create, rename
// and delete in it goes through the held handle (names relative to it) or through a
// handle of the file itself, so renaming a folder or re-pointing a link anywhere in
// its path after it was opened changes nothing: the run keeps acting on the folder
// it checked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"

namespace orvel {

class HeldFolder {
 public:
  // Opens the folder `path` (links in it are followed, once) and holds it: others may
  // read and write in it, but not rename or delete it while it is held.
  WinResult Open(const std::string& path);
  HANDLE Get() const { return folder_.Get(); }
  // The folder's final path, from the held handle ("\\?\C:\..."); empty on failure.
  std::string FinalPath() const;

  // Opens, or creates, the entry `name` of the folder (a file name, no path) through
  // the held handle, as OpenInFolder does. An entry still being deleted fails with
  // ERROR_DELETE_PENDING.
  WinResult OpenEntry(std::string_view name, ACCESS_MASK access, ULONG share, ULONG disposition, ULONG options,
                      ScopedFileHandle& entry) const;
  // The attributes of the entry `name` itself, read through a handle of it;
  // INVALID_FILE_ATTRIBUTES when it cannot be opened.
  DWORD EntryAttributes(std::string_view name) const;
  // True when `name` is a file in the folder: not a folder, not a link.
  bool HasFile(std::string_view name) const;
  // Gives the open `file` (opened with DELETE access) the name `name` in this folder,
  // replacing the entry of that name: a link there is replaced, never followed.
  WinResult MoveInto(HANDLE file, std::string_view name) const;

 private:
  ScopedFileHandle folder_;
};

// Opens, or creates, the entry `name` (no path) of the folder open as `folder`,
// relative to that handle: NtCreateFile's `disposition` (FILE_OPEN, FILE_CREATE) and
// `options`, always with FILE_OPEN_REPARSE_POINT, so a link there is opened as itself
// where the file system allows it (Wine opens what a Unix link points to). An empty
// `name` opens the folder itself again, as a handle of its own. The handle is
// synchronous, for ReadFile and WriteFile.
WinResult OpenInFolder(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share, ULONG disposition,
                       ULONG options, ScopedFileHandle& entry);

struct ListedEntry;

// The entries of a folder (but "." and ".."), read through its handle, opened with
// FILE_LIST_DIRECTORY, from its first entry on: nothing is looked up by path. (Wine
// shows a handle's first listing again, however the folder changed since: a folder
// listed twice is listed the second time through a new handle.)
class FolderListing {
 public:
  explicit FolderListing(HANDLE folder) : folder_(folder) {}
  // Steps to the next entry; false at the end of the folder or on a failure, which
  // Result() then holds.
  bool Next();
  std::wstring_view Name() const;
  DWORD Attributes() const;
  std::uint64_t Size() const;
  WinResult Result() const { return result_; }

 private:
  HANDLE folder_;
  const ListedEntry* entry_ = nullptr;
  WinResult result_;
  bool restart_ = true;
  alignas(8) char buffer_[4096];
};

// Orvel's folder, held from the check that Orvel is installed to the end of the run.
HeldFolder& OrvelFolder();

}  // namespace orvel
