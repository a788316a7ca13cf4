// The installer's points of contact with Orvel, which is another program: whether
// it runs (its named file mapping), asking it to quit (WM_QUIT to its main window),
// the size of its install folder, and starting it.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

class HeldFolder;
class WinResult;

inline constexpr char kHostMappingName[] = "orvel_memfile";
inline constexpr char kHostWindowClass[] = "TOrvelMainForm";

// True when Orvel holds its mapping. The probe's own handle then stays open for the
// rest of the process, as Orvel's mapping would vanish with its last handle.
bool IsHostAppRunning();

// Posts WM_QUIT to Orvel's main window, if there is one; true when it was posted.
// Never waits.
bool AskHostAppToQuit();

// The sum of the sizes of all files below the held `folder` in `kib` (remainder
// dropped), counted in 64 bits and saturated at INT32_MAX. Nothing is looked up by
// path: each folder is listed through its handle and each subfolder opened relative
// to its parent's handle. Links (junctions, symbolic links, mount points) are neither
// entered nor counted, also one that took a subfolder's place after the listing, so
// the walk stays in the folder's own tree; nor is the installer's lock file in the
// folder itself. Fails with the Win32 error of the first listing or opening that
// failed.
WinResult FolderSizeKiB(const HeldFolder& folder, std::int32_t& kib);

// A byte total as FolderSizeKiB reports it.
constexpr std::int32_t SaturatedKiB(std::uint64_t bytes) {
  const std::uint64_t kib = bytes >> 10;
  return kib > 0x7fffffffu ? 0x7fffffff : static_cast<std::int32_t>(kib);
}

// Starts HostFolder + HostAppName + ".exe" ("open", in HostFolder, shown normally)
// as the signed-in user: a privileged installer asks the desktop shell to start it,
// and starts nothing when no shell answers, in session 0 or as SYSTEM or a service
// account (see host_start_route.h); otherwise ShellExecuteA starts it. The log says
// which; the outcome is not looked at.
void StartHostApp();

}  // namespace orvel
