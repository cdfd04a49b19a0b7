// The integer text form of the settings file and of the renderer's colour
// options: decimal with an optional sign, or hexadecimal.
#pragma once

#include <cstdint>
#include <string_view>

// Reads leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Decimal values must
// fit a signed 32-bit integer; hexadecimal ones take up to 32 bits, so
// $FFFFFFFF is −1. False for any other text, the empty one included.
bool ReadIntegerText(std::string_view text, std::int32_t& value);
