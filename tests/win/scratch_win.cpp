// Test helpers (see scratch.h).
#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>

namespace orvel::test {

namespace {
std::atomic<int> g_counter{0};
}

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? info->name() : "test";
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  path_ = std::string(temp) + "orvel-" + name + "-" +
          std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(g_counter++) + "\\";
  RemoveTree(path_);
  ::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeUnixLink(const std::string& link, const std::string& target) {
  // Wine's own export; Windows has no Unix names.
  using UnixNameFn = char*(CDECL*)(const WCHAR*);
  const auto unix_name = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return false;
  const auto to_unix = [unix_name](const std::string& path) {
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* name = unix_name(wide);
    const std::string result = name != nullptr ? name : "";
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
  };
  // Wine starts Unix programs too.
  std::string command = "/bin/ln -sfn \"" + to_unix(target) + "\" \"" + to_unix(link) + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  // Wine does not tell when a Unix program ends: wait for the link itself.
  for (int wait = 0; wait < 100 && !Exists(link); ++wait) ::Sleep(50);
  return Exists(link);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + (folder.empty() || folder.back() == '\\' ? "*" : "\\*")).c_str(), &entry);
  for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &entry))
    if (const std::string name = entry.cFileName; name != "." && name != "..") names.push_back(name);
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileA(folder.c_str())) ::RemoveDirectoryA(folder.c_str());
    return;
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name != "." && name != "..") RemoveTree(folder + "\\" + name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryA(folder.c_str());
}

// In the 64-bit view, as the other helpers, also from a 32-bit test program.
void DeleteRegistryTree(HKEY root, const std::string& path) {
  HKEY key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
    ::RegDeleteTreeA(key, nullptr);
    ::RegCloseKey(key);
  }
  ::RegDeleteKeyExA(root, path.c_str(), KEY_WOW64_64KEY, 0);
}

void SetRegistryString(HKEY root, const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

std::string GetRegistryString(HKEY root, const std::string& path, const char* name) {
  HKEY key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return std::string();
  char value[512] = {};
  DWORD size = sizeof value - 1;
  const LONG status = ::RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size);
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS ? std::string(value) : std::string();
}

void SetRegistryDword(HKEY root, const std::string& path, const char* name, DWORD value) {
  HKEY key;
  ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(key);
}

bool GetRegistryDword(HKEY root, const std::string& path, const char* name, DWORD& value) {
  DWORD size = sizeof value;
  DWORD type = 0;
  HKEY key;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
  const LONG status = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  ::RegCloseKey(key);
  return status == ERROR_SUCCESS && type == REG_DWORD;
}

}  // namespace orvel::test
