// The fuzz targets over the code that reads input the installer does not control:
// language files, its own file before the seal is checked, version texts and fields,
// and the console's "ver" line. Each target takes one input of any bytes; a fault
// shows as a sanitizer report or as a failed check (FuzzCheck).
//
// The same functions run in two places: as libFuzzer targets (tests/fuzz, built with
// clang's -fsanitize=fuzzer) and in the native GoogleTest suite, which replays the
// seed corpus and every input that ever failed (tests/fuzz/regressions).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvel::fuzz {

// Language files: the line scanner, key and block lookups, integers, the "langcode"
// rule and placeholder filling.
void LangFileInput(const std::uint8_t* data, std::size_t size);
// The PE layout and seal of an installer image.
void SealLayoutInput(const std::uint8_t* data, std::size_t size);
// Version fields, the package header, the "langver" line and dotted versions.
void VersionInput(const std::uint8_t* data, std::size_t size);
// The "ver" text rules and the rest of the naming of Windows.
void OsVerInput(const std::uint8_t* data, std::size_t size);

struct Target {
  const char* name;  // also the folder of its corpus and regressions
  void (*run)(const std::uint8_t* data, std::size_t size);
};
inline constexpr Target kTargets[] = {
    {"lang_file", LangFileInput},
    {"seal_layout", SealLayoutInput},
    {"version", VersionInput},
    {"os_ver", OsVerInput},
};

// Called when a property that must hold for every input does not. The fuzzer stops
// with a crash report; the replaying test records a failure.
void CheckFailed(const char* condition, const char* file, int line);

}  // namespace orvel::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::orvel::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
