// Decoding of the package header (see package_header.h).
#include "install/package_header.h"

namespace orvel {

bool Is3bsExtension(std::string_view extension) {
  return extension.find("3bs") != std::string_view::npos;
}

std::int32_t InstalledPackageVersion(std::string_view leading_bytes, bool is_3bs) {
  const std::size_t offset = PackageHeader::kMagicSize + (is_3bs ? 1 : 0);
  std::int32_t value = 0;
  if (leading_bytes.size() > offset) value = static_cast<unsigned char>(leading_bytes[offset]);
  return is_3bs ? value : value - 32;
}

}  // namespace orvel
