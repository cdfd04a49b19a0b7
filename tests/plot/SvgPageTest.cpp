// SVG pages written without Qt's GUI: their texts measured as Qt's painter
// measures them on a page, and their drawing, rasterised by another program,
// that of Qt's painter on a page and the picture of the same plot.
#include "PlotFixture.h"
#include "SameDrawing.h"

#include "numeric/Exceptions.h"
#include "plot/drawing/FaceFiles.h"
#include "plot/drawing/SvgCanvas.h"
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Legend.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <tuple>

namespace {

const QString Mono = QString::fromLatin1(ProgramMonoFace);

// Texts of the kinds a plot draws: every printable character, tick labels,
// titles with tabs (stops at every 80 pixels, reached exactly or just
// missed), and texts long enough for rounding to add up.
QStringList MeasuredTexts()
{
    QStringList texts;
    QString printable;
    for (char c = ' '; c <= '~'; ++c) {
        texts << QString(QLatin1Char(c));
        printable += QLatin1Char(c);
    }
    texts << printable << "-10" << "0.5" << "-1.23456789012345e-15" << "1e+15" << "3.14159265358979" << "R(x)"
          << "Y = sin(x)" << "R = sin(4*x)*z" << "  " << " -" << "g_|" << QString(900, QLatin1Char('W'));
    for (const char* tabbed : {"\t", "a\tb", "\t\tx", "ab\t", "xxxxxxxxxxxx\tX", "xxxxxxxxxxxxx\tX", "xxxxxxxx\tX",
                               "xxxxxxxxx\tX", "Y = sin(x)\t*\tx"})
        texts << QString::fromLatin1(tabbed);
    texts << QString(1500, QLatin1Char('x'));
    return texts;
}

TEST(FaceMetrics, MeasureAsQtsPainterOnAPage)
{
    QImage page(64, 64, QImage::Format_RGB32);
    TPlotCanvas qt(TPictureSize{507, 266}, page);
    TSvgCanvas svg(TPictureSize{507, 266}, ProgramFaceFile(ProgramMonoRegularFile));
    for (const int points : {8, 12}) {
        qt.SetFont(Mono, points, 0);
        svg.SetFont(Mono, points, 0);
        for (const QString& text : MeasuredTexts()) {
            const std::string shown = std::to_string(points) + " pt '" + text.left(40).toStdString() + "'";
            EXPECT_EQ(svg.TextExtent(text), qt.TextExtent(text)) << shown;
            // Qt's ink of a text with tabs is no box of its letters (it ends
            // at the last tab stop); a plot asks only the axes' names for it.
            if (!text.contains(QLatin1Char('\t'))) {
                EXPECT_EQ(svg.TextInk(-3, 7, text), qt.TextInk(-3, 7, text)) << shown;
            }
        }
    }
    qt.Finish();

    try {
        TSvgCanvas missing(TPictureSize{507, 266}, QStringLiteral("/no/such/folder/Face.ttf"));
        ADD_FAILURE() << "a missing face file";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("/no/such/folder/Face.ttf"), std::string::npos) << error.Message();
    }
}

class SvgPage : public PlotFixture {
protected:
    QTemporaryDir Folder;

    // The page rasterised by rsvg-convert (scripts/install-deps.sh installs it).
    QImage Rasterised(const QByteArray& svg, const QString& name)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
        EXPECT_FALSE(tool.isEmpty()) << "rsvg-convert is not installed: run scripts/install-deps.sh";
        QFile file(Folder.filePath(name + ".svg"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size());
        file.close();
        const TPictureSize size = Engine.PictureSize();
        QProcess process;
        process.start(tool, {"-w", QString::number(size.Width), "-h", QString::number(size.Height), file.fileName(),
                             "-o", Folder.filePath(name + ".png")});
        EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0)
            << process.readAllStandardError().toStdString();
        return QImage(Folder.filePath(name + ".png")).convertToFormat(QImage::Format_RGB32);
    }

    // The drawing on Qt's painter's canvas on a page of the picture's size.
    QByteArray QtPage(const std::function<void(TCanvas&)>& draw)
    {
        const TPictureSize size = Engine.PictureSize();
        QByteArray svg;
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(size.Width, size.Height));
        generator.setViewBox(QRect(0, 0, size.Width, size.Height));
        generator.setResolution(96);
        TPlotCanvas canvas(size, generator);
        draw(canvas);
        canvas.Finish();
        return svg;
    }

    static QStringList Texts(const QByteArray& svg)
    {
        QXmlStreamReader xml(svg);
        QStringList texts;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        return texts;
    }
};

