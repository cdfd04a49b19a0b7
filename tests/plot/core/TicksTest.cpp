// The tick step from the horizontal extent, the tick indices of a window and
// the stride of the labelled ticks.
#include "plot/core/Ticks.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

// Labels of `width` pixels (WideLabel for the indices in `wide`) at every
// `spacing` pixels along the axis (a negative spacing runs the way the
// vertical axis does), from index 0 at pixel 0; the labels of `onName` would
// touch the axis name.
constexpr std::int32_t WideLabel = 25;

struct TStrideCase {
    const char* Name;
    std::int64_t First, Last;
    std::int32_t Spacing, Width, Gap;
    long double Step;
    std::vector<std::int64_t> OnName, Wide;
    std::int64_t Stride;
};

TEST(Ticks, LabelStrideIsTheFirstAtWhichNoLabelsTouch)
{
    const TStrideCase cases[] = {
        {"all fit, a blank's width apart", -5, 5, 20, 13, 7, 1, {}, {}, 1},
        {"one pixel short of a blank", -5, 5, 20, 14, 7, 1, {}, {}, 2},
        {"after 2 comes 5", -20, 20, 10, 30, 7, 1, {}, {}, 5},
        {"a step of 2.5 takes 4 for 5", -20, 20, 10, 30, 7, 2.5L, {}, {}, 4},
        {"so does a step of 0.025", -20, 20, 10, 30, 7, 0.025L, {}, {}, 4},
        {"a step of 2 takes 5", -20, 20, 10, 30, 7, 2, {}, {}, 5},
        {"decades go on: 1, 2, 5, 10, 20, 50", -100, 100, 1, 30, 7, 1, {}, {}, 50},
        {"vertical, one pixel between", -5, 5, -13, 12, 1, 1, {}, {}, 1},
        {"vertical, none between", -5, 5, -13, 13, 1, 1, {}, {}, 2},
        // A label on the name is passed over, not the stride raised for it.
        {"the name on the last tick", -10, 10, 20, 13, 7, 1, {10}, {}, 1},
        {"the name over a label that would crowd", -5, 5, 20, 13, 7, 1, {4}, {4}, 1},
        {"the same, labels every other tick", -10, 10, 10, 13, 7, 1, {10}, {}, 2},
        // From the first tick every other label, 3, 5, 7, 9, is wide and
        // crowded; from 0 they are 4, 6, 8, narrow.
        {"the rhythm counts from 0", 3, 9, 10, 6, 1, 1, {}, {3, 5, 7, 9}, 2},
        {"far from 0", 1000, 1010, 10, 13, 7, 1, {}, {}, 2},
        {"no ticks", 1, 0, 10, 14, 7, 1, {}, {}, 0},
        {"only the tick of 0", 0, 0, 10, 14, 7, 1, {}, {}, 0},
        {"too wide for any stride", -3, 3, 10, 100, 7, 1, {}, {}, 0},
    };
    const auto holds = [](const std::vector<std::int64_t>& indices, std::int64_t k) {
        return std::find(indices.begin(), indices.end(), k) != indices.end();
    };
    for (const TStrideCase& c : cases) {
        const TTickIndices ticks{c.First, c.Last};
        std::vector<TTickLabel> labels;
        for (std::int64_t k = c.First; k <= c.Last; ++k) {
            const std::int32_t at = static_cast<std::int32_t>(k) * c.Spacing;
            labels.push_back({at, at + (holds(c.Wide, k) ? WideLabel : c.Width) - 1, holds(c.OnName, k)});
        }
        EXPECT_EQ(LabelStride(ticks, labels, c.Gap, c.Step), c.Stride) << c.Name;
    }
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

}  // namespace
