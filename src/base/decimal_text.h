// Decimal text of an integer, without the C runtime's formatted printing.
#pragma once

#include <cstdint>
#include <string>

namespace orvel {

std::string DecimalText(std::int64_t value);

}  // namespace orvel
