// Dotted version comparison (see version_compare.h).
#include "install/version_compare.h"

namespace orvel {

bool ParseDecimalInt32(std::string_view text, std::int32_t& value) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  if (at == text.size()) return false;
  // Accumulated as a negative number, which also holds the lowest 32-bit value.
  constexpr std::int64_t kLowest = -std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 - (c - '0');
    if (magnitude < kLowest) return false;
  }
  if (!negative && magnitude == kLowest) return false;
  value = static_cast<std::int32_t>(negative ? magnitude : -magnitude);
  return true;
}

namespace {

// One string's walk through its parts.
struct VersionWalk {
  std::string_view rest;
  std::int32_t part = 0;  // the value before the first pass; see the header

  // Takes the next part, if the rest has one. False when that part is not a number.
  bool NextPart() {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0) return true;
    if (!ParseDecimalInt32(rest.substr(0, dot), part)) return false;
    rest.remove_prefix(dot + 1);
    return true;
  }
  bool LastPart() { return ParseDecimalInt32(rest, part); }
};

}  // namespace

bool IsOlderVersion(std::string_view New, std::string_view Old) {
  VersionWalk fresh{New};
  VersionWalk installed{Old};
  for (int pass = 0; pass < 3; ++pass) {
    if (!installed.NextPart()) return false;
    if (!fresh.NextPart()) return true;
    if (installed.part != fresh.part) return installed.part > fresh.part;
  }
  if (!installed.LastPart()) return false;
  if (!fresh.LastPart()) return true;
  return installed.part > fresh.part;
}

}  // namespace orvel
