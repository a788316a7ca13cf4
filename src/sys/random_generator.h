// Names for the files a run creates (the console's output file, a fresh staging file),
// drawn from Windows' own random source. A name that others could work out in
// advance (from the clock, say) would let them prepare it; these cannot be foreseen.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

class WinResult;

// The name that eight random numbers give: one letter "a".."z" from each, its
// remainder by 26 (so 0 gives "a", 25 "z", 26 "a" again). Over 32 random bits each
// letter is as likely as any other to within one part in 160 million.
std::string RandomLetters(const std::uint32_t (&values)[8]);

// A fresh name of 8 lower-case letters from the system's random generator
// (RtlGenRandom) in `name`. Fails when the generator is missing or fails: there is
// no name to fall back on that others could not foresee.
WinResult RandomFileName(std::string& name);

}  // namespace orvel
