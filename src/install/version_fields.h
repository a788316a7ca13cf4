// Where each kind of installable file keeps its version, and how the raw bytes or text
// found there become a version: the fixed-offset fields of "pak", "cok" and "3bs"
// packages, the "langver" value of a language file, and the name under which an
// executable's version resource holds its "FileVersion".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

// A little-endian unsigned field at a fixed offset from the start of a file.
struct VersionField {
  std::size_t offset;
  std::size_t width;  // 1 or 2 bytes
};

inline constexpr VersionField kPakVersionField{6, 2};
inline constexpr VersionField kCokVersionField{5, 2};
// Offset 6, not the byte 5 that the update run reads from the same header: in the
// embedded package this field is 0.
inline constexpr VersionField k3bsVersionField{6, 1};
inline constexpr std::size_t kLongestVersionFieldEnd = 8;

// The field's value from a file's leading bytes; 0 when they end before the field does.
std::int32_t VersionFieldValue(std::string_view leading_bytes, VersionField field);

// The language file's "langver" value: the line that follows the first section line
// of that key (a line starting with "[" whose lower-cased text holds "langver]" first
// at its second character; text after the "]" does not matter). Lines end at LF, CR
// bytes are dropped from them and byte 26 ends the text, as everywhere in language
// files. False when the text has no such section line; `value` is then empty, and so
// it is when the section line is the last line.
bool FindLangVersionValue(std::string_view file_text, std::string& value);

// The version-resource path of the "FileVersion" string for one translation, e.g.
// \StringFileInfo\041904e3\FileVersion for Russian (0x0419) in code page 1251.
std::string FileVersionSubBlock(std::uint16_t language, std::uint16_t code_page);

}  // namespace orvel
