// The LaTeX picture of a plot: the plotter lays the plot out and samples it
// on a canvas that draws nothing, then the window and the samples are
// written as a PGFPlots axis.
#include "plot/drawing/TexPicture.h"
#include "plot/drawing/LayoutCanvas.h"

#include "plot/drawing/Canvas.h"
#include "plot/drawing/Legend.h"
#include "plot/drawing/Plotter.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace {

constexpr int TexDigits = 10;
// Pixels of the drawing are at 96 per inch, TeX's points 72.27 per inch;
// PostScript points (bp) are 72, so a pixel is exactly 0.75bp.
constexpr double BigPointsPerPixel = 0.75;
constexpr int CoordinatesPerLine = 4;
// Points this many window heights beyond the window are cut off at that
// distance: PGFPlots maps coordinates to TeX lengths, which overflow far
// beyond the page, and nothing that far out can be seen.
constexpr double KeptHeights = 1.0;

// A document whose page is the picture's box, made of LaTeX's base classes
// alone (the standalone class is not in every installation): the picture is
// set in a box, the page takes the box's size and the box is the page.
const char StandaloneOpening[] =
    "\\documentclass{article}\n"
    "\\usepackage{pgfplots}\n"
    "\\pgfplotsset{compat=1.18}\n"
    "\\pagestyle{empty}\n"
    "\\newsavebox\\orvalisfigure\n"
    "\\begin{document}\n"
    "\\begin{lrbox}{\\orvalisfigure}%\n";
const char StandaloneClosing[] =
    "\\end{lrbox}%\n"
    "\\ifdefined\\pdfpagewidth\\else\\let\\pdfpagewidth\\pagewidth\\let\\pdfpageheight\\pageheight\\fi\n"
    "\\pdfpagewidth=\\wd\\orvalisfigure\n"
    "\\pdfpageheight=\\dimexpr\\ht\\orvalisfigure+\\dp\\orvalisfigure\\relax\n"
    "\\hoffset=-1in \\voffset=-1in\n"
    "\\shipout\\box\\orvalisfigure\n"
    "\\end{document}\n";

std::string Length(const std::string& given, std::int32_t pixels)
{
    return given.empty() ? TexNumber(pixels * BigPointsPerPixel) + "bp" : given;
}

// "255,128,0" of 0x00BBGGRR.
std::string RgbOf(TColor color)
{
    return std::to_string(color & 0xFF) + "," + std::to_string(color >> 8 & 0xFF) + "," +
           std::to_string(color >> 16 & 0xFF);
}

const char* LegendPlace(TLegendPosition position)
{
    switch (position) {
    case TLegendPosition::TopLeft:
        return "north west";
    case TLegendPosition::BottomLeft:
        return "south west";
    case TLegendPosition::BottomRight:
        return "south east";
    case TLegendPosition::OutsideRight:
        return "outer north east";
    case TLegendPosition::TopRight:
    case TLegendPosition::None:
        break;
    }
    return "north east";
}

// Colour names of letters alone, as every TeX macro name is.
std::string ColourName(std::size_t curve)
{
    std::string name = "orvaliscurve";
    do {
        name += static_cast<char>('a' + curve % 26);
        curve /= 26;
    } while (curve > 0);
    return name;
}

struct TPoint {
    double X, Y;
    bool Defined;
};

// The curve's points as the plot joins them: (x, y) in Cartesian mode,
// (r cos a, r sin a) in polar mode.
std::vector<TPoint> CurvePoints(const TSamples& samples, double low, double high, bool cartesian)
{
    std::vector<TPoint> points;
    const std::int32_t n = samples.SampleCount;
    for (std::int32_t i = 0; i <= n; ++i) {
        const double x = i == n ? high : low + (high - low) * i / n;
        const double v = samples.Samples[static_cast<std::size_t>(i)];
        const bool defined = !samples.SampleUndefined[static_cast<std::size_t>(i)] && std::isfinite(v);
        points.push_back(cartesian ? TPoint{x, v, defined} : TPoint{v * std::cos(x), v * std::sin(x), defined});
    }
    return points;
}

