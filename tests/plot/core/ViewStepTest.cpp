// Navigation walks as the window takes them, the x range passing through its
// texts at every step: deep zooms that stop at the limit with the ends still
// apart, wheel turns that come back, the way out and back in, and the steps
// refused with the view left as it was.
#include "plot/core/ViewStep.h"

#include "plot/core/ViewWindow.h"

#include "numeric/FloatingPoint.h"

#include "WorldWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <numbers>
#include <string>

namespace {

constexpr TPictureSize StartSize{507, 266};
// More steps than any walk to a limit takes.
constexpr int StepBound = 5000;

using TStepAt = std::function<TViewStep(const TViewWindow&)>;

// A Cartesian view as the main window keeps it: the x range as the texts of
// its boxes, the y range as numbers.
struct TWalk {
    std::string Low = "-10", High = "10";
    double YLow = -1, YHigh = 1;

    TViewWindow View() const
    {
        double low = 0, high = 0;
        EXPECT_TRUE(ReadUsableXRange(Low, High, low, high)) << Low << " .. " << High;
        return Window(low, high, YLow, YHigh);
    }

    // One step from the window the last plot drew; the refusal's text, or ""
    // when the step was taken and its x range written back.
    std::string Step(const TStepAt& stepAt)
    {
        const TViewWindow view = View();
        double low = view.XMin, high = view.XMax, yLow = YLow, yHigh = YHigh;
        try {
            StepView(low, high, yLow, yHigh, stepAt(view));
        } catch (const ENavigationLimit& refusal) {
            EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
            EXPECT_TRUE(low == view.XMin && high == view.XMax && yLow == YLow && yHigh == YHigh);
            return refusal.what();
        }
        std::tie(Low, High) = XRangeTexts(low, high);
        YLow = yLow;
        YHigh = yHigh;
        return "";
    }

    // Steps until one is refused; the number taken and the refusal.
    std::pair<int, std::string> Repeat(const TStepAt& stepAt, const std::function<void()>& afterEach = [] {})
    {
        for (int taken = 0; taken < StepBound; ++taken) {
            if (std::string refusal = Step(stepAt); !refusal.empty())
                return {taken, refusal};
            afterEach();
        }
        return {StepBound, ""};
    }
};

TEST(NavigationWalk, ClicksZoomInUntilTheLimitWithTheEndsApart)
{
    const struct { double x, y, deeperThan; } spots[] = {
        {-14.05, 0.5, 1e-9}, {0, 0, 1e-300}, {std::numbers::pi, 0.3, 1e-9}, {1e6, -0.7, 1e-4}};
    for (const auto& spot : spots) {
        TWalk walk;
        double span = 20;
        // Each click halves the span read back and keeps the spot at the centre.
        const auto [clicks, refusal] = walk.Repeat([&](const TViewWindow&) { return TZoomStep{spot.x, spot.y, true}; },
                                                   [&] {
                                                       const TViewWindow view = walk.View();
                                                       ASSERT_NEAR(view.XMax - view.XMin, span / 2, span / 100);
                                                       ASSERT_NEAR(view.XMin + view.XMax, 2 * spot.x, span / 100);
                                                       span = view.XMax - view.XMin;
                                                   });
        EXPECT_EQ(refusal, ZoomInLimitText) << "at " << spot.x;
        EXPECT_GE(clicks, 18) << "at " << spot.x;
        EXPECT_LT(span, spot.deeperThan) << "stopped early at " << spot.x;
    }
}

TEST(NavigationWalk, TheWheelInAndOutAsManyNotchesComesBack)
{
    for (const int notches : {60, 80, StepBound}) {
        TWalk walk;
        // The pointer rests on the pixel of (2.04, 0.5); each notch is made
        // about the world point under it, which stays under it.
        const std::int32_t X = WorldToPixelX(walk.View(), StartSize, 2.04), Y = WorldToPixelY(walk.View(), StartSize, 0.5);
        double x, y;
        const auto notch = [&](int n) {
            return [&, n](const TViewWindow& view) {
                PixelToWorld(view, StartSize, X, Y, x, y);
                return TViewStep{TWheelStep{x, y, n}};
            };
        };
        int taken = 0;
        for (; taken < notches; ++taken) {
            if (!walk.Step(notch(1)).empty())
                break;
            ASSERT_NEAR(WorldToPixelX(walk.View(), StartSize, x), X, 1) << walk.Low << " .. " << walk.High;
            ASSERT_NEAR(WorldToPixelY(walk.View(), StartSize, y), Y, 1);
        }
        EXPECT_EQ(taken == notches, notches != StepBound) << "the wheel zoomed in without end";
        for (int i = 0; i < taken; ++i)
            ASSERT_EQ(walk.Step(notch(-1)), "") << "notch " << i << " back";
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
    const auto [clicks, refusal] = walk.Repeat([](const TViewWindow&) { return TZoomStep{3, 0.2, false}; });
    EXPECT_EQ(refusal, ZoomOutLimitText);
    EXPECT_GT(walk.View().XMax, 1e299);
    // At the limit the pans and a drag are refused alike.
    for (const TViewStep step : {TViewStep{TPanStep{TPan::Right}}, TViewStep{TPanStep{TPan::Left}},
                                 TViewStep{TDragStep{-1e300, 0}}})
        EXPECT_EQ(walk.Step([&](const TViewWindow&) { return step; }), ZoomOutLimitText);
    for (int i = 0; i < clicks; ++i)
        ASSERT_EQ(walk.Step([](const TViewWindow&) { return TZoomStep{3, 0.2, true}; }), "") << "click " << i;
    EXPECT_NEAR(walk.View().XMin, -7, 0.02);
    EXPECT_NEAR(walk.View().XMax, 13, 0.02);
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
        {"wheel out of nothing", 5, 5, 1, 1, TWheelStep{5, 1, -1000000}, ZoomOutLimitText},
        {"pan up into overflow", -10, 10, 0, huge, TPanStep{TPan::Up}, ZoomOutLimitText},
        {"y alone collapses", -10, 10, 1, 1 + 1.5e-11, TZoomStep{0, 1, true}, ZoomInLimitText},
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
        const bool unchanged = xLow == c.xLow && xHigh == c.xHigh && yLow == c.yLow && yHigh == c.yHigh;
        EXPECT_EQ(unchanged, !refusal.empty()) << c.name;
    }
}

}  // namespace