TEST_F(SvgPage, DrawsThePictureOfTheSamePlot)
{
    struct TCase {
        const char* Name;
        const char* Formula;
        std::function<void(TPlotRequest&, TViewWindow&)> Set;
    };
    const TCase cases[] = {
        {"cartesian", "sin(x)", [](TPlotRequest& r, TViewWindow&) { r.TitleCaption = "Y <&> ="; }},
        {"polar", "sin(4*x)",
         [](TPlotRequest& r, TViewWindow&) {
             r.Cartesian = false;
             r.TitleCaption = "R =";
             r.XlowText = "0";
             r.XhighText = "6.3";
         }},
        {"wide pen", "x^2/10", [](TPlotRequest& r, TViewWindow&) { r.Drawing.LineWidth = 6; }},
        {"bad points, no boundary", "sqrt(x)*3",
         [](TPlotRequest& r, TViewWindow&) {
             r.Drawing.Boundary = false;
             r.Drawing.BackgroundColor = 0x204060;
             r.Drawing.GoodPointColor = 0xFFFFFF;
         }},
        {"grid", "sin(x)", [](TPlotRequest& r, TViewWindow&) { r.Drawing.Grid = true; }},
        {"fit y", "exp(x)",
         [](TPlotRequest& r, TViewWindow&) {
             r.XlowText = "0";
             r.XhighText = "10";
             r.Drawing.FitY = true;
         }},
        {"scale and grid on the frame", "x/2",
         [](TPlotRequest& r, TViewWindow& v) {
             r.XlowText = "2";
             r.XhighText = "12";
             r.Drawing.ScaleOnFrame = true;
             r.Drawing.Grid = true;
             v.ResetView = false;
             v.YMin = 1.5;
             v.YMax = 6.5;
         }},
        {"axis titles", "sin(x)",
         [](TPlotRequest& r, TViewWindow&) {
             r.XTitle = "time (s)";
             r.YTitle = "amplitude <&>";
         }},
        {"tabs in the title", "cos(x)",
         [](TPlotRequest& r, TViewWindow&) { r.Formula = "cos(x)\t\t+ 0\t*x"; }},
    };
    for (const TCase& c : cases) {
        Request = TPlotRequest();
        Request.Formula = c.Formula;
        Engine.View() = TViewWindow();
        Engine.View().ResetView = true;
        c.Set(Request, Engine.View());
        Evaluator.SetFormula(c.Formula);
        Evaluator.Compile();
        const TViewWindow view = Engine.View();
        const QImage picture = Engine.Plot(Evaluator, Request);
        const TViewWindow after = Engine.View();
        Engine.View() = view;
        const QByteArray svg = PlotSvgPage(Engine, Evaluator, Request);
        EXPECT_EQ(Engine.View().YMax, after.YMax) << c.Name << ": the page's plot leaves the same view";
        const QImage page = Rasterised(svg, QString::fromLatin1(c.Name));
        // Below the title: the picture measures its texts hinted to whole
        // pixels, so a long title stands a few pixels apart from a page's.
        const auto belowTitle = [](const QImage& image) {
            return image.copy(0, PlotMargin, image.width(), image.height() - PlotMargin);
        };
        ExpectSameDrawing(belowTitle(page), belowTitle(picture), c.Name);

        // Qt's painter's page of the same plot, rasterised alike: the same pixels.
        Engine.View() = view;
        const QByteArray qtSvg = QtPage([&](TCanvas& canvas) { Engine.Plot(Evaluator, Request, canvas); });
        EXPECT_EQ(page, Rasterised(qtSvg, QString::fromLatin1(c.Name) + " by Qt")) << c.Name;
        const QStringList texts = Texts(svg);
        EXPECT_TRUE(texts.contains(QString::fromStdString(Request.TitleCaption + ' ' + Request.Formula)))
            << c.Name << ": " << texts.join('|').toStdString();
    }
}

