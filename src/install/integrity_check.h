// The installer's test of its own executable, run before anything is written.
#pragma once

namespace orvel {

// True when the installer's file is intact. False after one message was shown
// ("verificationfail" when the file cannot be read, "badinstaller" when it fails).
bool CheckInstallerIntegrity();

}  // namespace orvel
