// The installer's test of its own executable, run before anything is written: the
// file's SHA-256 digest, less the parts a signature changes, must equal the seal
// that the build wrote into it (see integrity_layout.h).
#pragma once

#include <string>

namespace orvel {

enum class IntegrityResult {
  kIntact,
  kUnreadable,  // cannot be opened or read, shorter than its headers, no well-formed seal
  kMismatch,    // readable and sealed, but not the file that was sealed
};

// The test on the file at `path`. Shows nothing.
IntegrityResult CheckFileIntegrity(const std::string& path);

// True when the installer's own file is intact. False after one message was shown:
// "verificationfail" when the file cannot be checked, "badinstaller" when it fails.
bool CheckInstallerIntegrity();

}  // namespace orvel
