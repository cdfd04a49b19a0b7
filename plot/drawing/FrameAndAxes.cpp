// Background, boundary and title line, then the grid and the axes with
// arrowheads, names, ticks and tick labels: everything of a plot but the curve.
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Plotter.h"
#include "plot/drawing/FaceFiles.h"
#include "plot/core/Ticks.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <vector>

namespace {

const QString TitleFont = QString::fromLatin1(ProgramMonoFace);
constexpr int TitlePoints = 12;
// Length of the arrowheads along the axis and their half-width across it.
constexpr std::int32_t ArrowLength = 5;
constexpr std::int32_t ArrowHalfWidth = 5;
constexpr std::int32_t TickHalfLength = 3;
// Gap between a tick and its label, and between the vertical axis and its name.
constexpr std::int32_t LabelGap = 5;
// The horizontal axis's name starts this far left of the picture's right edge.
constexpr std::int32_t NameFromRight = 32;
constexpr int TickLabelPrecision = 15;

QString TickLabel(long double value)
{
    return QString::fromStdString(FormatGeneral(value, TickLabelPrecision));
}

// Ticks closer together than one pixel would only smear the axis: such an
// axis gets none (a window far taller than wide, drawn with the x step).
bool TicksFit(TTickIndices ticks, std::int32_t pixels)
{
    return ticks.Count() <= static_cast<std::int64_t>(pixels) + 1;
}

// Two boxes sharing a pixel or side by side.
bool Touch(const QRect& a, const QRect& b)
{
    return a.adjusted(-1, -1, 1, 1).intersects(b);
}

// Whether the picture's edge would cut a label drawn in `box`: some of its
// ink lies outside. Only a box that reaches past the edge has its ink
// measured, so the labels of an ordinary view cost nothing more.
bool CutByEdge(const TCanvas& canvas, const QRect& picture, const QRect& box, const QString& label)
{
    return !picture.contains(box) && !picture.contains(canvas.TextInk(box.left(), box.top(), label));
}

}  // namespace

void TPlotter::DrawFrame(TCanvas& canvas, const TPlotRequest& request) const
{
    const std::int32_t w = Size.Width, h = Size.Height;
    canvas.SetBrush(request.Drawing.BackgroundColor);
    canvas.SetPenColor(request.Drawing.BackgroundColor);
    canvas.Rectangle(0, 0, w, h);
    canvas.SetPenColor(request.Drawing.AxisColor);
    // The boundary's inside is the background just filled: only its outline
    // changes pixels.
    if (request.Drawing.Boundary)
        canvas.RectangleOutline(PlotMargin, PlotMargin, CheckedSub(w, PlotMargin), CheckedSub(h, PlotMargin));

    // The caption and every curve's formula, unless the request names its own title.
    QString title = QString::fromStdString(request.TitleCaption) + ' ' + QString::fromStdString(request.Formula);
    for (const TCurve& curve : request.MoreCurves)
        title += QStringLiteral("; ") + QString::fromStdString(curve.Formula);
    if (request.Title)
        title = QString::fromStdString(*request.Title);
    const int savedPoints = canvas.FontPoints();
    canvas.SetFont(TitleFont, TitlePoints, request.Drawing.GoodPointColor);
    if (!title.isEmpty()) {
        const QSize extent = canvas.TextExtent(title);
        canvas.TextOut(CheckedSub(w, extent.width()) / 2, CheckedSub(PlotMargin, extent.height()) / 2, title);
    }
    canvas.SetFontPoints(savedPoints);
}

std::int32_t TitleLineBottom(TCanvas& canvas)
{
    const int savedPoints = canvas.FontPoints();
    canvas.SetFont(TitleFont, TitlePoints, 0);
    const std::int32_t height = canvas.TextExtent(QStringLiteral("Y")).height();
    canvas.SetFontPoints(savedPoints);
    return (PlotMargin - height) / 2 + height;
}

