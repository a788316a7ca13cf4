// System-environment test helpers (see os_test_env.h).
#include "os_test_env.h"

#include <windows.h>

#include <algorithm>

namespace orvel::test {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) {
    if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::string value(size, '\0');
  value.resize(::GetEnvironmentVariableA(name.c_str(), value.data(), size));
  return value;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)), previous_(EnvironmentValue(name_)) {
  ::SetEnvironmentVariableA(name_.c_str(), value ? value->c_str() : nullptr);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  ::SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder) {
  char current[MAX_PATH];
  previous_.assign(current, ::GetCurrentDirectoryA(MAX_PATH, current));
  ::SetCurrentDirectoryA(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() { ::SetCurrentDirectoryA(previous_.c_str()); }

std::vector<std::string> SplitCrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

bool IsTemporaryFileName(const std::string& name) {
  return name.size() == 8 && std::all_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace orvel::test
