// Header rule, value forms and integers of language files (see language_file_format.h).
#include "lang/language_file_format.h"

#include <utility>

#include "base/text_rules.h"

namespace orvel {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// True when `text` begins with `lowered_key` + "]", letters compared lower-cased.
bool HoldsKeyAndBracket(std::string_view text, std::string_view lowered_key) {
  return StartsWithLowered(text, lowered_key) && text.size() > lowered_key.size() && text[lowered_key.size()] == ']';
}

int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') digit = c - '0';
  else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

// Moves `lines` just past the first header of the key. False when the file ends
// first.
bool SkipToHeader(LineScanner& lines, std::string_view lowered_key) {
  do {
    // Only a line starting with "[" can be a header, or one whose lone CRs, dropped,
    // uncover a "[": every other line is passed over without being collected.
    const int first = lines.PeekByte();
    if (first == '[' || first == '\r') {
      if (IsKeyHeader(lines.ReadLine(), lowered_key)) return true;
    } else {
      lines.SkipLine();
    }
  } while (!lines.AtEnd());
  return false;
}

LookupResult Finish(const LineScanner& lines, LookupResult result) {
  if (lines.Failed()) return {LookupStatus::kReadError, std::string()};
  return result;
}

}  // namespace

bool IsKeyHeader(std::string_view line, std::string_view lowered_key) {
  if (line.empty() || line.front() != '[') return false;
  while (IsBlank(line.back())) line.remove_suffix(1);  // stops at the "["
  // The key + "]" must occur first at the second byte; at the first byte it can only
  // occur for a key that itself begins with "[".
  return HoldsKeyAndBracket(line.substr(1), lowered_key) && !HoldsKeyAndBracket(line, lowered_key);
}

bool IsBlankLine(std::string_view line) {
  for (char c : line)
    if (!IsBlank(c)) return false;
  return true;
}

bool ParseLangInteger(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return false;
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (magnitude > limit) return false;
  }
  value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
  return true;
}

void AppendWithinTextLimit(std::string& text, std::string_view piece) {
  if (text.size() < kMaxLangTextSize) text.append(piece.substr(0, kMaxLangTextSize - text.size()));
}

LookupResult LookupLine(ByteSource& file, std::string_view key) {
  LineScanner lines(file);
  LookupResult result;
  if (SkipToHeader(lines, AsciiLower(key))) AppendWithinTextLimit(result.text, lines.ReadLine());
  result.status = result.text.empty() ? LookupStatus::kNoValue : LookupStatus::kFound;
  return Finish(lines, std::move(result));
}

LookupResult LookupBlock(ByteSource& file, std::string_view key, bool skip_first_line) {
  LineScanner lines(file);
  LookupResult result;
  if (!SkipToHeader(lines, AsciiLower(key))) return Finish(lines, std::move(result));
  const std::string_view first = lines.ReadLine();
  if (first.empty()) return Finish(lines, std::move(result));

  result.status = LookupStatus::kFound;
  std::string_view separator;  // none before the first line taken
  if (!skip_first_line) {
    AppendWithinTextLimit(result.text, first);
    separator = "\r\n";
  }
  while (result.text.size() < kMaxLangTextSize && !lines.AtEnd()) {
    const std::string_view line = lines.ReadLine();
    if (IsBlankLine(line)) break;
    AppendWithinTextLimit(result.text, separator);
    AppendWithinTextLimit(result.text, line);
    separator = "\r\n";
  }
  return Finish(lines, std::move(result));
}

}  // namespace orvel