void TPlotter::DrawAxes(TCanvas& canvas, const TPlotRequest& request) const
{
    const long double step = TickStep(View_.XMin, View_.XMax);
    const long double yStep = View_.OwnYStep ? TickStep(View_.YMin, View_.YMax) : step;
    const bool horizontal = !(View_.YMin > 0.0) && !(View_.YMax < 0.0);
    const bool vertical = !(View_.XMin > 0.0) && !(View_.XMax < 0.0);
    // An axis out of view keeps its scale on the frame when asked to; only
    // its ticks, labels and name are drawn there.
    const bool onFrame = request.Drawing.ScaleOnFrame && request.Drawing.Ticks;
    const bool drawHorizontal = horizontal || onFrame, drawVertical = vertical || onFrame;
    // The grid stands at the labelled ticks, so it needs the ticks.
    if (request.Drawing.Grid && request.Drawing.Ticks) {
        canvas.SetPenColor(GridColor(request.Drawing));
        if (drawHorizontal)
            DrawAxis(canvas, request, TAxis::Horizontal, step, !horizontal, TAxisPart::Grid);
        if (drawVertical)
            DrawAxis(canvas, request, TAxis::Vertical, yStep, !vertical, TAxisPart::Grid);
        canvas.SetPenColor(request.Drawing.AxisColor);
    }
    if (drawHorizontal)
        DrawAxis(canvas, request, TAxis::Horizontal, step, !horizontal);
    if (drawVertical)
        DrawAxis(canvas, request, TAxis::Vertical, yStep, !vertical);
}

