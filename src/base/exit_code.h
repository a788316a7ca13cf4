// The installer's exit codes. Deployment tools and Orvel itself read them after a
// quiet update, so a value, once given, never changes meaning.
#pragma once

namespace orvel {

enum class ExitCode : int {
  kPackageWritten = 0,     // the package was written
  kUserDeclined = 1,       // the user did not agree to replace or install
  kHostNotInstalled = 2,   // no Orvel in its folder
  kNoAdminRights = 3,
  kNoLanguageFiles = 4,    // Orvel's language files are missing or broken
  kInstallerDamaged = 5,   // the installer failed its own check or cannot read itself
  kPackageLocked = 6,      // the installed package stayed open in another program through
                           // the whole wait (a quiet run: and the write then failed)
  kPackageNotWritten = 7,  // writing the package failed; the installed one is unchanged
  kRegistryError = 8,      // the registry could not be read or written; after a good write
                           // only the installation's size is missing
  kOutOfMemory = 9,        // the process ran out of memory and stopped
  kCommandLineError = 10,  // the command line could not be understood, or the log it asked
                           // for could not be opened where no box can say so; nothing was done
};

}  // namespace orvel
