// The reading of integer values in the settings file: decimal with an
// optional sign, or hexadecimal after one of the prefixes the file format has
// always accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The 32-bit integer a settings value denotes, or nothing for an empty value,
// any other text, or a number outside the 32-bit range.
//
// A value longer than two characters that starts with "0x"/"0X" is
// hexadecimal digits after the prefix. Otherwise: leading spaces, then either
// an optional sign and decimal digits (−2147483648 to 2147483647), or "$",
// "x", "X", "0x" or "0X" and hexadecimal digits up to 8 digits' worth
// (0xFFFFFFFF is −1: the bit pattern, as colours are stored). Nothing may
// follow the digits.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);
