// The two reading aids in the picture: a y extent fitted to the curve, and
// the scale of an axis out of view kept on the frame.
#include "PlotFixture.h"

#include <cmath>

namespace {

using ReadingAids = PlotFixture;

constexpr TColor Curve = 0x000000;
constexpr TColor Axis = 0x808080;

// The texts frame and axes draw, with their boxes, for the view of the last plot.
std::vector<TPlotCanvas::TDrawnText> AxisTexts(TPlotEngine& engine, const TPlotRequest& request)
{
    TPlotCanvas canvas(engine.PictureSize());
    engine.DrawFrame(canvas, request);
    engine.DrawAxes(canvas, request);
    return canvas.DrawnTexts();
}

TEST_F(ReadingAids, FitYKeepsExpOverZeroToTenInsideTheView)
{
    Request.Formula = "exp(x)";
    Request.XlowText = "0";
    Request.XhighText = "10";
    Request.Drawing.FitY = true;
    const QImage picture = Plot(Request.Formula);
    const int w = picture.width(), h = picture.height();
    const int areaHeight = h - 2 * PlotMargin;

    // Across the right half of the plot area the curve is in every column,
    // climbing to the top tenth of the area but not onto the frame; the x
    // axis and its labels lie lower than the rows searched.
    int previousTop = h;
    for (int x = w / 2; x < w - PlotMargin; ++x) {
        int top = -1;
        for (int y = PlotMargin + 1; y < h - PlotMargin - areaHeight / 20 && top < 0; ++y)
            if (Is(picture, x, y, Curve))
                top = y;
        ASSERT_GE(top, 0) << "column " << x << " has no curve";
        EXPECT_LE(top, previousTop) << "column " << x;
        previousTop = top;
    }
    EXPECT_LE(previousTop, PlotMargin + areaHeight / 10) << "the curve's end lies below the top tenth";
    EXPECT_GT(previousTop, PlotMargin + 1) << "the curve's end reaches the frame: no margin";
    const TViewWindow& view = Engine.View();
    EXPECT_NEAR(view.YMax, std::exp(10.0) + 0.05 * (std::exp(10.0) - 1), 1.0);
    EXPECT_NEAR(view.YMin, 1 - 0.05 * (std::exp(10.0) - 1), 1.0);
}

TEST_F(ReadingAids, ScaleOnFrameDrawsTheLabelsOfAnAxisOutOfViewAlongTheEdges)
{
    const struct {
        const char* Name;
        const char* Low;
        const char* High;
        double YMin, YMax;
        bool XAxisOut, YAxisOut;
    } cases[] = {
        {"both axes out of view", "2", "12", 1.5, 6.5, true, true},
        // The origin's column is in view: on the frame 0 is labelled too.
        {"the x axis out of view", "-10", "10", 2, 8, true, false},
        {"the y axis out of view", "3", "9", -2, 2, false, true},
    };
    for (const auto& c : cases) {
        for (const bool onFrame : {false, true}) {
            const std::string name = std::string(c.Name) + (onFrame ? ", on the frame" : "");
            Request.Formula = "x/2";
            Request.XlowText = c.Low;
            Request.XhighText = c.High;
            Request.Drawing.ScaleOnFrame = onFrame;
            Engine.View().YMin = c.YMin;
            Engine.View().YMax = c.YMax;
            const QImage picture = Plot(Request.Formula, true);
            const int w = picture.width(), h = picture.height();
            const int bottom = h - PlotMargin;

            QStringList below, right;
            for (const auto& text : AxisTexts(Engine, Request)) {
                if (text.Box.top() == bottom + 5 && text.Box.left() >= PlotMargin && text.Box.right() < w)
                    below << text.Text;
                if (text.Box.left() == PlotMargin + 5 && text.Box.top() >= PlotMargin && text.Box.bottom() < h)
                    right << text.Text;
            }
            const bool xScale = onFrame && c.XAxisOut, yScale = onFrame && c.YAxisOut;
            EXPECT_EQ(below.size() >= 3, xScale) << name << ": " << below.join('|').toStdString();
            EXPECT_EQ(right.size() >= 3, yScale) << name << ": " << right.join('|').toStdString();
            if (xScale && !c.YAxisOut) {
                EXPECT_TRUE(below.contains("0")) << name << ": " << below.join('|').toStdString();
            }
            for (const QString& label : below)
                EXPECT_GE(label.toDouble(), std::stod(c.Low)) << name << ": an x label";

            // The ticks cross the frame: half of each lies outside the plot area.
            const int column = Engine.WorldToPixelX(std::stod(c.Low) + 2);
            EXPECT_EQ(Is(picture, column, bottom + 2, Axis), xScale) << name;
            const int row = Engine.WorldToPixelY(std::ceil(c.YMin + 0.5));
            EXPECT_EQ(Is(picture, PlotMargin - 2, row, Axis), yScale) << name;
        }
    }
}

}  // namespace
