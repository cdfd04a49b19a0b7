// Decimal scaling on 64-bit-significand reals (the x87 extended format).
#pragma once

#include <string_view>

// |n| at which ScaleByPowerOfTen gives 0 (n negative) or overflows (n positive).
inline constexpr int MaxDecimalScale = 5120;

// x × 10^n: x is multiplied (n > 0) or divided (n < 0) by 10^(m mod 32), then
// 10^(32·((m div 32) mod 16)), then 10^(512·(m div 512)), m = |n|, each factor
// and each step rounded to a 64-bit significand. n ≤ −5120 gives 0.
long double ScaleByPowerOfTen(long double x, int n);

// The value of a decimal digit string read as one integer N (N = 10·N + digit,
// exact up to 19 digits) times 10^exponent: ScaleByPowerOfTen(N, exponent).
long double DecimalDigitsValue(std::string_view digits, int exponent);
