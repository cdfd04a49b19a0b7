// The tick step from the horizontal extent and the tick indices of a window.
#include "plot/core/Ticks.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

namespace {

TEST(Ticks, SplitMantissa)
{
    const struct { double v, m; std::int32_t e; } cases[] = {
        {0, 0, 0}, {2, 2, 0}, {35, 3.5, 1}, {0.7, 7, -1}, {0.1, 1, -1}, {1, 1, 0},
        // Only a positive value gets a mantissa in [1, 10): −2.5 is below 1 too.
        {-250, -25, 1},
    };
    for (const auto& c : cases) {
        double m;
        std::int32_t e;
        SplitMantissa(c.v, m, e);
        EXPECT_DOUBLE_EQ(m, c.m) << c.v;
        EXPECT_EQ(e, c.e) << c.v;
    }
}

TEST(Ticks, StepFromTheHorizontalExtent)
{
    const struct { double extent; long double step; } cases[] = {
        {20, 2}, {10, 1}, {35, 2.5}, {60, 5}, {7, 0.5}, {1, 0.1L}, {2000, 200}, {0.003, 0.00025L},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(TickStep(-c.extent / 2, c.extent / 2), c.step, c.step * 1e-18L) << "extent " << c.extent;
        EXPECT_NEAR(TickStep(c.extent, 0), c.step, c.step * 1e-18L) << "reversed extent " << c.extent;
    }
    EXPECT_EQ(TickStep(4, 4), 0.0L);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(Ticks, IndicesAreTheMultiplesInsideTheWindowEdgesIncluded)
{
    const struct { double lo, hi; long double step; std::int64_t first, last; } cases[] = {
        {-10, 10, 2, -5, 5},
        {-4.485, 4.485, 2, -2, 2},
        {1.3, 10.3, 2, 1, 5},
        {-30, -2.5, 2, -15, -2},
        {0.5, 0.7, 1, 1, 0},  // no multiple inside: none
    };
    for (const auto& c : cases) {
        const TTickIndices ticks = TickIndices(c.lo, c.hi, c.step);
        EXPECT_EQ(ticks.First, c.first) << c.lo << ".." << c.hi;
        EXPECT_EQ(ticks.Last, c.last) << c.lo << ".." << c.hi;
    }
    EXPECT_EQ(TickIndices(0.5, 0.7, 1).Count(), 0);
}

TEST(Ticks, ZeroStepFaults)
{
    EXPECT_THROW(TickIndices(1, 1, 0), EZeroDivide);
    EXPECT_THROW(TickIndices(0, 0, 0), EInvalidOp);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

}  // namespace
