// Navigation walks as the window takes them, the x range passing through its
// texts at every step: deep zooms that stop at the limit with the ends still
// apart, wheel turns that come back to where they began, the way out and
// back in, and the steps refused with the view left as it was.
#include "plot/core/ViewStep.h"

#include "plot/core/ViewWindow.h"

#include "numeric/FloatingPoint.h"

#include "WorldWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

namespace {

constexpr TPictureSize StartSize{507, 266};
// More steps than any walk to a limit takes.
constexpr int StepBound = 5000;

// A Cartesian window as the main window keeps it: the x range as the texts of
// its boxes, the y range as numbers.
struct TWalk {
    std::string LowText = "-10";
    std::string HighText = "10";
    double YLow = -1;
    double YHigh = 1;

    TViewWindow View() const
    {
        double low, high;
        EXPECT_TRUE(ReadUsableXRange(LowText, HighText, low, high)) << LowText << " .. " << HighText;
        return Window(low, high, YLow, YHigh);
    }

    // One step made from the window as the last plot drew it; the refusal's
    // text, or "" when the step was taken and its x range written back.
    std::string Step(const std::function<TViewStep(const TViewWindow&)>& stepAt)
    {
        const TViewWindow view = View();
        double low = view.XMin, high = view.XMax;
        const TWalk before = *this;
        try {
            StepView(low, high, YLow, YHigh, stepAt(view));
        } catch (const ENavigationLimit& refusal) {
            EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
            EXPECT_TRUE(LowText == before.LowText && HighText == before.HighText && YLow == before.YLow &&
                        YHigh == before.YHigh)
                << "a refused step changed the view";
            return refusal.what();
        }
        std::tie(LowText, HighText) = XRangeTexts(low, high);
        return "";
    }
};

TViewStep ClickZoom(double x, double y, bool zoomIn)
{
    return TZoomStep{x, y, zoomIn};
}

double Span(const TViewWindow& view)
{
    return view.XMax - view.XMin;
}

TEST(NavigationWalk, ClicksZoomInUntilTheLimitWithTheEndsApart)
{
    const struct { double x, y, deeperThan; } spots[] = {
        {-14.05, 0.5, 1e-9}, {0, 0, 1e-300}, {std::numbers::pi, 0.3, 1e-9}, {1e6, -0.7, 1e-4}};
    for (const auto& spot : spots) {
        TWalk walk;
        std::string refusal;
        int clicks = 0;
        while (refusal.empty() && clicks < StepBound) {
            const double before = Span(walk.View());
            refusal = walk.Step([&](const TViewWindow&) { return ClickZoom(spot.x, spot.y, true); });
            if (!refusal.empty())
                break;
            ++clicks;
            // Each click halves the span read back and keeps the spot at the centre.
            const TViewWindow after = walk.View();
            ASSERT_NEAR(Span(after), before / 2, before / 100) << walk.LowText << " .. " << walk.HighText;
            ASSERT_NEAR((after.XMin + after.XMax) / 2, spot.x, Span(after) / 100);
        }
        EXPECT_EQ(refusal, ZoomInLimitText) << "at " << spot.x;
        EXPECT_GE(clicks, 18) << "at " << spot.x;
        EXPECT_NE(walk.LowText, walk.HighText);
        EXPECT_LT(Span(walk.View()), spot.deeperThan) << "stopped early at " << spot.x;
    }
}

// The pointer rests on the pixel of (2.04, 0.5); each notch is made about the
// world point under it.
struct TWheelWalk : TWalk {
    std::int32_t X = WorldToPixelX(View(), StartSize, 2.04);
    std::int32_t Y = WorldToPixelY(View(), StartSize, 0.5);

