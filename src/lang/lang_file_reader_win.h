// A reader of one language file. It is bound to a file, and each lookup opens that
// file anew from its start, so a change made between two lookups is seen by the
// second. The file is opened for reading and shared for reading only: while the
// reader holds it, nobody can write it. A file larger than kMaxLangFileSize cannot
// be read through it.
#pragma once

#include <string>
#include <string_view>

#include "base/scoped_handle_win.h"
#include "lang/language_file_format.h"

namespace orvel {

class LangFileReader {
 public:
  // Closes the file and binds the reader to `folder` + `file_name`.
  void Bind(const std::string& folder, std::string_view file_name);
  // Closes the file and forgets it.
  void Unbind();
  void Close() { file_.Reset(); }
  bool IsOpen() const { return file_.IsValid(); }
  // The bound file's name, without its folder.
  const std::string& FileName() const { return file_name_; }

  // Lookups of the format's one-line and block values. Each one reopens the file
  // and leaves it open; kReadError when it cannot be opened or read.
  LookupResult ReadLine(std::string_view key);
  LookupResult ReadBlock(std::string_view key, bool skip_first_line);

 private:
  bool Reopen();

  std::string path_;
  std::string file_name_;
  ScopedFileHandle file_;
};

// The language unit's two readers: on the current language file, kept open after a
// lookup until the next one or the next selection; and on the default file, open
// only during one fallback lookup.
extern LangFileReader CurrentLangFile;
extern LangFileReader DefaultLangFile;

// True when the file at `path` is larger than kMaxLangFileSize, a language file with
// errors. A file that cannot be looked at is not (its reading fails on its own).
bool IsOversizedLangFile(const std::string& path);

}  // namespace orvel
