// Takes a fuzz input apart: a few leading bytes choose the settings of a run, the
// rest is the text or file under test. Past the end every byte reads as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
  std::uint32_t Dword() { return Word() | static_cast<std::uint32_t>(Word()) << 16; }
  bool Flag() { return Byte() & 1; }

  // The bytes up to the next `separator` (which is passed over), or all that is left.
  std::string_view Until(char separator) {
    const std::size_t end = rest_.find(separator);
    const std::string_view piece = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return piece;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

}  // namespace orvel::fuzz
