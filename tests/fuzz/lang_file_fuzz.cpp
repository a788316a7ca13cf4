// Language files as someone else may have written them: the scanner must split them
// into the same lines however the file system hands out the bytes, and the lookups,
// integers, "langcode" blocks and placeholders must take any bytes.
//
// Input: a settings byte, then "key|arg1|arg2|arg3|arg4" up to a line break (the key
// and the arguments of the filled text), then the file.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "lang/language_file_format.h"
#include "lang/language_list.h"
#include "lang/line_scanner.h"
#include "lang/placeholders.h"

namespace orvel::fuzz {

namespace {

// Keys the installer looks up; half the inputs use one of them.
constexpr std::string_view kKeys[] = {"langver", "langcode", "progname", "langcharset", "installask", "starmoths"};

bool Same(const LookupResult& a, const LookupResult& b) { return a.status == b.status && a.text == b.text; }

// What the scanner hands out of `source`, line by line (the first byte it peeks at,
// then the line unless it is skipped), mixing reads and skips by `steps` the same way
// for every source.
std::string Lines(ByteSource& source, std::size_t block_size, std::string_view steps) {
  LineScanner scanner(source, block_size);
  std::string lines;
  for (std::size_t i = 0; !scanner.AtEnd(); ++i) {
    lines += static_cast<char>(scanner.PeekByte());
    if (!steps.empty() && (steps[i % steps.size()] & 1)) {
      scanner.SkipLine();
    } else {
      lines.append(scanner.ReadLine());
    }
    lines += '\n';
  }
  FUZZ_CHECK(!scanner.Failed());
  return lines;
}

}  // namespace

void LangFileInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint8_t settings = in.Byte();
  const std::size_t piece = 1 + settings % 61;
  const bool skip_first_line = settings & 0x40;
  std::string_view key = in.Until('|');
  if (settings & 0x80) key = kKeys[key.size() % std::size(kKeys)];
  std::vector<std::string_view> args;
  for (std::string_view arguments = in.Until('\n'); !arguments.empty() && args.size() < 4;) {
    const std::size_t end = arguments.find('|');
    args.push_back(arguments.substr(0, end));
    arguments.remove_prefix(end == std::string_view::npos ? arguments.size() : end + 1);
  }
  const std::string_view file = in.Rest();

  // The same bytes, read whole and in small pieces, give the same lines and values.
  MemoryByteSource whole_lines(file);
  MemoryByteSource piece_lines(file, piece);
  FUZZ_CHECK(Lines(whole_lines, LineScanner::kDefaultBlockSize, key) == Lines(piece_lines, piece + 1, key));

  MemoryByteSource whole(file), in_pieces(file, piece);
  const LookupResult line = LookupLine(whole, key);
  FUZZ_CHECK(Same(line, LookupLine(in_pieces, key)));
  MemoryByteSource whole_block(file), block_pieces(file, piece);
  const LookupResult block = LookupBlock(whole_block, key, skip_first_line);
  FUZZ_CHECK(Same(block, LookupBlock(block_pieces, key, skip_first_line)));
  // A block starts with its one-line value.
  FUZZ_CHECK(block.status == line.status);
  if (!skip_first_line) FUZZ_CHECK(block.text.compare(0, line.text.size(), line.text) == 0);

  std::int32_t number = 0;
  ParseLangInteger(line.text, number);
  LangcodesMatch(block.text, static_cast<std::uint32_t>(number));
  FUZZ_CHECK(FillPlaceholders(block.text, args).size() <= kMaxLangTextSize);
}

}  // namespace orvel::fuzz
