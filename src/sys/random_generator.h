// The process-wide pseudo-random generator: a 32-bit linear congruential generator
// (seed := seed * 134775813 + 1), seeded once from the clock at start-up. Its only
// use is naming temporary files, so it needs to be cheap and repeatable, not strong.
#pragma once

#include <cstdint>

namespace orvel {

class RandomGenerator {
 public:
  void Seed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t SeedValue() const { return seed_; }
  // Advances the generator and returns a value in [0, n): the high 32 bits of seed * n.
  std::uint32_t Below(std::uint32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
  }

 private:
  std::uint32_t seed_ = 0;
};

// The generator of the process.
RandomGenerator& ProcessRandom();

}  // namespace orvel
