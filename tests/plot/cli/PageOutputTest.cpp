// Pictures and pages of a physical size, at a resolution, with larger texts,
// a transparent background or smoothed edges, read back with the tools users
// have (identify, pdfinfo) and by their pixels; the refusals write nothing.
#include "ExternalTool.h"

#include "plot/cli/PainterRenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using TWords = std::vector<std::string>;

constexpr double PointsPerMm = 72.0 / 25.4;

class PageOutput : public testing::Test {
protected:
    QTemporaryDir Folder;

    QString Path(const char* name) const { return Folder.filePath(QString::fromUtf8(name)); }

    TRendererOutcome Run(TWords words)
    {
        auto line = ReadRendererCommandLine(words);
        if (const auto* outcome = std::get_if<TRendererOutcome>(&line))
            return *outcome;
        return RenderPlot(std::get<TRendererRequest>(line));
    }

    // Draws `formula` with the options into `name` in the folder; the run must succeed.
    QString Written(TWords options, const char* name, const std::string& formula = "sin(x)")
    {
        options.push_back(formula);
        options.push_back(Path(name).toStdString());
        const TRendererOutcome outcome = Run(options);
        EXPECT_EQ(outcome.Status, 0) << outcome.Errors;
        return Path(name);
    }

    static QString Tool(const char* program, const QStringList& arguments)
    {
        return QString::fromUtf8(RunTool(program, arguments).Output);
    }
};

TEST_F(PageOutput, PicturesHaveThePixelsAndRecordTheResolutionOfTheirSize)
{
    const struct { TWords options; const char* name; const char* geometry; const char* perCentimetre; } cases[] = {
        {{"--size", "90mmx60mm", "--dpi", "300"}, "a.png", "1063x709", "118.11x118.11"},
        {{"--size", "9cmx6cm", "--dpi", "300"}, "b.bmp", "1063x709", "118.11x118.11"},
        {{"--size", "3.5inx2in", "--dpi", "600"}, "c.png", "2100x1200", "236.22x236.22"},
        {{"--size", "252ptx144pt", "--dpi", "72"}, "d.png", "252x144", "28.35x28.35"},
        // Pixels stay pixels; the resolution is recorded.
        {{"--size", "1063x709", "--dpi", "300"}, "e.png", "1063x709", "118.11x118.11"},
    };
    for (const auto& c : cases) {
        const QString info = Tool("identify", {"-verbose", Written(c.options, c.name)});
        EXPECT_TRUE(info.contains(QString("Geometry: %1+0+0").arg(c.geometry))) << c.name << info.left(300).toStdString();
        EXPECT_TRUE(info.contains(QString("Resolution: %1").arg(c.perCentimetre))) << c.name;
        EXPECT_TRUE(info.contains("Units: PixelsPerCentimeter")) << c.name;
    }
}