// The coordinates of one \addplot: undefined points and the cut-off stretches
// as nan, where the curve breaks; a segment that leaves the kept band ends
// on its edge, so what is seen of it keeps its slope.
std::string Coordinates(const std::vector<TPoint>& points, double bottom, double top)
{
    std::string text;
    int onLine = 0;
    const auto add = [&](double x, const std::string& y) {
        text += (onLine == 0 ? "  " : " ") + ("(" + TexNumber(x) + "," + y + ")");
        if (++onLine == CoordinatesPerLine) {
            text += '\n';
            onLine = 0;
        }
    };
    const auto kept = [&](const TPoint& p) { return p.Defined && p.Y >= bottom && p.Y <= top; };
    const auto edge = [&](const TPoint& in, const TPoint& out) {
        const double y = out.Y > top ? top : bottom;
        add(in.X + (out.X - in.X) * (y - in.Y) / (out.Y - in.Y), TexNumber(y));
    };
    bool broken = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint& p = points[i];
        const bool hasBefore = i > 0 && points[i - 1].Defined;
        if (kept(p)) {
            if (hasBefore && !kept(points[i - 1]))
                edge(p, points[i - 1]);
            add(p.X, TexNumber(p.Y));
            broken = false;
            continue;
        }
        if (p.Defined && hasBefore && kept(points[i - 1]))
            edge(points[i - 1], p);
        if (!broken)
            add(p.X, "nan");
        broken = true;
    }
    if (onLine != 0)
        text += '\n';
    return text;
}

}  // namespace

std::string TexEscaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        // The math backslash is in every installation's fonts; the text one
        // needs fonts that some must first generate.
        case '\\': escaped += "$\\backslash$"; break;
        case '^': escaped += "\\textasciicircum{}"; break;
        case '~': escaped += "\\textasciitilde{}"; break;
        case '_': case '%': case '&': case '#': case '$': case '{': case '}':
            escaped += '\\';
            escaped += c;
            break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string TexNumber(double value)
{
    if (!std::isfinite(value))
        return "nan";
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, TexDigits).ptr;
    return std::string(digits, end);
}

QByteArray PlotTexPicture(TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& request)
{
    TLayoutCanvas layout(plotter.PictureSize());
    plotter.Plot(evaluator, request, layout);
    const TViewWindow& view = plotter.View();
    const TPageLook& look = plotter.PageLook();
    double low, high;
    ReadXRange(request.XlowText, request.XhighText, low, high);

    std::string title = request.TitleCaption + " " + request.Formula;
    for (const TCurve& curve : request.MoreCurves)
        title += "; " + curve.Formula;
    if (request.Title)
        title = *request.Title;

    std::string tex;
    if (look.Standalone)
        tex += StandaloneOpening;
    tex += "\\begin{tikzpicture}\n";
    std::vector<TColor> colours{request.Drawing.GoodPointColor};
    for (const TCurve& curve : request.MoreCurves)
        colours.push_back(curve.GoodColor);
    for (std::size_t i = 0; i < colours.size(); ++i)
        tex += "\\definecolor{" + ColourName(i) +
               "}{RGB}{" + RgbOf(colours[i]) + "}\n";
    const TPictureSize size = plotter.PictureSize();
    tex += "\\begin{axis}[width=" + Length(look.WidthText, size.Width) +
           ", height=" + Length(look.HeightText, size.Height) + ",\n  xmin=" +
           TexNumber(view.XMin) + ", xmax=" + TexNumber(view.XMax) + ", ymin=" + TexNumber(view.YMin) +
           ", ymax=" + TexNumber(view.YMax) + ",\n  unbounded coords=jump";
    if (!title.empty())
        tex += ",\n  title={" + TexEscaped(title) + "}";
    if (request.XTitle)
        tex += ",\n  xlabel={" + TexEscaped(*request.XTitle) + "}";
    if (request.YTitle)
        tex += ",\n  ylabel={" + TexEscaped(*request.YTitle) + "}";
    if (request.Drawing.Grid)
        tex += ",\n  grid=major";
    if (request.Legend != TLegendPosition::None)
        tex += ",\n  legend pos=" + std::string(LegendPlace(request.Legend)) + ", legend cell align=left";
    tex += "]\n";

    const double span = view.YMax - view.YMin;
    const double bottom = view.YMin - KeptHeights * span, top = view.YMax + KeptHeights * span;
    const std::vector<TLegendRow> rows = LegendRows(request);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const TSamples& samples = i == 0 ? plotter.Samples() : plotter.MoreSamples()[i - 1];
        tex += "\\addplot[color=" + ColourName(i) +
               ", mark=none, line width=" + TexNumber(request.Drawing.LineWidth * BigPointsPerPixel) +
               "bp] coordinates {\n" +
               Coordinates(CurvePoints(samples, low, high, request.Cartesian), bottom, top) + "};\n";
        if (request.Legend != TLegendPosition::None)
            tex += "\\addlegendentry{" + TexEscaped(rows[i].Title.toStdString()) + "}\n";
    }
    tex += "\\end{axis}\n\\end{tikzpicture}\n";
    if (look.Standalone)
        tex += StandaloneClosing;
    return QByteArray::fromStdString(tex);
}
