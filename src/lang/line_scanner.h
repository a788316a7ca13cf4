// Splits the bytes of a language file into lines, reading them in large blocks.
//
// Lines end with LF; every CR is dropped from a line's text (a CR before LF belongs
// to the line break, a CR alone is dropped). A byte 26 (Ctrl-Z) ends the file.
// Lines have no length limit. A read error ends the file as well and is remembered,
// so that a caller scans as usual and asks Failed() once at the end.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace orvel {

// Where a scanner's bytes come from: an open file, or memory in tests.
class ByteSource {
 public:
  // Fills `buffer` with up to `capacity` bytes and sets `got`; got = 0 at the end of
  // the data. False when the bytes cannot be read.
  virtual bool Read(char* buffer, std::size_t capacity, std::size_t& got) = 0;

 protected:
  ~ByteSource() = default;
};

// Bytes held in memory, handed out in pieces of at most `piece` bytes.
class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes, std::size_t piece = static_cast<std::size_t>(-1))
      : bytes_(bytes), piece_(piece) {}
  bool Read(char* buffer, std::size_t capacity, std::size_t& got) override;

 private:
  std::string_view bytes_;
  std::size_t piece_;
};

class LineScanner {
 public:
  // Reads start small, for the keys near the top of a file, and double up to the
  // block size for the long scans.
  static constexpr std::size_t kFirstReadSize = 4 * 1024;
  static constexpr std::size_t kDefaultBlockSize = 64 * 1024;

  explicit LineScanner(ByteSource& source, std::size_t block_size = kDefaultBlockSize);
  LineScanner(const LineScanner&) = delete;
  LineScanner& operator=(const LineScanner&) = delete;

  // True when no byte is left: after the last line, at a Ctrl-Z, or after a failed
  // read.
  bool AtEnd();
  // True once a read failed.
  bool Failed() const { return failed_; }

  // The next line's text without CRs; empty at the end. The view stays valid until
  // the next call.
  std::string_view ReadLine();
  // Passes over the next line without collecting it.
  void SkipLine();
  // The next unread byte (the first of the next line, as stored: it may be a CR or
  // the LF of an empty line), or -1 at the end.
  int PeekByte();

 private:
  // Reads the next block when the current one is used up. False at the end.
  bool Fill();

  ByteSource& source_;
  std::size_t block_size_;
  std::size_t read_size_;  // size of the next read
  std::unique_ptr<char[]> block_;
  std::size_t begin_ = 0;  // next unread byte of the block
  std::size_t end_ = 0;    // end of the valid bytes of the block
  bool source_done_ = false;
  bool failed_ = false;
  std::string line_;  // a line that spans blocks or holds a lone CR
};

}  // namespace orvel
