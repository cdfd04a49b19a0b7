// Pictures of several curves: each in its own colours, the fit covering all
// of them, and the legend in its corner, clear of the frame.
#include "PlotFixture.h"

#include "plot/drawing/Legend.h"

#include <memory>

namespace {

constexpr TColor Green = 0x00A000, Blue = 0xC00000, Magenta = 0xFF00FF, Yellow = 0x00FFFF;

TCurve Curve(const std::string& formula, TColor good, TColor bad = 0x0000FF)
{
    auto evaluator = std::make_shared<TRapidEvaluator>();
    evaluator->SetFormula(formula);
    evaluator->Compile();
    return {formula, good, bad, evaluator};
}

class Curves : public PlotFixture {};

TEST_F(Curves, EachCurveIsDrawnInItsOwnColoursOverTheSameRange)
{
    Request.Formula = "1";
    Request.MoreCurves = {Curve("2", Green, Magenta), Curve("sqrt(x)-2", Blue, Yellow)};
    const QImage picture = Plot(Request.Formula);
    const int left = Engine.WorldToPixelX(-9), right = Engine.WorldToPixelX(-1), width = right - left + 1;
    EXPECT_EQ(Count(picture, left, Engine.WorldToPixelY(1), right, Engine.WorldToPixelY(1), 0x000000), width);
    EXPECT_EQ(Count(picture, left, Engine.WorldToPixelY(2), right, Engine.WorldToPixelY(2), Green), width);
    // Where the third curve is undefined it runs along y = 0 in its own bad
    // colour, over the axis and its ticks, and never in its good colour.
    EXPECT_EQ(Count(picture, left, Engine.WorldToPixelY(0), right, Engine.WorldToPixelY(0), Yellow), width);
    EXPECT_EQ(Count(picture, 0, 0, right, picture.height() - 1, Blue), 0);
    // Where it is defined, every column of x from 1 to 9 holds its colour.
    for (int x = Engine.WorldToPixelX(1); x <= Engine.WorldToPixelX(9); ++x)
        EXPECT_GT(Count(picture, x, PlotMargin, x, picture.height() - PlotMargin, Blue), 0) << "column " << x;
    EXPECT_EQ(Engine.MoreSamples().size(), 2u);
}

TEST_F(Curves, PolarFitCoversTheLargestRadiusWhicheverCurveHasIt)
{
    const std::vector<std::vector<std::string>> orders = {{"3", "1", "2"}, {"1", "3", "2"}, {"1", "2", "3"}};
    for (const auto& order : orders) {
        Request = TPlotRequest();
        Request.Cartesian = false;
        Request.XlowText = "0";
        Request.XhighText = "6.3";
        Request.Formula = order[0];
        Request.MoreCurves = {Curve(order[1], Green), Curve(order[2], Blue)};
        Plot(order[0]);
        EXPECT_NEAR(Engine.View().YMax, 3.0, 1e-9) << order[0] << order[1] << order[2];
        EXPECT_NEAR(Engine.View().YMin, -3.0, 1e-9);
    }
}

TEST_F(Curves, LegendStandsInItsCornerClearOfTheFrameWithARowPerCurve)
{
    Request.Formula = "0.5";
    Request.MoreCurves = {Curve("-0.5", Green), Curve("x/4", Blue)};
    Request.Legend = TLegendPosition::None;
    const QImage without = Plot(Request.Formula);
    const int w = without.width(), h = without.height();
    const struct {
        TLegendPosition Position;
        bool Right, Bottom;
    } corners[] = {{TLegendPosition::TopRight, true, false},
                   {TLegendPosition::TopLeft, false, false},
                   {TLegendPosition::BottomLeft, false, true},
                   {TLegendPosition::BottomRight, true, true}};
    for (const auto& c : corners) {
        Request.Legend = c.Position;
        const QImage picture = Plot(Request.Formula);
        const QRect box = Difference(picture, without);
        const int at = static_cast<int>(c.Position);
        EXPECT_TRUE(QRect(PlotMargin + 1, PlotMargin + 1, w - 2 * PlotMargin - 1, h - 2 * PlotMargin - 1).contains(box))
            << at << ": the frame's lines stay as they were";
        // As far from the frame's line on either side.
        EXPECT_EQ(c.Right ? w - PlotMargin - box.right() : box.left() - PlotMargin, LegendInset) << at;
        EXPECT_EQ(c.Bottom ? h - PlotMargin - box.bottom() : box.top() - PlotMargin, LegendInset) << at;
        // The box's outline in the axes' colour, its rows one under another
        // in the curves' order.
        EXPECT_EQ(At(picture, box.left(), box.center().y()), Request.Drawing.AxisColor) << at;
        const auto topmost = [&](TColor colour) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                if (Count(picture, box.left(), y, box.right(), y, colour) > 0)
                    return y;
            return -1;
        };
        const int first = topmost(0x000000), second = topmost(Green), third = topmost(Blue);
        EXPECT_GT(first, box.top()) << at;
        EXPECT_GT(second, first) << at;
        EXPECT_GT(third, second) << at;
    }

    // Outside the plot area: the plot narrows, its frame (whose bottom row
    // runs unbroken) whole left of the box.
    Request.Legend = TLegendPosition::OutsideRight;
    const QImage outside = Plot(Request.Formula);
    int frameRight = PlotMargin;
    while (frameRight + 1 < w && At(outside, frameRight + 1, h - PlotMargin) == Request.Drawing.AxisColor)
        ++frameRight;
    EXPECT_EQ(At(outside, frameRight, PlotMargin), Request.Drawing.AxisColor);
    ASSERT_GT(frameRight, PlotMargin);
    EXPECT_LT(frameRight, w - PlotMargin - 60);
    for (const TColor colour : {Green, Blue}) {
        EXPECT_GT(Count(outside, frameRight + PlotMargin, PlotMargin, w - 1, h - 1, colour), 0);
        EXPECT_EQ(Count(outside, frameRight + 1, 0, frameRight + PlotMargin - 1, h - 1, colour), 0);
    }
}

TEST_F(Curves, TitleTextReplacesTheTitleLineAndAnEmptyOneLeavesItOut)
{
    Request.Formula = "100";  // above the window
    const QImage usual = Plot(Request.Formula);
    Request.Title = "";
    const QImage none = Plot(Request.Formula);
    EXPECT_EQ(Marked(none, 0, 0, none.width() - 1, PlotMargin - 1), 0);
    Request.Title = "Three waves";
    const QImage own = Plot(Request.Formula);
    const QRect changed = Difference(own, usual);
    EXPECT_GT(Marked(own, 0, 0, own.width() - 1, PlotMargin - 1), 0);
    EXPECT_LT(changed.bottom(), PlotMargin) << "only the title line changes";
}

}  // namespace
