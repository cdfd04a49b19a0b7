// A y extent given on the command line, or fitted to the curve, gives the
// y axis a tick step of its own: a handful of ticks, none merged, evenly
// labelled, where the x axis's step gave none or a grey bar.
#include "plot/cli/Renderer.h"

#include "plot/PlotCanvas.h"
#include "plot/drawing/Plotter.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr TColor Axis = 0x808080;
// The rows an arrowhead of the y axis covers at either end.
constexpr int ArrowSpan = 6;

TColor At(const QImage& picture, int x, int y)
{
    const QRgb rgb = picture.pixel(x, y);
    return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

TEST(OwnYStep, AGivenOrFittedYExtentGetsAHandfulOfYTicksNoneMerged)
{
    const std::vector<std::string> cases[] = {
        {"--ymin", "-1", "--ymax", "1", "sin(x)"},
        {"--xlow", "-5", "--xhigh", "5", "--ymin", "-100", "--ymax", "100", "sin(x)"},
        {"--size", "600x900", "--xlow", "-5", "--xhigh", "5", "--ymin", "-100", "--ymax", "100", "sin(x)"},
        {"--fit-y", "--xlow", "0", "--xhigh", "10", "exp(x)"},
    };
    for (const auto& words : cases) {
        std::string name;
        for (const std::string& word : words)
            name += word + " ";
        std::vector<std::string> line = words;
        line.push_back("out.png");
        const auto read = ReadRendererCommandLine(line);
        ASSERT_TRUE(std::holds_alternative<TRendererRequest>(read)) << name;

        TPlotter plotter;
        QImage picture;
        std::vector<TPlotCanvas::TDrawnText> texts;
        const TRendererOutcome outcome = RenderPlot(
            std::get<TRendererRequest>(read), plotter,
            [&](TPlotter& engine, const TRapidEvaluator& evaluator, const TPlotRequest& plot, const QString&,
                TOutputFormat, const std::optional<TAnimation>&) {
                TPlotCanvas canvas(engine.PictureSize());
                engine.Plot(evaluator, plot, canvas);
                texts = canvas.DrawnTexts();
                picture = canvas.Finish();
            });
        ASSERT_EQ(outcome.Status, 0) << name << outcome.Errors;
        const int h = picture.height();

        // The y axis's ticks cross the column left of it: single rows apart
        // from each other. Not counted: the x axis's row, and the arrowheads
        // at the ends.
        const int axis = plotter.WorldToPixelX(0.0);
        std::vector<int> rows;
        for (int y = PlotMargin + ArrowSpan; y <= h - PlotMargin - ArrowSpan; ++y)
            if (At(picture, axis - 2, y) == Axis && y != plotter.WorldToPixelY(0.0)) {
                EXPECT_TRUE(rows.empty() || y - rows.back() > 2) << name << ": ticks merge at row " << y;
                rows.push_back(y);
            }
        EXPECT_GE(rows.size(), 4u) << name;
        EXPECT_LE(rows.size(), 20u) << name;

        // Its labels right of it: evenly stepped numbers (the origin, where
        // the axes cross, has none), none touching the next.
        std::vector<std::pair<double, QRect>> labels;
        for (const auto& text : texts)
            if (text.Box.left() == axis + 5 && text.Box.top() >= PlotMargin) {
                bool number = false;
                labels.emplace_back(text.Text.toDouble(&number), text.Box);
                EXPECT_TRUE(number) << name << text.Text.toStdString();
            }
        ASSERT_GE(labels.size(), 3u) << name;
        const double step = labels[1].first - labels[0].first;
        for (std::size_t i = 1; i < labels.size(); ++i) {
            const bool acrossOrigin = labels[i].first * labels[i - 1].first < 0;
            EXPECT_NEAR(labels[i].first - labels[i - 1].first, acrossOrigin ? 2 * step : step, std::fabs(step) * 1e-9)
                << name << i;
            EXPECT_FALSE(labels[i].second.adjusted(0, -1, 0, 1).intersects(labels[i - 1].second)) << name << i;
        }
    }
}

}  // namespace
