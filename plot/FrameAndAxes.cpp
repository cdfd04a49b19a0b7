// Background, boundary and title line, then the axes with arrowheads, names,
// ticks and tick labels: everything of a plot but the curve.
#include "plot/PlotCanvas.h"
#include "plot/PlotEngine.h"
#include "plot/core/Ticks.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/NumberText.h"

namespace {

const QString TitleFont = QStringLiteral("Courier New");
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

}  // namespace

void TPlotEngine::DrawFrame(TPlotCanvas& canvas, const TPlotRequest& request) const
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

    const QString title =
        QString::fromStdString(request.TitleCaption) + ' ' + QString::fromStdString(request.Formula);
    const int savedPoints = canvas.FontPoints();
    canvas.SetFont(TitleFont, TitlePoints, request.Drawing.GoodPointColor);
    const QSize extent = canvas.TextExtent(title);
    canvas.TextOut(CheckedSub(w, extent.width()) / 2, CheckedSub(PlotMargin, extent.height()) / 2, title);
    canvas.SetFontPoints(savedPoints);
}

void TPlotEngine::DrawAxes(TPlotCanvas& canvas, const TPlotRequest& request) const
{
    const long double step = TickStep(View_.XMin, View_.XMax);
    if (!(View_.YMin > 0.0) && !(View_.YMax < 0.0))
        DrawHorizontalAxis(canvas, request, step);
    if (!(View_.XMin > 0.0) && !(View_.XMax < 0.0))
        DrawVerticalAxis(canvas, request, step);
}

void TPlotEngine::DrawHorizontalAxis(TPlotCanvas& canvas, const TPlotRequest& request, long double step) const
{
    const std::int32_t w = Size.Width;
    const std::int32_t py = WorldToPixelY(0.0);
    const std::int32_t right = CheckedSub(w, PlotMargin);
    const std::int32_t above = CheckedSub(py, ArrowHalfWidth), below = CheckedAdd(py, ArrowHalfWidth);
    canvas.Line(PlotMargin, py, right, py);
    canvas.Line(PlotMargin + ArrowLength, above, PlotMargin, py);
    canvas.Line(PlotMargin + ArrowLength, below, PlotMargin, py);
    canvas.Line(CheckedSub(right, ArrowLength), above, right, py);
    canvas.Line(CheckedSub(right, ArrowLength), below, right, py);

    const QString name = request.Cartesian ? QStringLiteral("X") : QStringLiteral("R(x)");
    canvas.TextOut(CheckedSub(w, NameFromRight), CheckedSub(py, canvas.TextExtent(name).height() / 2), name);

    if (!request.Drawing.Ticks)
        return;
    const TTickIndices ticks = TickIndices(View_.XMin, View_.XMax, step);
    if (!TicksFit(ticks, CheckedSub(w, 2 * PlotMargin)))
        return;
    for (std::int64_t k = ticks.First; k <= ticks.Last; ++k) {
        if (k == 0)
            continue;
        const long double x = k * step;
        const std::int32_t px = WorldToPixelX(static_cast<double>(x));
        canvas.Line(px, CheckedSub(py, TickHalfLength), px, CheckedAdd(py, TickHalfLength));
        canvas.TextOut(px, CheckedAdd(py, LabelGap), TickLabel(x));
    }
}

void TPlotEngine::DrawVerticalAxis(TPlotCanvas& canvas, const TPlotRequest& request, long double step) const
{
    const std::int32_t h = Size.Height;
    const std::int32_t px = WorldToPixelX(0.0);
    const std::int32_t bottom = CheckedSub(h, PlotMargin);
    const std::int32_t left = CheckedSub(px, ArrowHalfWidth), right = CheckedAdd(px, ArrowHalfWidth);
    canvas.Line(px, PlotMargin, px, bottom);
    canvas.Line(left, PlotMargin + ArrowLength, px, PlotMargin);
    canvas.Line(right, PlotMargin + ArrowLength, px, PlotMargin);
    canvas.Line(left, CheckedSub(bottom, ArrowLength), px, bottom);
    canvas.Line(right, CheckedSub(bottom, ArrowLength), px, bottom);

    const QString name = request.Cartesian ? QStringLiteral("Y") : QStringLiteral("R(x)");
    canvas.TextOut(CheckedSub(CheckedSub(px, LabelGap), canvas.TextExtent(name).width()), PlotMargin, name);

    if (!request.Drawing.Ticks)
        return;
    const TTickIndices ticks = TickIndices(View_.YMin, View_.YMax, step);
    if (!TicksFit(ticks, CheckedSub(h, 2 * PlotMargin)))
        return;
    for (std::int64_t k = ticks.First; k <= ticks.Last; ++k) {
        if (k == 0)
            continue;
        const long double y = k * step;
        const std::int32_t py = WorldToPixelY(static_cast<double>(y));
        canvas.Line(CheckedSub(px, TickHalfLength), py, CheckedAdd(px, TickHalfLength), py);
        canvas.TextOut(CheckedAdd(px, LabelGap), py, TickLabel(y));
    }
}
