// Names for the files a run creates (the console's output file, a fresh staging file),
// drawn from Windows' own random source. A name that others could work out in
// advance (from the clock, say) would let them prepare it; these cannot be foreseen.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// The last eight digits of `value` in base 26, written with the letters "a".."z"
// (so 0 is "aaaaaaaa", 25 is "aaaaaaaz"). Over 64 random bits every name is as likely
// as any other to within one part in 80 million.
std::string RandomLetters(std::uint64_t value);

// A fresh name of 8 lower-case letters from the system's random generator
// (RtlGenRandom).
std::string RandomFileName();

}  // namespace orvel
