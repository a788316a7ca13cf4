// A folder opened once and held for the rest of the run. Every later create, rename
// and delete in it goes through the held handle (names relative to it) or through a
// handle of the file itself, so renaming a folder or re-pointing a link anywhere in
// its path after it was opened changes nothing: the run keeps acting on the folder
// it checked.
#pragma once

#include <windows.h>

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
  // the held handle: NtCreateFile's `disposition` (FILE_OPEN, FILE_CREATE) and
  // `options`. The handle is synchronous, for ReadFile and WriteFile. An entry still
  // being deleted fails with ERROR_DELETE_PENDING.
  WinResult OpenEntry(std::string_view name, ACCESS_MASK access, ULONG share, ULONG disposition, ULONG options,
                      ScopedFileHandle& entry) const;
  // True when `name` is a file (not a folder) in the folder.
  bool HasFile(std::string_view name) const;
  // Gives the open `file` (opened with DELETE access) the name `name` in this folder,
  // replacing the entry of that name: a link there is replaced, never followed.
  WinResult MoveInto(HANDLE file, std::string_view name) const;

 private:
  ScopedFileHandle folder_;
};

// Orvel's folder, held from the check that Orvel is installed to the end of the run.
HeldFolder& OrvelFolder();

}  // namespace orvel
