// Tests of the decimal scaling: its three factors, their order and rounding,
// checked against factors that strtold rounds independently.
#include "numeric/PowerOfTen.h"

#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

long double PowerOfTen(unsigned k)
{
    return std::strtold(("1e" + std::to_string(k)).c_str(), nullptr);
}

// x × 10^n computed step by step with the three factors of the scaling, each
// factor correctly rounded by strtold and each step stored to memory.
long double StepwiseScale(long double x, int n)
{
    const unsigned m = static_cast<unsigned>(std::abs(n));
    // A factor 10^0 is exact, so applying it changes nothing.
    const unsigned factors[3] = {m % 32, 32 * ((m / 32) % 16), 512 * (m / 512)};
    volatile long double result = x;
    for (unsigned k : factors)
        result = n > 0 ? result * PowerOfTen(k) : result / PowerOfTen(k);
    return result;
}

bool SameBits(long double a, long double b)
{
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

const long double Significands[] = {1.0L, 3.0L, 0.1L, 1.5L, 7.25e-3L, 123456789012345678.0L, 3.14159265358979323846L};

TEST(ScaleByPowerOfTen, FollowsTheThreeRoundedSteps)
{
    // A sweep, and the scales where one factor ends and the next begins.
    std::vector<int> scales = {1, 31, 32, 33, 511, 512, 513, 543, 544, 4607, 4608, 4931, 5119};
    for (int n = 2; n < 5119; n += 13)
        scales.push_back(n);
    for (long double x : Significands)
        for (int n : scales) {
            ASSERT_TRUE(SameBits(ScaleByPowerOfTen(x, n), StepwiseScale(x, n))) << "x=" << x << " n=" << n;
            ASSERT_TRUE(SameBits(ScaleByPowerOfTen(x, -n), StepwiseScale(x, -n))) << "x=" << x << " n=" << -n;
        }
}

// The steps round separately, so the result is not always the correctly
// rounded x × 10^n: somewhere in a sweep the two must part.
TEST(ScaleByPowerOfTen, DiffersFromOneRoundingSomewhere)
{
    int differences = 0;
    for (int n = 33; n < 4900; n += 7) {
        const long double correct = std::strtold(("3e" + std::to_string(n)).c_str(), nullptr);
        differences += ScaleByPowerOfTen(3.0L, n) != correct;
    }
    EXPECT_GT(differences, 0);
}

TEST(ScaleByPowerOfTen, ZeroScaleLeavesTheValue)
{
    const long double values[] = {0.0L, -0.0L, 1.0L, -2.5L, std::numeric_limits<long double>::denorm_min(),
                                  std::numeric_limits<long double>::max(), std::numeric_limits<long double>::infinity()};
    for (long double x : values)
        EXPECT_TRUE(SameBits(ScaleByPowerOfTen(x, 0), x)) << x;
}

TEST(ScaleByPowerOfTen, FarNegativeScaleGivesZero)
{
    const int scales[] = {-5120, -5121, -6000, std::numeric_limits<int>::min()};
    for (int n : scales)
        EXPECT_EQ(ScaleByPowerOfTen(1e4000L, n), 0.0L) << n;
    // Just inside the limit the steps still run: 1e4000 / 10^5119 is tiny but not 0.
    EXPECT_GT(ScaleByPowerOfTen(1e4000L, -5119), 0.0L);
}

TEST(ScaleByPowerOfTen, BeyondTheExtendedRange)
{
    EXPECT_TRUE(std::isinf(ScaleByPowerOfTen(1.0L, 4933)));
    EXPECT_GT(ScaleByPowerOfTen(1.0L, -4950), 0.0L); // a denormal, not yet 0
    EXPECT_EQ(ScaleByPowerOfTen(1.0L, -4960), 0.0L);
    ClearFpuExceptions(); // the overflow above left its flag
}

} // namespace
