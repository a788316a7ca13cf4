// Shared file helpers (see file_access_win.h).
#include "base/file_access_win.h"

namespace orvel {

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteThroughHandle(HANDLE file) {
  const DWORD error = ::GetLastError();
  FILE_DISPOSITION_INFO disposition = {TRUE};
  ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  ::SetLastError(error);
}

bool ReadUpTo(HANDLE file, void* buffer, DWORD size, DWORD& filled) {
  filled = 0;
  while (filled < size) {
    DWORD got = 0;
    if (!::ReadFile(file, static_cast<char*>(buffer) + filled, size - filled, &got, nullptr)) return false;
    if (got == 0) break;
    filled += got;
  }
  return true;
}

}  // namespace orvel
