// The steps of writing an embedded resource into Orvel's folder that both modes of
// the package writer share (see package_extract.h): the resource's bytes, the staging
// file, the final move and the one report of a failure.
#pragma once

#include <windows.h>

#include <string>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"

namespace orvel {

class HeldFolder;

// The bytes of one resource of the installer's own module, as Windows keeps them in
// memory: no copy is made.
struct ResourceBytes {
  const char* data = nullptr;
  DWORD size = 0;
};

// Finds resource `name` of type `type` in the installer's own module.
WinResult FindOwnResource(const std::string& name, const std::string& type, ResourceBytes& bytes);

// Writes all of `bytes` to `file` and through to the disk.
WinResult WriteAll(HANDLE file, const ResourceBytes& bytes);

// Makes this run's staging file in `folder` under a fresh name beside `staging`, moves
// it over every staging entry an interrupted run left there, `staging` last, and
// leaves it open as `file` (for writing, its own rename and delete) under the name
// `name` it ended with. Without a fresh name from the system's generator nothing is
// made.
WinResult CreateStagingFile(const HeldFolder& folder, const std::string& staging, ScopedFileHandle& file,
                            std::string& name);

// Moves this run's own file, open as `file`, over the entry `target` of `folder` in
// one step; a read-only target is refused. On failure the file is deleted through its
// handle and the target is untouched.
WinResult MoveOverTarget(const HeldFolder& folder, HANDLE file, const std::string& target);

// Logs and shows "Can't install file " + `target` once, leaves the failing call's code
// as the thread's last error, and returns false.
bool ReportInstallFailure(const std::string& target, WinResult failure);

}  // namespace orvel