// Several curves with their legend, in a corner and right of the plot area:
// the same drawing on the page as in the picture and on Qt's page.
TEST_F(SvgPage, LegendOfSeveralCurvesIsDrawnAlike)
{
    const auto curve = [](const char* formula, TColor colour) {
        auto evaluator = std::make_shared<TRapidEvaluator>();
        evaluator->SetFormula(formula);
        evaluator->Compile();
        return TCurve{formula, colour, 0x00FFFF, evaluator};
    };
    for (const TLegendPosition position : {TLegendPosition::TopLeft, TLegendPosition::OutsideRight}) {
        Request = TPlotRequest();
        Request.Formula = "sin(x)";
        Request.MoreCurves = {curve("cos(x)", 0x009FE6), curve("sqrt(x)-1", 0xE9B456)};
        Request.Legend = position;
        Request.Drawing.LineWidth = 3;
        Evaluator.SetFormula(Request.Formula);
        Evaluator.Compile();
        const std::string name = "legend " + std::to_string(static_cast<int>(position));
        Engine.View() = TViewWindow();
        Engine.View().ResetView = true;
        const QImage picture = Engine.Plot(Evaluator, Request);
        Engine.View().ResetView = true;
        const QImage page = Rasterised(PlotSvgPage(Engine, Evaluator, Request), QString::fromStdString(name));
        // The picture measures its texts hinted to whole pixels, so the
        // legend's box may end a pixel or two apart from the page's: beside
        // the box (in a corner) the picture has the page's drawing.
        if (position != TLegendPosition::OutsideRight) {
            TSvgCanvas measure(Engine.PictureSize(), ProgramFaceFile(ProgramMonoRegularFile));
            const QSize size = MeasureLegend(measure, Request, LegendRows(Request));
            const QRect box = LegendBox(position, size, Engine.PictureSize(), Engine.PictureSize().Width);
            const auto outsideBox = [&](QImage image) {
                QPainter(&image).fillRect(box.adjusted(-3, -3, 3, 3), Qt::white);
                return image.copy(0, PlotMargin, image.width(), image.height() - PlotMargin);
            };
            ExpectSameDrawing(outsideBox(page), outsideBox(picture), name.c_str());
        }
        Engine.View().ResetView = true;
        const QByteArray qtSvg = QtPage([&](TCanvas& canvas) { Engine.Plot(Evaluator, Request, canvas); });
        EXPECT_EQ(page, Rasterised(qtSvg, QString::fromStdString(name + " by Qt"))) << name;
    }
}

}  // namespace

TEST_F(SvgPage, LinesReachingFarOutAreClippedAsQtsPageClipsThem)
{
    // Lines from and to far beyond the picture, one wholly outside it, among
    // joined runs of a thin and a wide pen and the boundary in the wide pen.
    const auto draw = [](TCanvas& canvas) {
        canvas.SetBrush(0xFFFFFF);
        canvas.SetPen(0xFFFFFF, 1);
        canvas.Rectangle(0, 0, 507, 266);
        canvas.SetPen(0x0000FF, 1);
        canvas.Line(10, 10, 100, 50);
        canvas.Line(100, 50, -2000000000, 2000000000);
        canvas.Line(-2000000000, 120, 2000000000, 120);
        canvas.Line(3000000, -5000000, 3000000, 5000000);
        canvas.Line(300, 20, 300, 20);
        canvas.SetPen(0x00A000, 7);
        canvas.Line(20, 200, 120, 150);
        canvas.Line(120, 150, 1500000000, -1500000000);
        canvas.Line(1500000000, -1500000000, 400, 240);
        canvas.RectangleOutline(30, 30, 470, 230);
    };
    TSvgCanvas own(Engine.PictureSize(), ProgramFaceFile(ProgramMonoRegularFile));
    draw(own);
    const QByteArray svg = own.Finish();
    // Renderers of fixed-point coordinates get none beyond a million pixels.
    QXmlStreamReader xml(svg);
    int lines = 0;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("polyline"))
            for (const QString& point : xml.attributes().value("points").toString().split(' ')) {
                ++lines;
                for (const QString& v : point.split(','))
                    EXPECT_LE(std::abs(v.toDouble()), 1048577.0) << point.toStdString();
            }
    EXPECT_GT(lines, 0);
    const QImage page = Rasterised(svg, QStringLiteral("far"));
    EXPECT_EQ(page, Rasterised(QtPage(draw), QStringLiteral("far by Qt")));
    EXPECT_EQ(page.pixel(450, 120) & 0xFFFFFF, 0xFF0000u) << "the far horizontal line crosses the picture";
}

namespace {

// Where a frame-and-axes picture has its tick marks and their labels: a tick
// mark crosses its axis three pixels either side, and its label's letters lie
// beyond the gap on the far side (below the horizontal axis, right of the
// vertical one). A label below the axis starts at its tick, with a blank
// before it, so the end of the label before is not taken for one.
struct TTickPlaces {
    std::set<int> Columns, Rows;                  // every tick mark
    std::set<int> LabelledColumns, LabelledRows;  // those with a label
};

TTickPlaces TickPlaces(const QImage& picture, int axisRow, int axisColumn, TColor background)
{
    const auto ink = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if ((picture.pixel(x, y) & 0xFFFFFF) != (qRgb(background & 0xFF, background >> 8 & 0xFF,
                                                               background >> 16 & 0xFF) & 0xFFFFFF))
                    return true;
        return false;
    };
    const auto same = [&](int x0, int y0, int x1, int y1) { return picture.pixel(x0, y0) == picture.pixel(x1, y1); };
    TTickPlaces places;
    for (int x = PlotMargin + 1; x < picture.width() - PlotMargin; ++x)
        if (x != axisColumn && same(x, axisRow, x, axisRow - 3) && same(x, axisRow, x, axisRow - 2) &&
            same(x, axisRow, x, axisRow + 3)) {
            places.Columns.insert(x);
            if (ink(x, axisRow + 6, x + 4, axisRow + 16) && !ink(x - 3, axisRow + 6, x - 1, axisRow + 16))
                places.LabelledColumns.insert(x);
        }
    for (int y = PlotMargin + 1; y < picture.height() - PlotMargin; ++y)
        if (y != axisRow && same(axisColumn, y, axisColumn - 3, y) && same(axisColumn, y, axisColumn - 2, y) &&
            same(axisColumn, y, axisColumn + 3, y)) {
            places.Rows.insert(y);
            if (ink(axisColumn + 5, y + 1, axisColumn + 14, y + 10))
                places.LabelledRows.insert(y);
        }
    return places;
}

}  // namespace

