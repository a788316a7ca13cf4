// Test installations of Orvel (see installation.h).
#include "installation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "scratch.h"

namespace orvel::e2e {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

std::string BuildFile(const char* unix_path) {
  std::string path = std::string("Z:") + unix_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string InstallerPath() { return BuildFile(ORVEL_E2E_INSTALLER); }
std::string OtherBuildInstallerPath() { return BuildFile(ORVEL_E2E_OTHER_BUILD_INSTALLER); }
std::string StandInHostPath() { return BuildFile(ORVEL_E2E_STANDIN_HOST); }

const std::string& EmbeddedPackage() {
  static const std::string bytes = ReadBytes(BuildFile(ORVEL_E2E_PACKAGE));
  return bytes;
}

std::string PackageOfVersion(int version) {
  std::string bytes = "vexa";
  bytes += '\x02';
  bytes += static_cast<char>(version);
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>('a' + i % 26);
  return bytes;
}

std::uint64_t FolderBytes(const std::string& folder) {
  std::uint64_t total = 0;
  WIN32_FIND_DATAA entry;
  HANDLE listing = ::FindFirstFileA((folder + "*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      total += FolderBytes(folder + name + "\\");
    else
      total += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  } while (::FindNextFileA(listing, &entry));
  ::FindClose(listing);
  return total;
}

namespace {

// The sample language files of the source tree, copied into every installation.
void CopyLanguageFiles(const std::string& target_folder) {
  const std::string source = BuildFile(ORVEL_E2E_LANGUAGE_SAMPLES) + "\\";
  WIN32_FIND_DATAA entry;
  HANDLE listing = ::FindFirstFileA((source + "*.lng").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    ::CopyFileA((source + entry.cFileName).c_str(), (target_folder + entry.cFileName).c_str(), FALSE);
  } while (::FindNextFileA(listing, &entry));
  ::FindClose(listing);
}

}  // namespace

TestInstallation::TestInstallation(std::string folder) : folder_(std::move(folder)) {
  ::CreateDirectoryA(folder_.c_str(), nullptr);
  EXPECT_TRUE(::CopyFileA(StandInHostPath().c_str(), HostPath().c_str(), FALSE))
      << "cannot copy the stand-in Orvel " << StandInHostPath();
  const std::string language = folder_ + "language\\";
  ::CreateDirectoryA(language.c_str(), nullptr);
  CopyLanguageFiles(language);
  WritePackage(PackageOfVersion(kEmbeddedVersion - 1));
}

void TestInstallation::WritePackage(const std::string& bytes) const {
  ::SetFileAttributesA(PackagePath().c_str(), FILE_ATTRIBUTE_NORMAL);
  WriteBytes(PackagePath(), bytes);
}

void TestInstallation::RemovePackage() const {
  ::SetFileAttributesA(PackagePath().c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(PackagePath().c_str());
}

std::string TestInstallation::PackageBytes() const { return ReadBytes(PackagePath()); }

bool TestInstallation::HasStagingFile() const { return Exists(StagingPath()); }

void TestInstallation::RemoveHost() const { ::DeleteFileA(HostPath().c_str()); }

std::uint32_t TestInstallation::SizeKiB() const { return static_cast<std::uint32_t>(FolderBytes(folder_) / 1024); }

}  // namespace orvel::e2e
