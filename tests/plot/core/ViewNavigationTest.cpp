// The moves of the world window: pans, click zoom, drag and wheel on the two
// ends of an axis, the fault that stops a move half way, the wheel's notches
// and the position readout.
#include "plot/core/ViewNavigation.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include "WorldWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

constexpr TPictureSize StartSize{507, 266};

TEST(ViewNavigation, EachMoveGivesTheEndsOfItsAxis)
{
    const struct {
        const char* move;
        double low, high;
        std::function<void(double&, double&)> apply;
        double newLow, newHigh;
    } cases[] = {
        {"pan left", -10, 10, PanLeft, -14, 6},
        {"pan right", -10, 10, PanRight, -6, 14},
        {"pan up", -1, 1, PanUp, -0.6, 1.4},
        {"pan down", -1, 1, PanDown, -1.4, 0.6},
        {"zoom in about 2", -10, 10, [](double& l, double& h) { ZoomAbout(l, h, 2, true); }, -3, 7},
        {"zoom in about 1", -1, 1, [](double& l, double& h) { ZoomAbout(l, h, 1, true); }, 0.5, 1.5},
        {"zoom out about 2", -10, 10, [](double& l, double& h) { ZoomAbout(l, h, 2, false); }, -18, 22},
        {"zoom out about 1", -1, 1, [](double& l, double& h) { ZoomAbout(l, h, 1, false); }, -1, 3},
        {"drag by 3", -10, 10, [](double& l, double& h) { DragBy(l, h, 3); }, -13, 7},
        {"wheel forward", 0, 10, [](double& l, double& h) { WheelZoomAbout(l, h, 5, 1); }, 1, 9},
        {"wheel backward", 0, 10, [](double& l, double& h) { WheelZoomAbout(l, h, 5, -1); }, -1.25, 11.25},
        {"wheel about an end", 0, 10, [](double& l, double& h) { WheelZoomAbout(l, h, 0, 2); }, 0, 6.4},
    };
    for (const auto& c : cases) {
        double low = c.low, high = c.high;
        c.apply(low, high);
        EXPECT_DOUBLE_EQ(low, c.newLow) << c.move;
        EXPECT_DOUBLE_EQ(high, c.newHigh) << c.move;
    }
}

TEST(ViewNavigation, AnOverflowStopsAMoveWithTheEndsChangedSoFar)
{
    // Pan up moves Low first; High, at the old span above it, overflows.
    const double huge = std::numeric_limits<double>::max();
    double low = 0, high = huge;
    EXPECT_THROW(PanUp(low, high), EOverflow);
    ResetFpu();
    EXPECT_EQ(low, StoreDouble(huge / 5.0L));
    EXPECT_EQ(high, huge);
    // Pan left moves Low first, and that end overflows: nothing changed.
    low = -huge;
    high = 0;
    EXPECT_THROW(PanLeft(low, high), EOverflow);
    ResetFpu();
    EXPECT_EQ(low, -huge);
    EXPECT_EQ(high, 0);
}

TEST(ViewNavigation, WheelTurnsAddUpToWholeNotches)
{
    const struct { int delta, notches, left; } turns[] = {
        {60, 0, 60}, {60, 1, 0}, {-250, -2, -10}, {130, 1, 0}, {-119, 0, -119}, {480, 3, 1},
    };
    int angle = 0;
    for (const auto& t : turns) {
        EXPECT_EQ(TakeWheelNotches(angle, t.delta), t.notches) << "turn of " << t.delta;
        EXPECT_EQ(angle, t.left) << "turn of " << t.delta;
    }
}

TEST(ViewNavigation, DragOffsetAndReadoutUseTheWindowOfThePicture)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    double dx, dy;
    DragOffset(view, StartSize, 35, 35, 472, 231, dx, dy);
    EXPECT_EQ(dx, 20);
    EXPECT_EQ(dy, -2);

    // Columns 253 and 254 lie either side of x = 0 and row 133 on y = 0; their
    // readout is exactly 0, a column further out reads as it maps.
    const struct { std::int32_t X, Y; bool xZero, yZero; } pixels[] = {
        {253, 133, true, true}, {254, 132, true, false}, {255, 134, false, false}, {100, 60, false, false}};
    for (const auto& p : pixels) {
        double x, y, mappedX, mappedY;
        ReadoutPosition(view, StartSize, p.X, p.Y, x, y);
        PixelToWorld(view, StartSize, p.X, p.Y, mappedX, mappedY);
        EXPECT_EQ(x, p.xZero ? 0.0 : mappedX) << p.X << ", " << p.Y;
        EXPECT_EQ(y, p.yZero ? 0.0 : mappedY) << p.X << ", " << p.Y;
        EXPECT_NE(mappedX, 0.0);
    }
}

}  // namespace
