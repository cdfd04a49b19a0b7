// The checked arithmetic of the program's own computations: 32-bit integer
// sums that raise EIntOverflow instead of wrapping, the truncation of a real
// to an integer, and divisions that fault like the x87 unit would.
//
// They sit in drawing loops, so the common path is one inline comparison;
// raising goes out of line, and a floating-point fault resets the unit first
// (RaiseFpuFault), leaving the control word and the status flags as after
// start-up.
#pragma once

#include "numeric/FloatingPoint.h"

#include <cmath>
#include <cstdint>

[[noreturn]] void RaiseIntOverflow();

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t result;
    if (__builtin_add_overflow(a, b, &result))
        RaiseIntOverflow();
    return result;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b)
{
    std::int32_t result;
    if (__builtin_sub_overflow(a, b, &result))
        RaiseIntOverflow();
    return result;
}

inline std::int32_t CheckedNeg(std::int32_t a)
{
    return CheckedSub(0, a);
}

// −2^63 − 1 and 2^63 are both exact in the 64-bit significand, so a value
// strictly between them is one whose truncation fits a signed 64-bit integer.
inline constexpr long double TruncLowerBound = -9223372036854775809.0L;
inline constexpr long double TruncUpperBound = 9223372036854775808.0L;
inline constexpr long double SafeRoundingBound = 4611686018427387904.0L;  // 2^62

// The real truncated toward zero; EInvalidOp when the truncation lies outside
// the signed 64-bit range (a NaN included), as the x87 integer store would
// report it.
inline std::int64_t TruncToInt64(long double value)
{
    if (!(value > TruncLowerBound && value < TruncUpperBound))
        RaiseFpuFault(StatusInvalid);
    // Rounded in the unit's own rounding mode, then moved one step back toward
    // zero where that went past the value: the truncation, without the two
    // loads of the control word that a truncating store needs, which cost more
    // than the rest of a pixel mapping. Far from the bounds, so that rounding
    // cannot leave the 64-bit range.
    if (value > -SafeRoundingBound && value < SafeRoundingBound) [[likely]] {
        std::int64_t rounded;
        asm("fistpll %0" : "=m"(rounded) : "t"(value) : "st");
        if (value >= 0 ? rounded > value : rounded < value)
            rounded += value >= 0 ? -1 : 1;
        return rounded;
    }
    return static_cast<std::int64_t>(value);
}

// The conversion as the pixel and tick code uses it: the low 32 bits of the
// 64-bit truncation, so 2^32 + 5 becomes 5 without a fault.
inline std::int32_t TruncToLow32(long double value)
{
    return static_cast<std::int32_t>(TruncToInt64(value));
}

// a / b, faulting where the x87 division would: a finite nonzero a over zero
// is a division by zero, 0/0 an invalid operation. An infinite or NaN
// dividend passes as the unit lets it.
inline long double CheckedDivide(long double a, long double b)
{
    if (b == 0.0L) [[unlikely]] {
        if (a == 0.0L)
            RaiseFpuFault(StatusInvalid);
        if (std::isfinite(a))
            RaiseFpuFault(StatusZeroDivide);
    }
    return a / b;
}
