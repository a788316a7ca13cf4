// Language file readers over Win32 files (see lang_file_reader_win.h).
#include "lang/lang_file_reader_win.h"

#include <windows.h>

namespace orvel {

namespace {

// Hands the scanner the file's bytes in the blocks it asks for.
class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(HANDLE file) : file_(file) {}

  bool Read(char* buffer, std::size_t capacity, std::size_t& got) override {
    constexpr std::size_t kMaxRead = 1u << 30;
    DWORD read = 0;
    const BOOL ok = ::ReadFile(file_, buffer, static_cast<DWORD>(capacity < kMaxRead ? capacity : kMaxRead), &read,
                               nullptr);
    got = ok ? read : 0;
    return ok != FALSE;
  }

 private:
  HANDLE file_;
};

}  // namespace

void LangFileReader::Bind(const std::string& folder, std::string_view file_name) {
  Close();
  file_name_.assign(file_name);
  path_.assign(folder).append(file_name);
}

void LangFileReader::Unbind() {
  Close();
  path_.clear();
  file_name_.clear();
}

bool LangFileReader::Reopen() {
  Close();
  if (path_.empty()) return false;
  file_.Reset(::CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // Nobody can write the file while it is open here, so its size stays as checked.
  LARGE_INTEGER size = {};
  if (file_ && ::GetFileSizeEx(file_.Get(), &size) && static_cast<std::uint64_t>(size.QuadPart) <= kMaxLangFileSize)
    return true;
  Close();
  return false;
}

bool IsOversizedLangFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return ((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kMaxLangFileSize;
}

LookupResult LangFileReader::ReadLine(std::string_view key) {
  if (!Reopen()) return {LookupStatus::kReadError, std::string()};
  FileByteSource source(file_.Get());
  return LookupLine(source, key);
}

LookupResult LangFileReader::ReadBlock(std::string_view key, bool skip_first_line) {
  if (!Reopen()) return {LookupStatus::kReadError, std::string()};
  FileByteSource source(file_.Get());
  return LookupBlock(source, key, skip_first_line);
}

}  // namespace orvel