    std::string Notch(int notches)
    {
        double x, y;
        return Step([&](const TViewWindow& view) {
            PixelToWorld(view, StartSize, X, Y, x, y);
            return TWheelStep{x, y, notches};
        });
    }
    // The world point stays under the pointer.
    void ExpectPointUnderPointer(double x, double y) const
    {
        EXPECT_NEAR(WorldToPixelX(View(), StartSize, x), X, 1) << LowText << " .. " << HighText;
        EXPECT_NEAR(WorldToPixelY(View(), StartSize, y), Y, 1);
    }
};

TEST(NavigationWalk, TheWheelInAndOutAsManyNotchesComesBack)
{
    for (const int notches : {60, 80, StepBound}) {
        TWheelWalk walk;
        int taken = 0;
        std::string refusal;
        for (; taken < notches; ++taken) {
            double x, y;
            PixelToWorld(walk.View(), StartSize, walk.X, walk.Y, x, y);
            refusal = walk.Notch(1);
            if (!refusal.empty())
                break;
            walk.ExpectPointUnderPointer(x, y);
        }
        if (notches == StepBound)
            EXPECT_EQ(refusal, ZoomInLimitText);
        else
            EXPECT_EQ(taken, notches);
        for (int i = 0; i < taken; ++i)
            ASSERT_EQ(walk.Notch(-1), "") << "notch " << i << " back";
        // Back within what the six-digit texts of the shallow notches let
        // drift: each of them keeps its ends within a tenth of a percent.
        const TViewWindow back = walk.View();
        EXPECT_NEAR(back.XMin, -10, 0.05) << taken << " notches";
        EXPECT_NEAR(back.XMax, 10, 0.05) << taken << " notches";
        EXPECT_NEAR(back.YMin, -1, 1e-5) << taken << " notches";
        EXPECT_NEAR(back.YMax, 1, 1e-5) << taken << " notches";
    }
}

TEST(NavigationWalk, ZoomOutUntilRefusedThenInAgain)
{
    TWalk walk;
    std::string refusal;
    int clicks = 0;
    while (refusal.empty() && clicks < StepBound) {
        refusal = walk.Step([](const TViewWindow&) { return ClickZoom(3, 0.2, false); });
        clicks += refusal.empty();
    }
    EXPECT_EQ(refusal, ZoomOutLimitText);
    EXPECT_GT(Span(walk.View()), 1e299);
    // At the limit the pans and a drag are refused alike, and nothing breaks.
    EXPECT_EQ(walk.Step([](const TViewWindow&) { return TPanStep{TPan::Right}; }), ZoomOutLimitText);
    EXPECT_EQ(walk.Step([](const TViewWindow&) { return TPanStep{TPan::Left}; }), ZoomOutLimitText);
    EXPECT_EQ(walk.Step([](const TViewWindow& view) { return TDragStep{Span(view), 0}; }), ZoomOutLimitText);
    for (int i = 0; i < clicks; ++i)
        ASSERT_EQ(walk.Step([](const TViewWindow&) { return ClickZoom(3, 0.2, true); }), "") << "click " << i;
    const TViewWindow back = walk.View();
    EXPECT_NEAR(back.XMin, -7, 0.02);
    EXPECT_NEAR(back.XMax, 13, 0.02);
}

TEST(NavigationStep, RefusedStepsAndStepsBackFromBeyondALimit)
{
    const double huge = std::numeric_limits<double>::max();
    const struct {
        const char* name;
        double xLow, xHigh, yLow, yHigh;
        TViewStep step;
        const char* refusal;
    } cases[] = {
        {"wheel far out", -10, 10, -1, 1, TWheelStep{2, 0, -1000000}, ZoomOutLimitText},
        {"wheel far in", -10, 10, -1, 1, TWheelStep{2, 0, 1000000}, ZoomInLimitText},
        {"wheel out about an end", -10, 10, -1, 1, TWheelStep{-10, -1, -1000000}, ZoomOutLimitText},
        {"wheel out of nothing", 5, 5, 1, 1, TWheelStep{5, 1, -1000000}, ZoomOutLimitText},
        {"pan up into overflow", -10, 10, 0, huge, TPanStep{TPan::Up}, ZoomOutLimitText},
        {"y alone collapses", -10, 10, 1, 1 + 1.5e-11, TZoomStep{0, 1, true}, ZoomInLimitText},
        {"drag past the largest end", -10, 10, -1, 1, TDragStep{-1e301, 0}, ZoomOutLimitText},
        {"a mirrored range", 10, -10, -1, 1, TZoomStep{2, 0, true}, ""},
        // Fitted to a huge curve: back toward usable, never further out.
        {"huge y, zoom in", -10, 10, -1e305, 1e305, TZoomStep{0, 0, true}, ""},
        {"huge y, pan up", -10, 10, -1e305, 1e305, TPanStep{TPan::Up}, ZoomOutLimitText},
        {"huge y, pan left", -10, 10, -1e305, 1e305, TPanStep{TPan::Left}, ""},
        // Typed too narrow: out is allowed, in is not.
        {"narrow x, zoom out", 1, 1 + 1e-13, -1, 1, TZoomStep{1, 0, false}, ""},
        {"narrow x, zoom in", 1, 1 + 1e-13, -1, 1, TZoomStep{1, 0, true}, ZoomInLimitText},
    };
    for (const auto& c : cases) {
        double xLow = c.xLow, xHigh = c.xHigh, yLow = c.yLow, yHigh = c.yHigh;
        std::string refusal;
        try {
            StepView(xLow, xHigh, yLow, yHigh, c.step);
        } catch (const ENavigationLimit& error) {
            refusal = error.what();
        }
        EXPECT_EQ(refusal, c.refusal) << c.name;
        EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << c.name;
        if (!refusal.empty())
            EXPECT_TRUE(xLow == c.xLow && xHigh == c.xHigh && yLow == c.yLow && yHigh == c.yHigh) << c.name;
        else
            EXPECT_FALSE(xLow == c.xLow && xHigh == c.xHigh && yLow == c.yLow && yHigh == c.yHigh) << c.name;
    }
}

}  // namespace
