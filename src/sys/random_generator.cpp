// Letters of a random name (see random_generator.h).
#include "sys/random_generator.h"

namespace orvel {

std::string RandomLetters(const std::uint32_t (&values)[8]) {
  std::string name(8, 'a');
  for (int i = 0; i < 8; ++i) name[i] = static_cast<char>('a' + values[i] % 26);
  return name;
}

}  // namespace orvel