TEST_F(PageOutput, PagesHaveTheirPhysicalSize)
{
    // Qt's PDF writer keeps a page's size in whole points.
    const QString info = Tool("pdfinfo", {Written({"--size", "90mmx60mm", "--dpi", "300"}, "a.pdf")});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), 90 * PointsPerMm, 0.5);
    EXPECT_NEAR(size.captured(2).toDouble(), 60 * PointsPerMm, 0.5);

    QFile svg(Written({"--size", "90mmx2.5in"}, "a.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray head = svg.read(400);
    EXPECT_TRUE(head.contains(R"(width="90mm" height="2.5in" viewBox="0 0 340 240")")) << head.toStdString();
}

// The labels' and the title's sizes in an SVG page.
QSet<int> FontSizes(const QString& file)
{
    QFile svg(file);
    EXPECT_TRUE(svg.open(QIODevice::ReadOnly));
    QSet<int> sizes;
    for (const auto& match : QRegularExpression(QStringLiteral("font-size=\"([0-9]+)\"")).globalMatch(QString::fromUtf8(svg.readAll())))
        sizes.insert(match.captured(1).toInt());
    return sizes;
}

TEST_F(PageOutput, FontSizeScalesLabelsAndTitleTogether)
{
    EXPECT_EQ(FontSizes(Written({}, "plain.svg")), (QSet<int>{11, 16}));
    EXPECT_EQ(FontSizes(Written({"--font-size", "8.25"}, "same.svg")), (QSet<int>{11, 16}));
    EXPECT_EQ(FontSizes(Written({"--font-size", "16.5"}, "double.svg")), (QSet<int>{22, 32}));
}

// The share of the ink (dark pixels) of `a` that `b` has dark at the same
// places: near 1 for the same figure.
double InkKept(const QImage& a, const QImage& b)
{
    int ink = 0, kept = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (qGray(a.pixel(x, y)) < 128) {
                ++ink;
                kept += qGray(b.pixel(x, y)) < 200;
            }
    return double(kept) / std::max(ink, 1);
}

TEST_F(PageOutput, AHigherResolutionIsTheSameFigureSharper)
{
    const QImage base(Written({"--size", "90mmx60mm"}, "96.png"));
    ASSERT_EQ(base.size(), QSize(340, 227));
    // At 96 per inch a physical size is its pixels, drawn as they always were.
    EXPECT_EQ(base.convertToFormat(QImage::Format_RGB32),
              QImage(Written({"--size", "340x227"}, "pixels.png")).convertToFormat(QImage::Format_RGB32));
    const auto shrunk = [&](const char* name) {
        return QImage(Path(name)).scaled(base.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    Written({"--size", "90mmx60mm", "--dpi", "300"}, "300.png");
    // The same pixels drawn as a figure three times as large, for contrast.
    Written({"--size", "1063x709"}, "large.png");
    const double same = InkKept(base, shrunk("300.png"));
    const double other = InkKept(base, shrunk("large.png"));
    EXPECT_GT(same, 0.8) << other;
    EXPECT_LT(other, 0.3) << same;
}

TEST_F(PageOutput, TransparentPicturesKeepTheirDrawingAndItsSmoothEdges)
{
    const QString file = Written({"--size", "90mmx60mm", "--dpi", "150", "--background", "none", "--antialias"}, "t.png");
    EXPECT_EQ(Tool("convert", {file, "-format", "%[fx:p{0,0}.a] %[fx:p{0,h-1}.a]", "info:"}), "0 0");
    const QImage picture = QImage(file).convertToFormat(QImage::Format_ARGB32);
    int partly = 0, opaque = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int alpha = qAlpha(picture.pixel(x, y));
            partly += alpha > 0 && alpha < 255;
            opaque += alpha == 255;
        }
    EXPECT_GT(opaque, 1000);
    EXPECT_GT(partly, 500);

    QFile svg(Written({"--background", "none"}, "t.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_FALSE(svg.readAll().contains("fill=\"#FFFFCA\""));
}

// The colours of the plot area of a picture, apart from the title's text.
int Colours(const QImage& picture)
{
    constexpr int Margin = 40;
    QSet<QRgb> seen;
    for (int y = Margin; y < picture.height() - Margin; ++y)
        for (int x = Margin; x < picture.width() - Margin; ++x)
            seen.insert(picture.pixel(x, y));
    return static_cast<int>(seen.size());
}

TEST_F(PageOutput, AntialiasSmoothsTheCurve)
{
    // Without ticks, so that only the lines can bring new shades.
    const TWords bare = {"--size", "300x200", "--no-ticks", "--line-width", "3"};
    const int sharp = Colours(QImage(Written(bare, "sharp.png", "sin(x)*4")));
    TWords smooth = bare;
    smooth.push_back("--antialias");
    EXPECT_LE(sharp, 10);
    EXPECT_GT(Colours(QImage(Written(smooth, "smooth.png", "sin(x)*4"))), 3 * sharp);
}

TEST_F(PageOutput, BadSizesAndResolutionsAreRefusedAndWriteNothing)
{
    const struct { TWords words; const char* message; } cases[] = {
        {{"--size", "90qqx60mm"}, "--size takes WxH in pixels, or both sides with a unit"},
        {{"--size", "90mmx60"}, "--size takes WxH in pixels, or both sides with a unit"},
        {{"--size", "9.5mmx60mm"}, "--size takes sides of at least 10mm"},
        {{"--size", "15mmx60mm"}, "--size 15mmx60mm draws 57x227 pixels at 96 per inch"},
        {{"--size", "900mmx60mm", "--dpi", "300"}, "--size is at most 10000x10000 for a BMP, PNG, GIF or PPM picture, not 10630x709"},
        {{"--size", "300x300", "--dpi", "2400"}, "--size 300x300 draws 12x12 pixels"},
        {{"--dpi", "71"}, "--dpi takes an integer from 72 to 2400, not '71'"},
        {{"--dpi", "2401"}, "--dpi takes an integer from 72 to 2400"},
        {{"--font-size", "3"}, "--font-size takes points from 4 to 72"},
        {{"--background", "none", "--format", "bmp"}, "--background none is for PNG, SVG and PDF"},
    };
    for (const auto& c : cases) {
        TWords words = c.words;
        const bool toStandardOutput = std::find(words.begin(), words.end(), "--format") != words.end();
        words.push_back("x");
        words.push_back(toStandardOutput ? "-" : Path("out.png").toStdString());
        const TRendererOutcome outcome = Run(words);
        EXPECT_EQ(outcome.Status, 2) << c.message;
        EXPECT_TRUE(outcome.Errors.starts_with(std::string("orvalis-plot: ") + c.message)) << outcome.Errors;
        EXPECT_TRUE(outcome.Output.empty());
    }
    for (const char* name : {"out.bmp", "out.gif", "out.ppm"})
        EXPECT_EQ(Run({"--background", "none", "x", Path(name).toStdString()}).Status, 2) << name;
    EXPECT_TRUE(QDir(Folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

}  // namespace
