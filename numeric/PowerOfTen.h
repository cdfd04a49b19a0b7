// Decimal scaling on 64-bit-significand reals (the x87 extended format).
#pragma once

#include <string_view>

// |n| at which ScaleByPowerOfTen gives 0 (n negative) or overflows (n positive).
inline constexpr int DecimalScaleLimit = 5120;

// The largest |exponent| a caller of DecimalDigitsValue needs to pass: a
// caller may clamp the exponent of a literal to it without changing the
// literal's value, as long as the literal has fewer than about this many
// digits (a billion).
inline constexpr int MaxDecimalScale = 1'000'000'000;

// x × 10^n: x is multiplied (n > 0) or divided (n < 0) by 10^(m mod 32), then
// 10^(32·((m div 32) mod 16)), then 10^(512·(m div 512)), m = |n|, each factor
// and each step rounded to a 64-bit significand. n ≤ −5120 gives 0; n ≥ 5120 is beyond the extended range unless x is 0.
long double ScaleByPowerOfTen(long double x, int n);

// The value of a decimal digit string of any length times 10^exponent, for
// the numbers of a formula. Leading zeros are skipped; a string of more than
// 20 significant digits has its trailing zeros counted into the exponent
// (1 and 5000 zeros reads as 1e5000 does); then the first 20
// significant digits are read as one integer N (N = 10·N + digit, exact up to
// 19 digits); when more follow, one more digit stands for all of them (1 when
// any is not 0, so that a tie is not mistaken), and the others are counted into
// the exponent. The result is ScaleByPowerOfTen(N, exponent + that count), so
// a literal of up to 20 significant digits keeps its value exactly, and a long
// one costs one pass over its digits. Sets no fault flag but the overflow of
// a value beyond the extended range.
long double DecimalDigitsValue(std::string_view digits, int exponent);

// The digit string read as one integer N = 10·N + digit in extended
// arithmetic, rounded at every step beyond 19 digits, however long it is:
// the reading of the number text routines. A string of more than about 4932
// digits overflows (its flag set, the value infinite).
long double DigitLoopValue(std::string_view digits);
