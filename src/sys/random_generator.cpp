// Letters of a random name (see random_generator.h).
#include "sys/random_generator.h"

namespace orvel {

std::string RandomLetters(std::uint64_t value) {
  std::string name(8, 'a');
  for (auto letter = name.rbegin(); letter != name.rend(); ++letter, value /= 26) *letter += value % 26;
  return name;
}

}  // namespace orvel
