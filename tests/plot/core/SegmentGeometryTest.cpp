// Cuts of Cartesian segments, polar points, the outside test and clipping.
#include "plot/core/SegmentGeometry.h"

#include "numeric/FloatingPoint.h"

#include "WorldWindow.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

struct TSegment {
    double xa, ya, xb, yb;
};

TEST(CartesianCut, SkipsOnlyWhatLiesStrictlyBeyondOneEdge)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    const struct { TSegment in; bool drawn; TSegment out; } cases[] = {
        {{0, 0.5, 1, -0.5}, true, {0, 0.5, 1, -0.5}},      // inside
        {{0, 2, 1, 3}, false, {}},                        // above
        {{0, -2, 1, -3}, false, {}},                      // below
        {{0, 1, 1, 1}, true, {0, 1, 1, 1}},               // along the top edge
        {{0, 0, 1, 2}, true, {0, 0, 0.5, 1}},             // leaves at the top
        {{0, -3, 1, 1}, true, {0.5, -1, 1, 1}},           // enters from below
        {{0, 3, 1, -3}, true, {1.0 / 3, 1, 2.0 / 3, -1}}, // crosses the whole extent
    };
    for (const auto& c : cases) {
        TSegment s = c.in;
        ASSERT_EQ(CutAtVerticalExtent(view, s.xb - s.xa, s.xa, s.ya, s.xb, s.yb), c.drawn)
            << c.in.xa << "," << c.in.ya << " - " << c.in.xb << "," << c.in.yb;
        if (!c.drawn)
            continue;
        EXPECT_DOUBLE_EQ(s.xa, c.out.xa);
        EXPECT_DOUBLE_EQ(s.ya, c.out.ya);
        EXPECT_DOUBLE_EQ(s.xb, c.out.xb);
        EXPECT_DOUBLE_EQ(s.yb, c.out.yb);
    }
}

TEST(CartesianCut, SteepSegmentBetweenHugeSamplesIsStillCut)
{
    // The slope exceeds the double range: the segment is cut, not a fault.
    const TViewWindow view = Window(-10, 10, -1, 1);
    double xa = 0, ya = -DBL_MAX, xb = 0.01, yb = DBL_MAX;
    ASSERT_TRUE(CutAtVerticalExtent(view, 0.01, xa, ya, xb, yb));
    EXPECT_NEAR(xa, 0.005, 1e-12);
    EXPECT_NEAR(xb, 0.005, 1e-12);
    EXPECT_EQ(ya, -1.0);
    EXPECT_EQ(yb, 1.0);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(PolarPoint, CosineAndSineOfTheAngle)
{
    double x, y;
    PolarToCartesian(0, 2, x, y);
    EXPECT_EQ(x, 2.0);
    EXPECT_EQ(y, 0.0);
    PolarToCartesian(M_PI / 2, 1, x, y);
    EXPECT_NEAR(x, 0, 1e-16);
    EXPECT_EQ(y, 1.0);
    // A negative radius lies on the opposite side.
    PolarToCartesian(M_PI / 4, -1, x, y);
    EXPECT_NEAR(x, -M_SQRT1_2, 2e-16);
    EXPECT_NEAR(y, -M_SQRT1_2, 2e-16);
}

TEST(PolarPoint, UnreducibleAnglesLieAtTheOrigin)
{
    double x, y;
    for (double angle : {9223372036854775808.0, -9223372036854775808.0, 1e19, 1e300}) {
        PolarToCartesian(angle, 5, x, y);
        EXPECT_EQ(x, 0.0) << angle;
        EXPECT_EQ(y, 0.0) << angle;
    }
    // Just below 2^63 the unit still reduces the angle.
    PolarToCartesian(9223372036854774784.0, 1, x, y);
    EXPECT_NEAR(std::hypot(x, y), 1.0, 1e-15);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(PolarOutside, BothEndsOnOrBeyondTheSameEdge)
{
    const TViewWindow view = Window(-2, 2, -1, 1);
    const struct { TSegment s; bool outside; } cases[] = {
        {{0, 1, 1, 1}, true},       // along the top edge
        {{0, 1, 1, 0.5}, false},
        {{-3, 0, -2, 5}, true},     // left
        {{2, 0, 3, 0}, true},       // right, one end on the edge
        {{-3, 0, 3, 0}, false},     // across
        {{0, -1, 0, -2}, true},     // bottom
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutsideWindow(view, c.s.xa, c.s.ya, c.s.xb, c.s.yb), c.outside)
            << c.s.xa << "," << c.s.ya << " - " << c.s.xb << "," << c.s.yb;
}

TEST(PolarClip, EndsMoveOntoTheEdges)
{
    const TViewWindow view = Window(-2, 2, -1, 1);
    const struct { TSegment in, out; } cases[] = {
        {{0, 0, 0, 5}, {0, 0, 0, 1}},             // vertical: only y is limited
        {{0, -5, 0, 5}, {0, -1, 0, 1}},
        {{-4, 0, 4, 0}, {-2, 0, 2, 0}},           // horizontal: c = 0, left and right cuts
        {{0, 0, 4, 4}, {0, 0, 1, 1}},             // through the top edge
        // y = x/2 + 0.5: the bottom cut puts the start at (−3, −1), then the
        // left cut moves it on to (−2, −0.5).
        {{-4, -1.5, 4, 2.5}, {-2, -0.5, 1, 1}},
    };
    for (const auto& c : cases) {
        TSegment s = c.in;
        ClipSegment(view, s.xa, s.ya, s.xb, s.yb);
        EXPECT_DOUBLE_EQ(s.xa, c.out.xa);
        EXPECT_DOUBLE_EQ(s.ya, c.out.ya);
        EXPECT_DOUBLE_EQ(s.xb, c.out.xb);
        EXPECT_DOUBLE_EQ(s.yb, c.out.yb);
    }
}

TEST(PolarClip, PassingByACornerIsRemovedByTheSecondTest)
{
    // The line y = x + 3.1 passes the top-left corner (−2, 1) without entering.
    const TViewWindow view = Window(-2, 2, -1, 1);
    TSegment s{-3, 0.1, -1, 2.1};
    ASSERT_FALSE(OutsideWindow(view, s.xa, s.ya, s.xb, s.yb));
    ClipSegment(view, s.xa, s.ya, s.xb, s.yb);
    EXPECT_TRUE(OutsideWindow(view, s.xa, s.ya, s.xb, s.yb));
}

}  // namespace
