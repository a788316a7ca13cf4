// The leading bytes of a package file: four magic bytes, then the version.
// In a "3bs" package byte 4 is skipped and byte 5 is the version; in any other
// package byte 4 holds the version plus 32. The installer never checks the magic;
// the build refuses to embed a package without it (tools/orvel_package.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvel {

struct PackageHeader {
  static constexpr std::size_t kMagicSize = 4;
  // Bytes needed to hold the version of a 3bs package (magic, skipped byte, version).
  static constexpr std::size_t k3bsSize = 6;
};

// True when the package extension (".3bs", "3bs", ...) names a 3bs package:
// it contains "3bs", exactly, in lower case.
bool Is3bsExtension(std::string_view extension);

// The installed version as the update run reads it from the leading bytes of a
// package file. A file too short to hold the version byte counts as byte 0, so
// a short 3bs package reads as 0 and a short other package as -32.
std::int32_t InstalledPackageVersion(std::string_view leading_bytes, bool is_3bs);

}  // namespace orvel