// The grid goes under everything else, at the labelled ticks only, strictly
// inside the plot area, in its own colour, alike on the picture and the page;
// a picture without it is the one drawn before the grid existed.
TEST_F(SvgPage, GridLiesAtTheLabelledTicksAndNowhereElse)
{
    const struct {
        const char* Name;
        TPictureSize Size;
        TColor Background, Axis;
    } cases[] = {
        {"grid light", {507, 266}, 0xCAFFFF, 0x808080},
        // Narrow: only every other tick has room for its label.
        {"grid dark narrow", {200, 266}, 0x202020, 0xC0C0C0},
    };
    for (const auto& c : cases) {
        Engine.SetPictureSize(c.Size);
        Request = TPlotRequest();
        Request.Formula = "100";  // above the window: frame and axes only
        Request.Drawing.BackgroundColor = c.Background;
        Request.Drawing.AxisColor = c.Axis;
        Evaluator.SetFormula(Request.Formula);
        Evaluator.Compile();
        std::map<bool, QImage> pictures, pages;
        for (const bool grid : {false, true}) {
            Request.Drawing.Grid = grid;
            Engine.View() = TViewWindow();
            Engine.View().ResetView = true;
            pictures[grid] = Engine.Plot(Evaluator, Request);
            Engine.View().ResetView = true;
            pages[grid] = Rasterised(PlotSvgPage(Engine, Evaluator, Request),
                                     QString::fromLatin1(c.Name) + (grid ? " on" : " off"));
        }
        const TColor gridColour = GridColor(Request.Drawing);
        ASSERT_NE(gridColour, c.Background);
        ASSERT_NE(gridColour, c.Axis);
        const int axisRow = Engine.WorldToPixelY(0.0), axisColumn = Engine.WorldToPixelX(0.0);
        const TTickPlaces ticks = TickPlaces(pictures[false], axisRow, axisColumn, c.Background);
        ASSERT_GE(ticks.LabelledColumns.size(), 2u) << c.Name;
        ASSERT_GE(ticks.LabelledRows.size(), 2u) << c.Name;
        if (c.Size.Width < 300) {
            EXPECT_LT(ticks.LabelledColumns.size(), ticks.Columns.size()) << c.Name << ": some ticks unlabelled";
        }

        for (const auto& [what, withGrid, without] :
             {std::tuple{"picture", pictures[true], pictures[false]}, std::tuple{"page", pages[true], pages[false]}}) {
            std::set<int> columns, rows;  // of the grid's pixels
            int misplaced = 0, offColour = 0;
            for (int y = 0; y < withGrid.height(); ++y)
                for (int x = 0; x < withGrid.width(); ++x) {
                    if (withGrid.pixel(x, y) == without.pixel(x, y))
                        continue;
                    const bool inside = x > PlotMargin && x < c.Size.Width - PlotMargin && y > PlotMargin &&
                                        y < c.Size.Height - PlotMargin;
                    const bool onColumn = ticks.LabelledColumns.count(x), onRow = ticks.LabelledRows.count(y);
                    misplaced += !inside || (!onColumn && !onRow);
                    offColour += At(withGrid, x, y) != gridColour;
                    if (onColumn && !onRow)
                        columns.insert(x);
                    if (onRow && !onColumn)
                        rows.insert(y);
                }
            EXPECT_EQ(misplaced, 0) << c.Name << " " << what;
            EXPECT_EQ(offColour, 0) << c.Name << " " << what;
            EXPECT_EQ(columns, ticks.LabelledColumns) << c.Name << " " << what;
            EXPECT_EQ(rows, ticks.LabelledRows) << c.Name << " " << what;
        }
        // Under the axes: the axis row keeps the axes' colour where a grid column crosses it.
        for (const int x : ticks.LabelledColumns)
            EXPECT_EQ(At(pictures[true], x, axisRow), c.Axis) << c.Name << " column " << x;
    }
}
