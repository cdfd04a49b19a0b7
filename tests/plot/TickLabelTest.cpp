// Tick labels that cannot all have room: every k-th tick is labelled, at
// equal distances, for the smallest k at which none touches another, a label
// on the axis name or cut by the picture's edge is left out, and every tick
// keeps its mark. And the examples drawn with their lines handed over
// together, as with one call per line.
#include "PlotFixture.h"

#include "window/core/ExampleCaption.h"
#include "plot/core/Ticks.h"
#include "plot/drawing/FaceFiles.h"
#include "plot/drawing/SvgCanvas.h"
#include "numeric/NumberText.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <map>
#include <numeric>
#include <optional>

namespace {

constexpr TColor Axis = 0x808080;

struct TLabelCase {
    const char* Name;
    bool Polar;
    const char* Formula;
    const char* Low;
    const char* High;
    TPictureSize Size;
    // A y window kept instead of the fitted one, when YMin < YMax.
    double YMin = 0, YMax = 0;
};

// Views in which not every label has room on one axis or both.
const TLabelCase Cases[] = {
    {"sin over -20..10 (step 2.5)", false, "sin(x)", "-20", "10", {507, 266}},
    {"a zoom to a step of 0.5", false, "sin(x)", "-1.5", "8.49999", {507, 266}},
    {"a tall narrow window (step 2)", false, "x", "-10", "10", {160, 500}, -60, 60},
    {"a tall narrow window (step 2.5)", false, "x", "-20", "10", {160, 500}, -70, 70},
    {"R = x", true, "x", "0", "60", {400, 400}},
    {"polar 1/x", true, "1/x", "-10", "10", {507, 266}},
    {"a 400 x 400 rose", true, "5*sin(3*x)", "0", "6.2832", {400, 400}},
};

// Closer than `gap` pixels side by side, or touching above or below.
bool Touch(const QRect& a, const QRect& b, int gap = 1)
{
    return a.adjusted(-gap, -1, gap, 1).intersects(b);
}

// The strides a label rhythm may take: 1, 2, 5 times a power of ten, with 4
// for 5 when the step is 2.5 times one.
bool IsStride(std::int64_t k, bool quarterStep)
{
    while (k % 10 == 0)
        k /= 10;
    return k == 1 || k == 2 || k == (quarterStep ? 4 : 5);
}

std::int64_t StrideBefore(std::int64_t k, bool quarterStep)
{
    std::int64_t decade = 1;
    while (k % (decade * 10) == 0)
        decade *= 10;
    const std::int64_t digit = k / decade;
    return digit == 1 ? (quarterStep ? 4 : 5) * decade / 10 : digit == 2 ? decade : 2 * decade;
}

using TickLabels = PlotFixture;

TEST_F(TickLabels, EveryKthTickIsLabelledAtEqualDistancesAndEveryTickKeepsItsMark)
{
    for (const TLabelCase& c : Cases) {
        Request.Cartesian = !c.Polar;
        Request.TitleCaption = c.Polar ? "R =" : "Y =";
        Request.Formula = c.Formula;
        Request.XlowText = c.Low;
        Request.XhighText = c.High;
        Engine.SetPictureSize(c.Size);
        const bool keepY = c.YMin < c.YMax;
        if (keepY) {
            Engine.View().YMin = c.YMin;
            Engine.View().YMax = c.YMax;
        }
        Plot(c.Formula, keepY);
        TPlotCanvas canvas(c.Size);
        Engine.DrawFrame(canvas, Request);
        Engine.DrawAxes(canvas, Request);
        const std::vector<TPlotCanvas::TDrawnText> texts = canvas.DrawnTexts();
        const QImage picture = canvas.Finish();
        const TViewWindow& view = Engine.View();
        const long double step = TickStep(view.XMin, view.XMax);
        const bool quarterStep = std::fabs(step / std::pow(10.0L, std::floor(std::log10(step))) - 2.5L) < 1e-9L;
        const int row = Engine.WorldToPixelY(0), column = Engine.WorldToPixelX(0);
        // Side by side, labels stand at least a blank's width apart.
        const int blank = canvas.TextExtent(QStringLiteral(" ")).width();
        ASSERT_GT(blank, 1);

        // The texts after the title: each axis's name, then its labels.
        ASSERT_GE(texts.size(), 3u) << c.Name;
        std::size_t next = 1;
        bool someLeftOut = false;
        for (const bool horizontal : {true, false}) {
            const int at = horizontal ? row : column;
            const bool drawn = horizontal ? !(view.YMin > 0 || view.YMax < 0) : !(view.XMin > 0 || view.XMax < 0);
            if (!drawn)
                continue;
            const std::string axis = std::string(c.Name) + (horizontal ? ", horizontal axis" : ", vertical axis");
            ASSERT_LT(next, texts.size()) << axis;
            const TPlotCanvas::TDrawnText& nameText = texts[next++];
            const QRect name = canvas.TextInk(nameText.Box.left(), nameText.Box.top(), nameText.Text);
            // The labels drawn, by tick index.
            std::map<std::int64_t, QRect> labels;
            for (; next < texts.size() && texts[next].Text != "Y" && texts[next].Text != "R(x)"; ++next) {
                const long double index = TextToNumber(texts[next].Text.toStdString()) / step;
                ASSERT_NEAR(index, std::round(index), 1e-6L) << axis << ": " << texts[next].Text.toStdString();
                labels[std::llround(index)] = texts[next].Box;
            }
            // Where each tick and its label would be.
            const TTickIndices ticks = horizontal ? TickIndices(view.XMin, view.XMax, step)
                                                  : TickIndices(view.YMin, view.YMax, step);
            const auto tickAt = [&](std::int64_t k) {
                const double value = static_cast<double>(k * step);
                return horizontal ? Engine.WorldToPixelX(value) : Engine.WorldToPixelY(value);
            };
            const auto box = [&](std::int64_t k) {
                const QPoint place = horizontal ? QPoint(tickAt(k), at + 5) : QPoint(at + 5, tickAt(k));
                return QRect(place, canvas.TextExtent(QString::fromStdString(FormatGeneral(k * step, 15))));
            };
            const int gap = horizontal ? blank : 1;
            // Two of the labels of every k-th tick touching, those on the name aside.
            const auto crowded = [&](std::int64_t k) {
                std::optional<QRect> last;
                for (std::int64_t i = ticks.First; i <= ticks.Last; ++i) {
                    if (i == 0 || i % k != 0 || Touch(box(i), name))
                        continue;
                    if (last && Touch(box(i), *last, gap))
                        return true;
                    last = box(i);
                }
                return false;
            };

            std::int64_t k = 0;
            for (const auto& [index, place] : labels) {
                k = std::gcd(k, index);
                EXPECT_EQ(place, box(index)) << axis << ": the label of " << index << " is at its tick";
                EXPECT_FALSE(Touch(place, name)) << axis << ": the label of " << index << " on the name";
            }
            if (labels.empty())
                continue;
            ASSERT_TRUE(IsStride(k, quarterStep)) << axis << ": labels every " << k << "th tick";
            // Every k-th tick counted from 0 has its label, but one on the name.
            for (std::int64_t i = ticks.First; i <= ticks.Last; ++i) {
                if (i == 0 || i % k != 0)
                    continue;
                EXPECT_TRUE(labels.count(i) || Touch(box(i), name)) << axis << ": the label of " << i;
            }
            // At equal distances, one pixel of rounding aside, none touching its neighbour.
            std::optional<std::pair<std::int64_t, QRect>> last;
            std::optional<double> distance;
            for (const auto& [index, place] : labels) {
                if (last) {
                    const int along = horizontal ? place.left() - last->second.left()
                                                 : last->second.top() - place.top();
                    const double perStride = static_cast<double>(along) * k / (index - last->first);
                    if (distance) {
                        EXPECT_NEAR(perStride, *distance, 1.0) << axis << ": the label of " << index;
                    }
                    distance = distance.value_or(perStride);
                    EXPECT_FALSE(Touch(place, last->second, gap)) << axis << ": labels " << last->first << ", " << index;
                }
                last = {index, place};
            }
            // The stride before k would crowd them.
            if (k > 1) {
                someLeftOut = true;
                EXPECT_TRUE(crowded(StrideBefore(k, quarterStep))) << axis << ": every " << k << "th tick";
            }
            for (std::int64_t i = ticks.First; i <= ticks.Last; ++i) {
                if (i == 0)
                    continue;
                const int tick = tickAt(i);
                EXPECT_TRUE(horizontal ? Is(picture, tick, row - 3, Axis) || Is(picture, tick, row + 3, Axis)
                                       : Is(picture, column - 3, tick, Axis) || Is(picture, column + 3, tick, Axis))
                    << axis << ": the tick of " << i;
            }
        }
        EXPECT_TRUE(someLeftOut) << c.Name << ": every label had room";
    }
}

// Views whose last label on the horizontal axis would run past the picture's
// right edge, where the cut "1000000" would read as "10000".
TEST_F(TickLabels, ALabelThePicturesEdgeWouldCutIsLeftOutOnThePictureAndThePage)
{
    const struct { const char* Formula; const char* Low; const char* High; const char* CutLabel; } cases[] = {
        {"sin(x)", "-100000", "1000000", "1000000"},
        {"sin(x)", "-1e14", "1e14", "100000000000000"},
        {"x-1.5e-300", "1e-300", "2e-300", "2E-300"},
    };
    const TPictureSize size{507, 266};
    const QRect edges(0, 0, size.Width, size.Height);
    for (const auto& c : cases) {
        Request.Formula = c.Formula;
        Request.XlowText = c.Low;
        Request.XhighText = c.High;
        Engine.SetPictureSize(size);
        Plot(c.Formula);
        const TViewWindow view = Engine.View();
        const QString title = QString::fromStdString(Request.TitleCaption + ' ' + Request.Formula);

        // The picture: every text whole inside it, the cut label gone, the
        // others still there.
        TPlotCanvas canvas(size);
        Engine.DrawFrame(canvas, Request);
        Engine.DrawAxes(canvas, Request);
        QStringList pictureLabels;
        for (const TPlotCanvas::TDrawnText& text : canvas.DrawnTexts()) {
            const QRect ink = canvas.TextInk(text.Box.left(), text.Box.top(), text.Text);
            EXPECT_TRUE(edges.contains(ink)) << c.Low << ".." << c.High << ": \"" << text.Text.toStdString()
                                             << "\" cut at the edge";
            if (text.Text != title)
                pictureLabels << text.Text;
        }
        EXPECT_FALSE(pictureLabels.contains(QString::fromLatin1(c.CutLabel))) << c.Low << ".." << c.High;
        EXPECT_GE(pictureLabels.size(), 3) << c.Low << ".." << c.High << ": " << pictureLabels.join('|').toStdString();

        // The page of the same view: the same texts, each inside it as its
        // own face's metrics measure it.
        Engine.View() = view;
        const QByteArray page = PlotSvgPage(Engine, Evaluator, Request);
        TSvgCanvas measure(size, ProgramFaceFile(ProgramMonoRegularFile));
        measure.SetFont(QString::fromLatin1(ProgramMonoFace), canvas.FontPoints(), 0);
        QStringList pageLabels;
        QXmlStreamReader xml(page);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("text"))
                continue;
            const double x = xml.attributes().value("x").toDouble();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            const QRect ink = measure.TextInk(static_cast<int>(std::floor(x)), 0, text);
            EXPECT_TRUE(ink.left() >= 0 && ink.right() < size.Width)
                << c.Low << ".." << c.High << ": \"" << text.toStdString() << "\" cut at the page's edge";
            if (text != title)
                pageLabels << text;
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(pageLabels, pictureLabels) << c.Low << ".." << c.High;
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
        Request.Z = z.empty() ? 0.3 : static_cast<double>(TextToNumber(z));
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
