// ScaleByPowerOfTen: x times a power of ten in three correctly rounded steps,
// the scaling that both number text routines and the formula scanner share.
#include "numeric/PowerOfTen.h"

#include <algorithm>
#include <cstdint>

namespace {

// Powers of ten rounded to a 64-bit significand (the compiler rounds the
// literals correctly): 10^k, 10^(32k) and 10^(512k).
constexpr long double Units[32] = {
    1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L, 1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L,
    1e27L, 1e28L, 1e29L, 1e30L, 1e31L
};
constexpr long double ThirtyTwos[16] = {
    1e0L, 1e32L, 1e64L, 1e96L, 1e128L, 1e160L, 1e192L, 1e224L, 1e256L, 1e288L, 1e320L, 1e352L,
    1e384L, 1e416L, 1e448L, 1e480L
};
constexpr long double FiveTwelves[10] = {
    1e0L, 1e512L, 1e1024L, 1e1536L, 1e2048L, 1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L
};

// 10^19 − 1 < 2^64: this many digits read into a 64-bit integer exactly.
constexpr std::size_t ExactDecimalDigits = 19;
// Significant digits of a formula's number read as they stand.
constexpr std::size_t KeptDecimalDigits = 20;

} // namespace

long double ScaleByPowerOfTen(long double x, int n)
{
    if (n == 0)
        return x;
    if (n <= -DecimalScaleLimit)
        return 0.0L;
    if (n >= DecimalScaleLimit) // beyond the extended range whatever x is, unless x is 0
        return x * FiveTwelves[9] * FiveTwelves[9];

    const unsigned m = n < 0 ? static_cast<unsigned>(-n) : static_cast<unsigned>(n);
    const unsigned unit = m % 32, thirtyTwo = (m / 32) % 16, fiveTwelve = m / 512;
    if (n > 0) {
        x *= Units[unit];
        if (thirtyTwo != 0)
            x *= ThirtyTwos[thirtyTwo];
        if (fiveTwelve != 0)
            x *= FiveTwelves[fiveTwelve];
    } else {
        x /= Units[unit];
        if (thirtyTwo != 0)
            x /= ThirtyTwos[thirtyTwo];
        if (fiveTwelve != 0)
            x /= FiveTwelves[fiveTwelve];
    }
    return x;
}

long double DigitLoopValue(std::string_view digits)
{
    // Up to 19 digits every step is exact in the extended format and in a
    // 64-bit integer alike; the integer keeps the x87 latency off that path.
    const std::size_t exactCount = std::min(digits.size(), ExactDecimalDigits);
    std::uint64_t exact = 0;
    for (char c : digits.substr(0, exactCount))
        exact = exact * 10 + static_cast<std::uint64_t>(c - '0');
    long double n = static_cast<long double>(exact);
    for (char c : digits.substr(exactCount))
        n = n * 10.0L + static_cast<long double>(c - '0');
    return n;
}

long double DecimalDigitsValue(std::string_view digits, int exponent)
{
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return 0.0L;
    digits.remove_prefix(first);
    if (digits.size() <= KeptDecimalDigits)
        return ScaleByPowerOfTen(DigitLoopValue(digits), exponent);

    // A long way of writing a short number (1 and 5000 zeros) reads as the
    // short way does: its trailing zeros go into the exponent.
    long long scale = static_cast<long long>(exponent);
    const std::size_t last = digits.find_last_not_of('0');
    scale += static_cast<long long>(digits.size() - last - 1);
    digits = digits.substr(0, last + 1);

    // The dropped digits only decide a tie of the rounding: one digit
    // 0 or 1 carries that, and the rest only shift the exponent.
    const std::string_view kept = digits.substr(0, std::min(digits.size(), KeptDecimalDigits));
    const std::string_view rest = digits.substr(kept.size());
    const bool sticky = !rest.empty();  // it ends in a digit other than 0
    long double n = DigitLoopValue(kept);
    scale += static_cast<long long>(rest.size());
    if (sticky) {
        n = n * 10.0L + 1.0L;
        --scale;
    }
    // Beyond the limit the result is decided: 0 or an overflow.
    scale = std::clamp<long long>(scale, -DecimalScaleLimit, DecimalScaleLimit);
    return ScaleByPowerOfTen(n, static_cast<int>(scale));
}
