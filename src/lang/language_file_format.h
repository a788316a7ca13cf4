// The format of Orvel's language files: which line introduces a key, what its value
// is (one line or a block of lines), and how integer values are written. Files are
// 8-bit text in the user's ANSI code page; nothing is converted.
//
//   [key]          header: first byte "[", key in any letter case, then "]"; any
//   value line     text may follow the "]" on the same line
//   more lines     a block goes on up to the first blank line or the end of file
//
// The first header of a key wins. An empty first value line counts as no value; a
// value of blanks only is a value. There is no comment syntax and no escape.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lang/line_scanner.h"

namespace orvel {

// True when `line` (CRs already dropped) introduces `key`: its first byte is "[",
// and with bytes of value 32 or less trimmed from both ends and A..Z lower-cased it
// holds the lower-cased key + "]" first at its second byte. `lowered_key` must be
// lower-cased already.
bool IsKeyHeader(std::string_view line, std::string_view lowered_key);

// A line that is empty or holds only bytes of value 32 or less: the end of a block.
bool IsBlankLine(std::string_view line);

// A signed 32-bit integer: optional leading spaces, an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$", "x" or "0x" (any letter case).
// Nothing may follow the digits. False (and `value` untouched) for an empty text,
// anything else, or a number outside -2147483648..2147483647.
bool ParseLangInteger(std::string_view text, std::int32_t& value);

// Bounds on what a language file can make the installer hold. Language files sit in
// a folder the installer may not own; Orvel's own are a few hundred kilobytes, and a
// message box shows far less than the longest text.
inline constexpr std::uint64_t kMaxLangFileSize = 16u << 20;  // a larger file has errors
inline constexpr std::size_t kMaxLangTextSize = 64u << 10;    // longer texts are cut here

// Appends `piece` to `text` as far as kMaxLangTextSize allows.
void AppendWithinTextLimit(std::string& text, std::string_view piece);

enum class LookupStatus {
  kFound,      // the key has a value (its text may still be empty, see LookupBlock)
  kNoValue,    // the key is absent, or its first value line is empty
  kReadError,  // the file could not be read to the end of the lookup
};

struct LookupResult {
  LookupStatus status = LookupStatus::kNoValue;
  std::string text;
};

// The one-line value of `key`: the line after its first header, byte for byte (cut
// to kMaxLangTextSize, like every lookup).
LookupResult LookupLine(ByteSource& file, std::string_view key);

// The block value of `key`: its first value line and every following line up to the
// first blank line or the end of the file, joined with CR LF (no final line break).
// With `skip_first_line` the block starts at its second line, so a one-line value
// is found but its text is empty.
LookupResult LookupBlock(ByteSource& file, std::string_view key, bool skip_first_line);
inline constexpr bool kKeepFirstLine = false;
inline constexpr bool kSkipFirstLine = true;

}  // namespace orvel
