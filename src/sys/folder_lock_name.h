// The entry of Orvel's folder that copies of the installer updating it hold as their
// lock (see package_lock_win.h), and how any other entry is told from it.
#pragma once

#include <string_view>

namespace orvel {

// One name for every copy and every package, so that all installers writing in one
// folder take turns. Lower case; the folder's file system may ignore letter case.
constexpr char kFolderLockName[] = "~orvelupdate.lock";

// True when the folder entry `entry` is the lock, letter case aside: it is no part of
// the installation's size, and no clean-up of leftovers may touch it.
bool IsFolderLockName(std::wstring_view entry);

}  // namespace orvel
