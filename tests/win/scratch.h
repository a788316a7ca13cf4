// Helpers of the Windows tests: a scratch folder that is removed afterwards, files
// with given bytes, and registry keys that a test sets up and removes again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvel::test {

// A fresh folder below the prefix's temporary folder, removed with its contents
// when the test ends. Path() ends in "\".
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);  // empty when missing
bool Exists(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder);  // names of its files and folders, sorted
void RemoveTree(const std::string& path);
// Makes (or re-points) `link` as a Unix symbolic link to `target` (both Windows paths in the
// prefix), which Wine follows as Windows follows a link. False when it cannot.
bool MakeUnixLink(const std::string& link, const std::string& target);

// Deletes a key of the 64-bit registry view with all its subkeys; no error when missing.
void DeleteRegistryTree(HKEY root, const std::string& path);
// Writes a string value into the 64-bit view, creating the key.
void SetRegistryString(HKEY root, const std::string& path, const char* name, const std::string& value);
void SetRegistryDword(HKEY root, const std::string& path, const char* name, DWORD value);
std::string GetRegistryString(HKEY root, const std::string& path, const char* name);  // REG_SZ; empty if missing
// Reads a REG_DWORD value of the 64-bit view; false when it is missing.
bool GetRegistryDword(HKEY root, const std::string& path, const char* name, DWORD& value);

}  // namespace orvel::test
