// The language file format: lines, headers, one-line and block values, integers.
// Every lookup case runs with the bytes handed over whole and in small pieces, so
// that lines crossing the scanner's block boundaries are covered too.
#include "lang/language_file_format.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

using namespace std::string_literals;

constexpr std::size_t kPieceSizes[] = {static_cast<std::size_t>(-1), 1, 2, 3, 7};

enum class Kind { kLine, kBlock, kBlockSkippingFirst };

struct LookupCase {
  const char* what;
  std::string file;
  std::string key;
  Kind kind;
  LookupStatus status;
  std::string text;
};

LookupResult Run(const std::string& file, const std::string& key, Kind kind, std::size_t piece) {
  MemoryByteSource source(file, piece);
  switch (kind) {
    case Kind::kLine: return LookupLine(source, key);
    case Kind::kBlock: return LookupBlock(source, key, false);
    case Kind::kBlockSkippingFirst: return LookupBlock(source, key, true);
  }
  return {};
}

void Check(const LookupCase& c) {
  for (std::size_t piece : kPieceSizes) {
    const LookupResult got = Run(c.file, c.key, c.kind, piece);
    EXPECT_EQ(got.status, c.status) << c.what << " (pieces of " << piece << ")";
    EXPECT_EQ(got.text, c.text) << c.what << " (pieces of " << piece << ")";
  }
}

constexpr LookupStatus kFound = LookupStatus::kFound;
constexpr LookupStatus kNoValue = LookupStatus::kNoValue;

