// Property tests of the number texts against a second opinion (strtold), on
// random values and random texts from a fixed seed, so a failure reproduces.
#include "numeric/NumberText.h"
#include "WithSeparator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr std::uint64_t Seed = 20240611;
constexpr int Rounds = 20000;
// Fifteen significant digits hold a value to half a unit in the 15th digit.
constexpr long double FifteenDigitTolerance = 5e-15L;
// Up to 19 digits N is exact in a 64-bit significand, and so is 10^27: a
// text within these bounds is one rounding away from its value.
constexpr int MaxExactDigits = 19;
constexpr int MaxExactScale = 27;


// A finite double with uniformly random bits: every exponent, denormals included.
double RandomDouble(std::mt19937_64& random)
{
    for (;;) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value))
            return value;
    }
}

long double RelativeError(long double read, long double value)
{
    return value == 0 ? std::fabs(read) : std::fabs((read - value) / value);
}

TEST(NumberTextProperty, FifteenDigitsReadBack)
{
    std::mt19937_64 random(Seed);
    for (char separator : {'.', ','}) {
        const WithSeparator use(separator);
        for (int i = 0; i < Rounds; ++i) {
            const double value = RandomDouble(random);
            const std::string text = FormatGeneral(value, 15);
            ASSERT_LE(RelativeError(TextToNumber(text), value), FifteenDigitTolerance) << text;
        }
    }
}

// Over the whole extended range, denormals included, the text read by strtold.
TEST(NumberTextProperty, FifteenDigitsOverTheExtendedRange)
{
    std::mt19937_64 random(Seed + 1);
    std::uniform_int_distribution<int> exponent(-16440, 16380);
    for (int i = 0; i < Rounds; ++i) {
        const long double value = std::ldexp(static_cast<long double>(random()), exponent(random) - 63);
        if (value == 0 || std::isinf(value))
            continue;
        const std::string text = FormatGeneral(value, 15);
        // A denormal keeps fewer significant bits than the text has digits.
        const long double tolerance =
            std::fabs(value) < std::numeric_limits<long double>::min() ? 1e-4L : FifteenDigitTolerance;
        ASSERT_LE(RelativeError(std::strtold(text.c_str(), nullptr), value), tolerance) << text;
    }
}

// A random text of the reading grammar; `pointText` gets the same text with
// "." as separator, for strtold.
std::string RandomText(std::mt19937_64& random, char separator, std::string& pointText)
{
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); };
    auto digits = [&](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += static_cast<char>('0' + pick(10));
        return text;
    };
    const std::string blanks[] = {"", " ", "  "};
    const std::string signs[] = {"", "+", "-"};

    const int count = 1 + pick(MaxExactDigits);
    const int integerCount = pick(count + 1);
    const int fractionCount = count - integerCount;
    const bool separatorShown = fractionCount > 0 || pick(2) == 0;
    const std::string head = blanks[pick(3)] + signs[pick(3)] + digits(integerCount);
    const std::string tail = digits(fractionCount);

    std::string exponent;
    if (pick(2) == 0) {
        const int scale = pick(2 * MaxExactScale + 1) - MaxExactScale;
        const int value = scale + fractionCount; // the scale is this minus the fraction digits
        exponent = std::string(1, "eE"[pick(2)]) + (value < 0 ? "-" : signs[pick(2)]) +
                   std::string(pick(3), '0') + std::to_string(std::abs(value));
    }
    const std::string end = exponent + blanks[pick(3)];
    pointText = head + (separatorShown ? "." : "") + tail + end;
    return head + (separatorShown ? std::string(1, separator) : "") + tail + end;
}

TEST(NumberTextProperty, ReadingAgreesWithStrtold)
{
    std::mt19937_64 random(Seed + 2);
    for (char separator : {'.', ','}) {
        const WithSeparator use(separator);
        for (int i = 0; i < Rounds; ++i) {
            std::string pointText;
            const std::string text = RandomText(random, separator, pointText);
            const long double read = TextToNumber(text);
            const long double expected = std::strtold(pointText.c_str(), nullptr);
            ASSERT_EQ(read, expected) << '"' << text << '"';
            ASSERT_EQ(std::signbit(read), std::signbit(expected)) << '"' << text << '"';
        }
    }
}

} // namespace
