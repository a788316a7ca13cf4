// The seal slot: the marker, then room for the digest, which the build tool writes
// after linking.
#include "install/integrity_slot_win.h"

__attribute__((section(".oseal"), used)) const orvel::SealSlotImage OrvelSealSlot = {orvel::kSealMarker, {}};
