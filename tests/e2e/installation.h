// Orvel installations for the end-to-end tests: a folder with the stand-in Orvel as
// orvel.exe, a language folder with the sample language files, and a package file;
// plus the build's own files (the installer, the stand-in, the embedded package) as
// Windows paths.
#pragma once

#include <cstdint>
#include <string>

#include "package_identity.h"

namespace orvel::e2e {

// The identity of the package the installer embeds, as the build gave it.
inline constexpr int kEmbeddedVersion = ORVEL_PACKAGE_VERSION;
inline constexpr char kPackageFileName[] = ORVEL_PACKAGE_FILE_NAME;
inline constexpr char kPackageKey[] = ORVEL_PACKAGE_KEY;

// Windows path of a file of the build (Wine shows the Unix root as drive Z:).
std::string BuildFile(const char* unix_path);
std::string InstallerPath();
// The same installer built for a package of another version (kOtherBuildVersion).
std::string OtherBuildInstallerPath();
inline constexpr int kOtherBuildVersion = ORVEL_E2E_OTHER_BUILD_VERSION;
std::string StandInHostPath();
// The package the installer embeds, byte for byte.
const std::string& EmbeddedPackage();

// A package file of the given version byte: "vexa", 2, version, then filler, so that
// it differs from the embedded package in size and content.
std::string PackageOfVersion(int version);

// Sum of the sizes of all files below `folder` (which ends in "\"), in bytes.
std::uint64_t FolderBytes(const std::string& folder);

class TestInstallation {
 public:
  // Creates the installation in `folder` (ending in "\"; created if missing): the
  // stand-in as orvel.exe, language\ with the sample *.lng files when the source has
  // them, and the package file holding PackageOfVersion(kEmbeddedVersion - 1).
  explicit TestInstallation(std::string folder);

  const std::string& Folder() const { return folder_; }
  std::string PackagePath() const { return folder_ + kPackageFileName; }
  std::string StagingPath() const { return folder_ + "~" + kPackageFileName; }
  std::string HostPath() const { return folder_ + "orvel.exe"; }

  void WritePackage(const std::string& bytes) const;
  void RemovePackage() const;
  // The installed package's bytes; empty when it is missing.
  std::string PackageBytes() const;
  bool HasStagingFile() const;
  void RemoveHost() const;
  // What "EstimatedSize" must say for the folder as it is now.
  std::uint32_t SizeKiB() const;

 private:
  std::string folder_;
};

}  // namespace orvel::e2e
