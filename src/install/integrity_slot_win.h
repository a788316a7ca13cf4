// The seal slot object that the installer carries in its section ".oseal" (see
// integrity_layout.h for its form).
#pragma once

#include <array>
#include <cstdint>

#include "install/integrity_layout.h"

namespace orvel {

struct SealSlotImage {
  std::array<std::uint8_t, kSealMarkerSize> marker;
  std::array<std::uint8_t, kSealDigestSize> digest;
};
static_assert(sizeof(SealSlotImage) == kSealSlotSize);

}  // namespace orvel

// No code of the installer refers to it (the check reads the slot from the file), so
// the installer's link names it to keep it (cmake/seal.cmake).
extern "C" const orvel::SealSlotImage OrvelSealSlot;
