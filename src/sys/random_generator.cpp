// The process-wide generator instance (see random_generator.h).
#include "sys/random_generator.h"

namespace orvel {

RandomGenerator& ProcessRandom() {
  static RandomGenerator generator;
  return generator;
}

}  // namespace orvel
