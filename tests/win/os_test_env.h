// Helpers of the system-environment tests: environment variables and the current
// folder changed for one test and restored afterwards, and the names in a folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvel::test {

// Sets (or, with std::nullopt, removes) an environment variable of this process and
// restores its previous state when it goes out of scope.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Makes `folder` the current folder until it goes out of scope.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder);
  ~ScopedCurrentFolder();
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::string previous_;
};

std::optional<std::string> EnvironmentValue(const std::string& name);


// The lines of a CR LF text, without their line breaks.
std::vector<std::string> SplitCrLfLines(const std::string& text);

// A name of exactly 8 letters a..z.
bool IsTemporaryFileName(const std::string& name);

}  // namespace orvel::test
