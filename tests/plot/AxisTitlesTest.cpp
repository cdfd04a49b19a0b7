// The axes' titles in the picture: inside it whatever its size, clear of
// every other text and of every line the frame and axes draw.
#include "PlotFixture.h"

namespace {

using AxisTitles = PlotFixture;

constexpr TColor Axis = 0x808080;

TEST_F(AxisTitles, StandInsideThePictureClearOfLabelsAndLines)
{
    const struct {
        const char* Name;
        TPictureSize Size;
        bool Polar;
        bool ScaleOnFrame;
        const char* XTitle;
        const char* YTitle;
    } cases[] = {
        {"smallest", {80, 80}, false, false, "time", "speed"},
        {"wide and low", {10000, 100}, false, false, "time (s)", "amplitude"},
        {"usual", {507, 266}, false, false, "time (s)", "amplitude"},
        {"scale on the frame", {400, 300}, false, true, "time (s)", "amplitude"},
        {"polar", {507, 266}, true, false, "x = r cos a", "y = r sin a"},
        {"x title alone", {300, 200}, false, false, "x", nullptr},
    };
    for (const auto& c : cases) {
        Request = TPlotRequest();
        Request.Formula = c.Polar ? "2+sin(3*x)" : "x/2";
        Request.Cartesian = !c.Polar;
        Request.XhighText = c.Polar ? "6.3" : "10";
        Request.XlowText = c.Polar ? "0" : "2";
        Request.Drawing.Grid = true;
        Request.Drawing.ScaleOnFrame = c.ScaleOnFrame;
        Request.XTitle = c.XTitle;
        if (c.YTitle)
            Request.YTitle = c.YTitle;
        Evaluator.SetFormula(Request.Formula);
        Evaluator.Compile();
        Engine.SetPictureSize(c.Size);
        Engine.View() = TViewWindow();
        Engine.View().ResetView = true;
        TPlotCanvas canvas(c.Size);
        Engine.Plot(Evaluator, Request, canvas);
        const std::vector<TPlotCanvas::TDrawnText> texts = canvas.DrawnTexts();
        const QImage picture = canvas.Finish();
        Save(picture, std::string("axis-titles-") + c.Name);
        const QRect whole(0, 0, c.Size.Width, c.Size.Height);

        std::vector<QRect> titles;
        for (const auto& text : texts)
            if (text.Text == QString::fromLatin1(c.XTitle) || (c.YTitle && text.Text == QString::fromLatin1(c.YTitle)))
                titles.push_back(text.Box);
        ASSERT_EQ(titles.size(), c.YTitle ? 2u : 1u) << c.Name;
        if (c.YTitle) {
            EXPECT_GT(titles[1].height(), titles[1].width()) << c.Name << ": the y title reads upwards";
        }
        for (const QRect& title : titles) {
            EXPECT_TRUE(whole.contains(title)) << c.Name << ": a title is cut";
            EXPECT_GT(Marked(picture, title.left(), title.top(), title.right(), title.bottom()), 0) << c.Name;
            EXPECT_EQ(Count(picture, title.left(), title.top(), title.right(), title.bottom(), Axis), 0)
                << c.Name << ": a line of the frame or axes crosses a title";
            for (const auto& text : texts) {
                if (text.Box != title) {
                    EXPECT_FALSE(text.Box.intersects(title))
                        << c.Name << ": " << text.Text.toStdString() << " overlaps a title";
                }
            }
        }
    }
}

// A title that the margin has room for leaves the plot where it was.
TEST_F(AxisTitles, ThePlotAreaStaysWhereItWasWhileTheMarginsHoldTheTitles)
{
    Request.Formula = "x/2";
    Evaluator.SetFormula(Request.Formula);
    Evaluator.Compile();
    Engine.View().ResetView = true;
    const QImage plain = Engine.Plot(Evaluator, Request);
    Request.XTitle = "t";
    Engine.View().ResetView = true;
    const QImage titled = Engine.Plot(Evaluator, Request);
    // Only the strip below the x labels changes: the title fits in the margin.
    const QRect changed = Difference(plain, titled);
    EXPECT_GE(changed.top(), plain.height() - PlotMargin / 2) << "the plot moved for a title that fits the margin";
}

}  // namespace
