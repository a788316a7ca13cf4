// Version readers on real files (see version_readers.h).
#include "install/version_readers.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "base/file_access_win.h"
#include "base/scoped_handle_win.h"
#include "install/version_compare.h"
#include "install/version_fields.h"
#include "lang/language_file_format.h"
#include "lang/text_lookup.h"
#include "sys/system_library_win.h"

namespace orvel {

namespace {

std::int32_t ReadVersionField(const std::string& path, VersionField field) {
  // No sharing: a package that someone is still writing or holding is not trusted.
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  char leading[kLongestVersionFieldEnd] = {};
  const DWORD size = static_cast<DWORD>(field.offset + field.width);
  DWORD got = 0;
  if (!ReadUpTo(file.Get(), leading, size, got)) return 0;
  return VersionFieldValue(std::string_view(leading, got), field);
}

// The whole text of a language file; false when it cannot be opened or read.
bool ReadLanguageFileText(const std::string& path, std::string& text) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > kMaxLangFileSize)
    return false;
  text.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  const bool read = ReadUpTo(file.Get(), text.data(), static_cast<DWORD>(text.size()), got);
  text.resize(got);
  return read;
}

// The three entry points of version.dll, which is loaded from the system folder only
// for as long as one file is read.
class VersionLibrary {
 public:
  VersionLibrary() : library_(LoadSystemLibrary("version.dll")) {
    if (!library_) return;
    size_ = EntryPoint<SizeFn>(library_.Get(), "GetFileVersionInfoSizeA");
    info_ = EntryPoint<InfoFn>(library_.Get(), "GetFileVersionInfoA");
    query_ = EntryPoint<QueryFn>(library_.Get(), "VerQueryValueA");
  }
  bool IsUsable() const { return size_ != nullptr && info_ != nullptr && query_ != nullptr; }

  DWORD InfoSize(const std::string& path) const {
    DWORD ignored = 0;
    return size_(path.c_str(), &ignored);
  }
  bool Info(const std::string& path, std::string& block) const {
    return info_(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) != FALSE;
  }
  // The value at `sub_block`: its address inside `block` and its length.
  bool Query(const std::string& block, const std::string& sub_block, const char*& value, UINT& length) const {
    void* found = nullptr;
    length = 0;
    if (!query_(block.data(), sub_block.c_str(), &found, &length) || found == nullptr) return false;
    value = static_cast<const char*>(found);
    return true;
  }

 private:
  using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

  ScopedLibrary library_;
  SizeFn size_ = nullptr;
  InfoFn info_ = nullptr;
  QueryFn query_ = nullptr;
};

// The zero-terminated string at `value`, never read past the end of `block`.
std::string StringInBlock(const std::string& block, const char* value, UINT length) {
  const char* begin = block.data();
  const char* end = begin + block.size();
  const std::size_t limit = (value >= begin && value < end) ? static_cast<std::size_t>(end - value) : length;
  const void* nul = std::memchr(value, 0, limit);
  return std::string(value, nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - value) : limit);
}

}  // namespace

std::int32_t ReadPakVersion(const std::string& path) { return ReadVersionField(path, kPakVersionField); }
std::int32_t ReadCokVersion(const std::string& path) { return ReadVersionField(path, kCokVersionField); }
std::int32_t Read3bsVersion(const std::string& path) { return ReadVersionField(path, k3bsVersionField); }

std::int32_t ReadLngVersion(const std::string& path) {
  if (!FileExists(path)) return 0;
  std::string text;
  std::string value;
  std::int32_t version = 0;
  if (ReadLanguageFileText(path, text) && FindLangVersionValue(text, value) && ParseDecimalInt32(value, version))
    return version;
  ShowLangFileError(path);
  return 0;
}

std::string ReadExeFileVersion(const std::string& path) {
  SHFILEINFOA shell_info = {};
  if (::SHGetFileInfoA(path.c_str(), 0, &shell_info, sizeof shell_info, SHGFI_EXETYPE) == 0) return std::string();
  const VersionLibrary version;
  if (!version.IsUsable()) return std::string();
  const DWORD size = version.InfoSize(path);
  if (size == 0) return std::string();
  std::string block(size, '\0');
  if (!version.Info(path, block)) return std::string();

  const char* value = nullptr;
  UINT length = 0;
  if (!version.Query(block, "\\VarFileInfo\\Translation", value, length) || length < 2 * sizeof(WORD))
    return std::string();
  WORD translation[2];
  std::memcpy(translation, value, sizeof translation);
  if (!version.Query(block, FileVersionSubBlock(translation[0], translation[1]), value, length))
    return std::string();
  return StringInBlock(block, value, length);
}

}  // namespace orvel
