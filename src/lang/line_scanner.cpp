// Block-wise line splitting of language files (see line_scanner.h).
#include "lang/line_scanner.h"

#include <algorithm>
#include <cstring>

namespace orvel {

namespace {

constexpr char kEndOfFile = 26;  // Ctrl-Z

// Appends `text` to `line` without its CRs.
void AppendWithoutCr(std::string& line, std::string_view text) {
  while (!text.empty()) {
    const void* cr = std::memchr(text.data(), '\r', text.size());
    const std::size_t length = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) : text.size();
    line.append(text.data(), length);
    text.remove_prefix(cr ? length + 1 : length);
  }
}

}  // namespace

bool MemoryByteSource::Read(char* buffer, std::size_t capacity, std::size_t& got) {
  got = std::min({capacity, piece_, bytes_.size()});
  if (got != 0) std::memcpy(buffer, bytes_.data(), got);
  bytes_.remove_prefix(got);
  return true;
}

LineScanner::LineScanner(ByteSource& source, std::size_t block_size)
    : source_(source),
      block_size_(block_size != 0 ? block_size : 1),
      read_size_(std::min(kFirstReadSize, block_size_)),
      block_(std::make_unique_for_overwrite<char[]>(block_size_)) {}

bool LineScanner::Fill() {
  if (begin_ < end_) return true;
  begin_ = end_ = 0;
  while (!source_done_) {
    std::size_t got = 0;
    const std::size_t capacity = read_size_;
    read_size_ = std::min(read_size_ * 2, block_size_);
    if (!source_.Read(block_.get(), capacity, got)) {
      failed_ = true;
      source_done_ = true;
      return false;
    }
    if (got == 0) {
      source_done_ = true;
      return false;
    }
    // Nothing after a Ctrl-Z belongs to the file: cut the block there, read no more.
    if (const void* stop = std::memchr(block_.get(), kEndOfFile, got)) {
      got = static_cast<std::size_t>(static_cast<const char*>(stop) - block_.get());
      source_done_ = true;
    }
    end_ = got;
    if (got != 0) return true;
  }
  return false;
}

bool LineScanner::AtEnd() { return !Fill(); }

int LineScanner::PeekByte() { return Fill() ? static_cast<unsigned char>(block_[begin_]) : -1; }

std::string_view LineScanner::ReadLine() {
  line_.clear();
  bool spanning = false;
  while (Fill()) {
    const char* start = block_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* found = std::memchr(start, '\n', available);
    const char* lf = static_cast<const char*>(found);
    const std::size_t length = lf ? static_cast<std::size_t>(lf - start) : available;
    begin_ += lf ? length + 1 : length;
    if (lf && !spanning) {
      // The usual line: whole in this block, at most a CR before its LF. Handed out
      // in place, without a copy.
      std::string_view text(start, length);
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      if (std::memchr(text.data(), '\r', text.size()) == nullptr) return text;
      AppendWithoutCr(line_, text);
      return line_;
    }
    AppendWithoutCr(line_, std::string_view(start, length));
    spanning = true;
    if (lf) break;
  }
  return line_;
}

void LineScanner::SkipLine() {
  while (Fill()) {
    const char* start = block_.get() + begin_;
    const void* lf = std::memchr(start, '\n', end_ - begin_);
    if (lf) {
      begin_ = static_cast<std::size_t>(static_cast<const char*>(lf) - block_.get()) + 1;
      return;
    }
    begin_ = end_;
  }
}

}  // namespace orvel
