// The version of an installable file on disk, one reader per file kind. Readers never
// fail: a missing, locked, short or unreadable file has version 0 (or an empty
// "FileVersion"). Only ReadLngVersion tells the user about a language file that exists
// but cannot be used.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// The fixed-offset fields of packages (see version_fields.h). The file is opened with
// no sharing at all, so a file that another program has open reads as 0.
std::int32_t ReadPakVersion(const std::string& path);
std::int32_t ReadCokVersion(const std::string& path);
std::int32_t Read3bsVersion(const std::string& path);

// The "langver" value of a language file. A missing file is 0 without a word; a file
// that cannot be read, or whose value is not a whole decimal number, shows the
// unusable-language-file message with the full path and is 0.
std::int32_t ReadLngVersion(const std::string& path);

// The "FileVersion" string of an executable's version resource, in the resource's
// first translation; empty for a file that is no executable or has no such string.
std::string ReadExeFileVersion(const std::string& path);

}  // namespace orvel
