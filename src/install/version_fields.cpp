// Version fields of installable files (see version_fields.h).
#include "install/version_fields.h"

#include "base/text_rules.h"

namespace orvel {

std::int32_t VersionFieldValue(std::string_view leading_bytes, VersionField field) {
  if (leading_bytes.size() < field.offset + field.width) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = field.width; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(leading_bytes[field.offset + i]);
  return static_cast<std::int32_t>(value);
}

namespace {

constexpr char kEndOfText = 26;

bool IsLangVersionSectionLine(std::string_view line) {
  constexpr std::string_view kKey = "langver]";
  if (line.size() < 1 + kKey.size() || line[0] != '[') return false;
  // The first occurrence must stand right after the "[", so the text between the "["
  // and the key decides nothing but its own position: compare that window only.
  return StartsWithLowered(line.substr(1), kKey);
}

// Splits the text into lines one at a time.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text.substr(0, text.find(kEndOfText))) {}

  bool Next(std::string& line) {
    if (done_) return false;
    const std::size_t end = rest_.find('\n');
    const std::string_view raw = rest_.substr(0, end);
    line.clear();
    for (char c : raw)
      if (c != '\r') line += c;
    if (end == std::string_view::npos) {
      done_ = true;
      // A text that ends with a line break has no further, empty line.
      if (raw.empty()) return false;
    } else {
      rest_.remove_prefix(end + 1);
      if (rest_.empty()) done_ = true;
    }
    return true;
  }

 private:
  std::string_view rest_;
  bool done_ = false;
};

}  // namespace

bool FindLangVersionValue(std::string_view file_text, std::string& value) {
  value.clear();
  LineReader reader(file_text);
  std::string line;
  while (reader.Next(line)) {
    if (IsLangVersionSectionLine(line)) {
      reader.Next(value);
      return true;
    }
  }
  return false;
}

std::string FileVersionSubBlock(std::uint16_t language, std::uint16_t code_page) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string name = "\\StringFileInfo\\";
  for (std::uint16_t number : {language, code_page})
    for (int shift = 12; shift >= 0; shift -= 4) name += kDigits[(number >> shift) & 0xf];
  name += "\\FileVersion";
  return name;
}

}  // namespace orvel