void TPlotter::DrawAxis(TCanvas& canvas, const TPlotRequest& request, TAxis axis, long double step, bool onFrame,
                        TAxisPart part) const
{
    // Positions are taken along the axis and across it, so one routine draws
    // both: the horizontal axis lies at the row of y = 0, the vertical one at
    // the column of x = 0; on the frame, at the plot area's bottom row and
    // left column, with its labels on the same side as on the axis.
    const bool horizontal = axis == TAxis::Horizontal;
    const auto point = [horizontal](std::int32_t along, std::int32_t across) {
        return horizontal ? QPoint(along, across) : QPoint(across, along);
    };
    const auto line = [&](std::int32_t along1, std::int32_t across1, std::int32_t along2, std::int32_t across2) {
        const QPoint a = point(along1, across1), b = point(along2, across2);
        canvas.Line(a.x(), a.y(), b.x(), b.y());
    };
    const std::int32_t side = horizontal ? Size.Width : Size.Height;
    const std::int32_t at = onFrame      ? (horizontal ? CheckedSub(Size.Height, PlotMargin) : PlotMargin)
                            : horizontal ? WorldToPixelY(0.0)
                                         : WorldToPixelX(0.0);
    const std::int32_t end = CheckedSub(side, PlotMargin);
    if (part == TAxisPart::Axis && !onFrame) {
        line(PlotMargin, at, end, at);
        for (const std::int32_t offset : {-ArrowHalfWidth, ArrowHalfWidth}) {
            line(PlotMargin + ArrowLength, CheckedAdd(at, offset), PlotMargin, at);
            line(CheckedSub(end, ArrowLength), CheckedAdd(at, offset), end, at);
        }
    }

    // The horizontal axis's name lies right of its end, centred on it; the
    // vertical one's left of it, level with the top of the plot area.
    const QString name = request.Cartesian ? QString(horizontal ? "X" : "Y") : QStringLiteral("R(x)");
    const QSize nameExtent = canvas.TextExtent(name);
    const QPoint namePlace =
        horizontal ? QPoint(CheckedSub(Size.Width, NameFromRight), CheckedSub(at, nameExtent.height() / 2))
                   : QPoint(CheckedSub(CheckedSub(at, LabelGap), nameExtent.width()), PlotMargin);
    if (part == TAxisPart::Axis)
        canvas.TextOut(namePlace.x(), namePlace.y(), name);

    if (!request.Drawing.Ticks)
        return;
    const TTickIndices ticks = horizontal ? TickIndices(View_.XMin, View_.XMax, step)
                                          : TickIndices(View_.YMin, View_.YMax, step);
    if (!TicksFit(ticks, CheckedSub(side, 2 * PlotMargin)))
        return;
    // When not every label has room, every k-th tick gets one (its index a
    // multiple of k), so the labels stand at equal distances and read as a
    // linear scale; the ticks between keep their marks. Labels that would
    // cover or touch each other would be unreadable. Side by side on the
    // horizontal axis, labels need a blank's width between them, or "0.5"
    // and "1" read as "0.51". A label that would touch the name's letters
    // (the blank band below them may be covered without harm) is left out:
    // it stands at the axis's end, where the name already marks the way. So
    // is a label that the picture's edge would cut: what is left of it would
    // read as another number. All labels are measured first; then each tick
    // is marked and its label, if it has one, drawn over the ticks before it.
    const QRect nameInk = canvas.TextInk(namePlace.x(), namePlace.y(), name);
    const bool xScaleBelow = request.Drawing.ScaleOnFrame && (View_.YMin > 0.0 || View_.YMax < 0.0);
    const QRect picture(0, 0, Size.Width, Size.Height);
    const std::int32_t labelGap = horizontal ? std::max(1, canvas.TextExtent(QStringLiteral(" ")).width()) : 1;
    struct TTick {
        std::int32_t Pixel;
        QString Label;
    };
    std::vector<TTick> marks;
    std::vector<TTickLabel> spans;
    marks.reserve(static_cast<std::size_t>(ticks.Count()));
    spans.reserve(static_cast<std::size_t>(ticks.Count()));
    // On an axis the origin, where the other axis crosses, has no tick. On
    // the bottom edge 0 is a tick like any other: the y axis's labels stop
    // above it. On the left edge, 0 is where the x axis, with its labels,
    // meets it.
    const bool tickAtZero = onFrame && horizontal;
    for (std::int64_t k = ticks.First; k <= ticks.Last; ++k) {
        if (k == 0 && !tickAtZero) {
            marks.push_back({0, QString()});
            spans.push_back({});
            continue;
        }
        const long double value = k * step;
        const std::int32_t tick = horizontal ? WorldToPixelX(static_cast<double>(value))
                                             : WorldToPixelY(static_cast<double>(value));
        const QString label = TickLabel(value);
        const QRect box(point(tick, CheckedAdd(at, LabelGap)), canvas.TextExtent(label));
        // While the bottom edge holds the x scale, the margin below it is
        // that scale's: a y label stays above it.
        const bool intoBottomMargin =
            xScaleBelow && !horizontal && box.bottom() > CheckedSub(Size.Height, PlotMargin);
        spans.push_back({horizontal ? box.left() : box.top(), horizontal ? box.right() : box.bottom(),
                         Touch(box, nameInk) || CutByEdge(canvas, picture, box, label) || intoBottomMargin});
        marks.push_back({tick, label});
    }
    const std::int64_t stride = LabelStride(ticks, spans, labelGap, step, tickAtZero);
    for (std::int64_t k = ticks.First; k <= ticks.Last; ++k) {
        if (k == 0 && !tickAtZero)
            continue;
        const std::size_t i = static_cast<std::size_t>(k - ticks.First);
        const std::int32_t tick = marks[i].Pixel;
        if (part == TAxisPart::Axis)
            line(tick, CheckedSub(at, TickHalfLength), tick, CheckedAdd(at, TickHalfLength));
        if (stride == 0 || k % stride != 0 || spans[i].LeftOut)
            continue;
        if (part == TAxisPart::Grid) {
            DrawGridLine(canvas, horizontal, tick);
            continue;
        }
        const QPoint place = point(tick, CheckedAdd(at, LabelGap));
        canvas.TextOut(place.x(), place.y(), marks[i].Label);
    }
}

void TPlotter::DrawGridLine(TCanvas& canvas, bool vertical, std::int32_t at) const
{
    // Strictly inside the plot area, so that the boundary keeps its colour.
    const std::int32_t across = vertical ? Size.Width : Size.Height;
    const std::int32_t along = vertical ? Size.Height : Size.Width;
    if (at <= PlotMargin || at >= CheckedSub(across, PlotMargin))
        return;
    const std::int32_t first = PlotMargin + 1, last = CheckedSub(along, PlotMargin + 1);
    if (vertical)
        canvas.Line(at, first, at, last);
    else
        canvas.Line(first, at, last, at);
}
