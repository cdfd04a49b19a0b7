// Tick labels that would run into each other: the later one is left out, its
// tick stays, and no label is left out that had room. And the examples drawn
// with their lines handed over together, as with one call per line.
#include "PlotFixture.h"

#include "window/core/ExampleCaption.h"
#include "plot/core/Ticks.h"
#include "numeric/NumberText.h"

#include <QFile>
#include <QRegularExpression>

namespace {

constexpr TColor Axis = 0x808080;

struct TLabelCase {
    const char* Name;
    bool Polar;
    const char* Formula;
    const char* Low;
    const char* High;
    TPictureSize Size;
};

// Views in which every label used to overlap its neighbour or the axis name.
const TLabelCase Cases[] = {
    {"a zoom to a step of 0.5", false, "sin(x)", "-1.5", "8.49999", {507, 266}},
    {"R = x", true, "x", "0", "60", {400, 400}},
    {"polar 1/x", true, "1/x", "-10", "10", {507, 266}},
    {"a 400 x 400 rose", true, "5*sin(3*x)", "0", "6.2832", {400, 400}},
};

// Closer than `gap` pixels side by side, or touching above or below.
bool Touch(const QRect& a, const QRect& b, int gap = 1)
{
    return a.adjusted(-gap, -1, gap, 1).intersects(b);
}

using TickLabels = PlotFixture;

TEST_F(TickLabels, LabelThatWouldTouchTheLastOneIsLeftOutAndItsTickStays)
{
    for (const TLabelCase& c : Cases) {
        Request.Cartesian = !c.Polar;
        Request.TitleCaption = c.Polar ? "R =" : "Y =";
        Request.Formula = c.Formula;
        Request.XlowText = c.Low;
        Request.XhighText = c.High;
        Engine.SetPictureSize(c.Size);
        Plot(c.Formula);
        TPlotCanvas canvas(c.Size);
        Engine.DrawFrame(canvas, Request);
        Engine.DrawAxes(canvas, Request);
        const std::vector<TPlotCanvas::TDrawnText> texts = canvas.DrawnTexts();
        const QImage picture = canvas.Finish();

        // The horizontal axis: its labels hang 5 pixels below it.
        const TViewWindow& view = Engine.View();
        const int row = Engine.WorldToPixelY(0);
        const QRect name = canvas.TextInk(texts[1].Box.left(), texts[1].Box.top(), texts[1].Text);
        std::vector<QRect> labels;
        for (const auto& text : texts)
            if (text.Box.top() == row + 5)
                labels.push_back(text.Box);
        // Side by side, labels stand at least a blank's width apart.
        const int gap = canvas.TextExtent(QStringLiteral(" ")).width();
        ASSERT_GT(gap, 1);
        const long double step = TickStep(view.XMin, view.XMax);
        const TTickIndices ticks = TickIndices(view.XMin, view.XMax, step);
        ASSERT_LT(static_cast<std::int64_t>(labels.size()), ticks.Count() - 1) << c.Name << ": some label left out";
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_FALSE(Touch(labels[i], name)) << c.Name << ": label " << i << " on the axis name";
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                EXPECT_FALSE(Touch(labels[i], labels[j], gap)) << c.Name << ": labels " << i << " and " << j;
        }
        for (std::int64_t k = ticks.First; k <= ticks.Last; ++k) {
            if (k == 0)
                continue;
            const int column = Engine.WorldToPixelX(static_cast<double>(k * step));
            EXPECT_TRUE(Is(picture, column, row - 3, Axis) || Is(picture, column, row + 3, Axis))
                << c.Name << ": the tick of " << k;
            // A label left out had no room: it would have touched a label drawn or the name.
            const QRect box(QPoint(column, row + 5),
                            canvas.TextExtent(QString::fromStdString(FormatGeneral(k * step, 15))));
            const bool drawn = std::find(labels.begin(), labels.end(), box) != labels.end();
            const bool crowded = Touch(box, name) || std::any_of(labels.begin(), labels.end(), [&](const QRect& l) {
                return l != box && Touch(box, l, gap);
            });
            EXPECT_TRUE(drawn || crowded) << c.Name << ": the label of " << k << " had room";
        }
    }
}

TEST_F(TickLabels, ExamplesAreTheSameWithLinesDrawnTogetherOrOneByOne)
{
    QFile form(QStringLiteral(ORVALIS_SOURCE_DIR "/window/GraphMainForm.ui"));
    ASSERT_TRUE(form.open(QIODevice::ReadOnly));
    const QRegularExpression caption(QStringLiteral("<string>([yR] = [^<]*)</string>"));
    int examples = 0;
    for (const auto& match : caption.globalMatch(QString::fromUtf8(form.readAll()))) {
        const std::vector<std::string> items = ExampleItems(match.captured(1).replace("&amp;", "&").toStdString());
        const std::string y = ExampleValue(items, "y"), z = ExampleValue(items, "z");
        Request.Cartesian = !y.empty();
        Request.Formula = y.empty() ? ExampleValue(items, "R") : y;
        Request.XlowText = y.empty() ? "0" : "-10";
        Request.XhighText = y.empty() ? "60" : "10";
        FormulaZ = z.empty() ? 0.3 : static_cast<double>(TextToNumber(z));
        ++examples;
        for (const TPictureSize size : {TPictureSize{507, 266}, TPictureSize{1920, 1080}}) {
            Engine.SetPictureSize(size);
            Request.Drawing.LineWidth = size.Width > 1000 ? 3 : 1;
            Plot(Request.Formula);  // compares both ways itself
        }
    }
    EXPECT_EQ(examples, 23);
}

}  // namespace