TEST(LangFileFormatTest, HeaderRule) {
  const LookupCase cases[] = {
      {"plain", "[key]\nvalue\n", "key", Kind::kLine, kFound, "value"},
      {"capitals in the file", "[KeY]\nvalue", "key", Kind::kLine, kFound, "value"},
      {"capitals in the lookup", "[progdescr0]\nvalue", "ProgDescr0", Kind::kLine, kFound, "value"},
      {"text after the bracket", "[key] any words]\nvalue", "key", Kind::kLine, kFound, "value"},
      {"trailing blanks", "[key] \t\x01\nvalue", "key", Kind::kLine, kFound, "value"},
      {"blank before [", " [key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"blank after [", "[ key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"blank before ]", "[key ]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"longer key", "[keys]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"shorter key", "[ke]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"no bracket", "[key\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"double [", "[[key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"text before [", "x[key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"only ASCII letters fold", "[\xC0key]\nvalue", "\xE0key", Kind::kLine, kNoValue, ""},
      {"other bytes equal", "[\xC0key]\nvalue", "\xC0KEY", Kind::kLine, kFound, "value"},
      {"lone CR before [", "\r[key]\nvalue", "key", Kind::kLine, kFound, "value"},
      {"lone CR inside the key", "[ke\ry]\nvalue", "key", Kind::kLine, kFound, "value"},
      {"first header wins", "[key]\nfirst\n[KEY]\nsecond\n", "key", Kind::kLine, kFound, "first"},
      {"value line of another key", "[other]\n[key]\nvalue\n", "key", Kind::kLine, kFound, "value"},
      {"empty file", "", "key", Kind::kLine, kNoValue, ""},
  };
  for (const LookupCase& c : cases) Check(c);
}

TEST(LangFileFormatTest, OneLineValues) {
  const LookupCase cases[] = {
      {"bytes kept", "[key]\n  two  words\t\n", "key", Kind::kLine, kFound, "  two  words\t"},
      {"blanks only", "[key]\n   \n", "key", Kind::kLine, kFound, "   "},
      {"empty line", "[key]\n\nnext\n", "key", Kind::kLine, kNoValue, ""},
      {"header ends the file", "[key]", "key", Kind::kLine, kNoValue, ""},
      {"header ends the file with LF", "[key]\n", "key", Kind::kLine, kNoValue, ""},
      {"only the first line", "[key]\none\ntwo\n", "key", Kind::kLine, kFound, "one"},
      {"CR LF", "[key]\r\nvalue\r\nmore\r\n", "key", Kind::kLine, kFound, "value"},
      {"lone CR dropped", "[key]\r\nva\rl\rue\r\n", "key", Kind::kLine, kFound, "value"},
      {"CR CR LF", "[key]\r\r\nvalue\r\r\n", "key", Kind::kLine, kFound, "value"},
      {"CR at the end", "[key]\nvalue\r", "key", Kind::kLine, kFound, "value"},
      {"NUL kept", "[key]\na\0b\n"s, "key", Kind::kLine, kFound, "a\0b"s},
      {"Ctrl-Z inside the value", "[key]\nval\x1aue\n", "key", Kind::kLine, kFound, "val"},
      {"Ctrl-Z before the header", "[a]\nx\n\x1a[key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"Ctrl-Z first", "\x1a[key]\nvalue", "key", Kind::kLine, kNoValue, ""},
      {"Ctrl-Z right after the header", "[key]\n\x1avalue", "key", Kind::kLine, kNoValue, ""},
  };
  for (const LookupCase& c : cases) Check(c);
}

TEST(LangFileFormatTest, BlockValues) {
  const LookupCase cases[] = {
      {"ends at a blank line", "[key]\nl1\nl2\n\nl3\n", "key", Kind::kBlock, kFound, "l1\r\nl2"},
      {"ends at a line of blanks", "[key]\nl1\n \t \nl2", "key", Kind::kBlock, kFound, "l1"},
      {"ends at the end of file", "[key]\nl1\nl2", "key", Kind::kBlock, kFound, "l1\r\nl2"},
      {"ends at the end of file after LF", "[key]\nl1\nl2\n", "key", Kind::kBlock, kFound, "l1\r\nl2"},
      {"one line", "[key]\nonly\n\n[x]\ny", "key", Kind::kBlock, kFound, "only"},
      {"one line at the end", "[key]\nonly", "key", Kind::kBlock, kFound, "only"},
      {"header inside", "[key]\nl1\n[other]\nl2\n\nl3", "key", Kind::kBlock, kFound, "l1\r\n[other]\r\nl2"},
      {"CR LF lines", "[key]\r\nl1\r\nl2 \r\n\r\nl3", "key", Kind::kBlock, kFound, "l1\r\nl2 "},
      {"blank first line kept", "[key]\n  \nl2\n\n", "key", Kind::kBlock, kFound, "  \r\nl2"},
      {"empty first line", "[key]\n\nl2\n", "key", Kind::kBlock, kNoValue, ""},
      {"absent", "[other]\nl1\n", "key", Kind::kBlock, kNoValue, ""},
      {"Ctrl-Z ends it", "[key]\nl1\nl2\x1al3\nl4", "key", Kind::kBlock, kFound, "l1\r\nl2"},
      {"skip first line", "[key]\nl1\nl2\nl3\n\n", "key", Kind::kBlockSkippingFirst, kFound, "l2\r\nl3"},
      {"skip the only line", "[key]\nl1\n\nl2", "key", Kind::kBlockSkippingFirst, kFound, ""},
      {"skip on an empty first line", "[key]\n\nl2", "key", Kind::kBlockSkippingFirst, kNoValue, ""},
  };
  for (const LookupCase& c : cases) Check(c);
}

TEST(LangFileFormatTest, LinesOfAnyLength) {
  // Lines far longer than one read block: skipped, examined as header candidates,
  // and taken as values, cut to the text limit.
  const std::string long_text(3 * LineScanner::kDefaultBlockSize + 17, 'x');
  const std::string long_candidate = "[" + long_text;
  const std::string file = long_text + "\n" + long_candidate + "\r\n[key]\r\n" + long_text + "\r\n" + long_text +
                           "\r\n\r\n[short]\r\nv\r\n";
  MemoryByteSource whole(file);
  EXPECT_EQ(LookupLine(whole, "key").text, long_text.substr(0, kMaxLangTextSize));
  MemoryByteSource again(file);
  EXPECT_EQ(LookupBlock(again, "key", false).text, long_text.substr(0, kMaxLangTextSize));
  // Cut inside a line break: what is kept of the text is its beginning.
  const std::string lines = "[lines]\n" + std::string(kMaxLangTextSize - 1, 'y') + "\n" + "z\n";
  MemoryByteSource many_lines(lines);
  EXPECT_EQ(LookupBlock(many_lines, "lines", false).text, std::string(kMaxLangTextSize - 1, 'y') + "\r");
  MemoryByteSource odd_pieces(file, 4099);
  EXPECT_EQ(LookupLine(odd_pieces, "short").text, "v");
}

TEST(LangFileFormatTest, LookupsDoNotCarryTheirKindOver) {
  const std::string file = "[key]\nfirst\nsecond\n\n";
  MemoryByteSource block_source(file);
  EXPECT_EQ(LookupBlock(block_source, "key", false).text, "first\r\nsecond");
  MemoryByteSource line_source(file);
  EXPECT_EQ(LookupLine(line_source, "key").text, "first");
}

// A source that fails after handing out some bytes.
class FailingSource final : public ByteSource {
 public:
  FailingSource(std::string bytes, std::size_t good) : bytes_(std::move(bytes)), good_(good) {}
  bool Read(char* buffer, std::size_t capacity, std::size_t& got) override {
    if (offset_ >= good_) return false;
    got = std::min({capacity, good_ - offset_, std::size_t{5}});
    bytes_.copy(buffer, got, offset_);
    offset_ += got;
    return true;
  }

 private:
  std::string bytes_;
  std::size_t good_;
  std::size_t offset_ = 0;
};

TEST(LangFileFormatTest, ReadErrorsSpoilTheLookup) {
  const std::string file = "[a]\nalpha\n[key]\nl1\nl2\nl3\n\n[z]\nzed\n";
  struct Case {
    std::size_t good;
    Kind kind;
    LookupStatus status;
  } cases[] = {
      {0, Kind::kLine, LookupStatus::kReadError},
      {8, Kind::kLine, LookupStatus::kReadError},             // inside "[a]"'s value
      {file.find("l1") + 1, Kind::kLine, LookupStatus::kReadError},  // inside the value
      {file.find("l2") + 1, Kind::kLine, kFound},             // the value was read whole
      {file.find("l3"), Kind::kBlock, LookupStatus::kReadError},
      {file.find("[z]"), Kind::kBlock, kFound},               // the blank line was read
  };
  for (const Case& c : cases) {
    FailingSource source(file, c.good);
    const LookupResult got = c.kind == Kind::kLine ? LookupLine(source, "key") : LookupBlock(source, "key", false);
    EXPECT_EQ(got.status, c.status) << "fails after " << c.good;
    if (c.status == LookupStatus::kReadError) {
      EXPECT_EQ(got.text, "");
    }
  }
}

TEST(LangIntegerTest, AcceptedForms) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0},           {"1049", 1049},     {"   1049", 1049},       {"+7", 7},
      {"-7", -7},         {"  -12", -12},     {"007", 7},             {"$1F", 31},
      {"$ff", 255},       {"x10", 16},        {"X10", 16},            {"0x10", 16},
      {"0X1f", 31},       {"-$10", -16},      {"+0x10", 16},          {"-x1", -1},
      {"2147483647", 2147483647},             {"-2147483648", -2147483647 - 1},
      {"$7FFFFFFF", 2147483647},              {"-$80000000", -2147483647 - 1},
      {"0x000000000000000000001", 1},
  };
  for (const auto& c : cases) {
    std::int32_t value = 12345;
    EXPECT_TRUE(ParseLangInteger(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(LangIntegerTest, RejectedForms) {
  const char* cases[] = {
      "",    " ",       "1049 ",       "10 49",      "\t5",         "- 5",         "+",          "-",
      "$",   "x",       "0x",          "0x 1",       "$G",          "12a",         "1.0",        "--1",
      "+-1", "0b1",     "$-1",         "x+1",        "1\r",         "2147483648",  "-2147483649", "$80000000",
      "$FFFFFFFF",      "99999999999999999999",       "0x1FFFFFFFF", "\xd9\xa3",
  };
  for (const char* text : cases) {
    std::int32_t value = 12345;
    EXPECT_FALSE(ParseLangInteger(text, value)) << text;
    EXPECT_EQ(value, 12345) << text;
  }
}

}  // namespace
}  // namespace orvel
