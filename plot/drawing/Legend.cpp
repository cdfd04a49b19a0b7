// The legend's rows, its box's size and place, and its drawing.
#include "plot/drawing/Legend.h"
#include "plot/drawing/Canvas.h"
#include "plot/drawing/FaceFiles.h"

#include "numeric/CheckedArithmetic.h"

#include <algorithm>

namespace {

// Inside the box: the blank around the rows, the length of a row's line, the
// gap between the line and the title, and the widest line drawn (a wider
// curve would fill the row).
constexpr std::int32_t Padding = 5;
constexpr std::int32_t SwatchLength = 20;
constexpr std::int32_t SwatchGap = 6;
constexpr std::int32_t MaxSwatchWidth = 5;

}  // namespace

std::vector<TLegendRow> LegendRows(const TPlotRequest& request)
{
    const QString caption = request.Cartesian ? QStringLiteral("y = ") : QStringLiteral("r = ");
    std::vector<TLegendRow> rows{{caption + QString::fromStdString(request.Formula), request.Drawing.GoodPointColor}};
    for (const TCurve& curve : request.MoreCurves)
        rows.push_back({caption + QString::fromStdString(curve.Formula), curve.GoodColor});
    return rows;
}

QSize MeasureLegend(TCanvas& canvas, const TPlotRequest& request, const std::vector<TLegendRow>& rows)
{
    canvas.SetFont(QString::fromLatin1(ProgramMonoFace), canvas.FontPoints(), request.Drawing.GoodPointColor);
    std::int32_t widest = 0, height = 0;
    for (const TLegendRow& row : rows) {
        const QSize extent = canvas.TextExtent(row.Title);
        widest = std::max(widest, extent.width());
        height = CheckedAdd(height, extent.height());
    }
    return {CheckedAdd(2 * Padding + SwatchLength + SwatchGap, widest), CheckedAdd(2 * Padding, height)};
}

QRect LegendBox(TLegendPosition position, QSize size, TPictureSize picture, std::int32_t plotWidth)
{
    const std::int32_t left = PlotMargin + LegendInset;
    const std::int32_t top = PlotMargin + LegendInset;
    const std::int32_t right = CheckedSub(picture.Width, PlotMargin + LegendInset);
    const std::int32_t bottom = CheckedSub(picture.Height, PlotMargin + LegendInset);
    const auto endingAt = [&](std::int32_t x, std::int32_t y) {
        return QRect(QPoint(x - size.width() + 1, y - size.height() + 1), size);
    };
    switch (position) {
    case TLegendPosition::TopLeft:
        return QRect(QPoint(left, top), size);
    case TLegendPosition::BottomLeft:
        return endingAt(left + size.width() - 1, bottom);
    case TLegendPosition::BottomRight:
        return endingAt(right, bottom);
    case TLegendPosition::OutsideRight:
        // Level with the top of the plot area, right of the narrowed plot's
        // margin, where the horizontal axis's name stands.
        return QRect(QPoint(plotWidth, PlotMargin), size);
    case TLegendPosition::TopRight:
    case TLegendPosition::None:
        break;
    }
    return endingAt(right, top + size.height() - 1);
}

void DrawLegend(TCanvas& canvas, const TPlotRequest& request, const std::vector<TLegendRow>& rows, const QRect& box)
{
    canvas.SetBrush(request.Drawing.BackgroundColor);
    canvas.SetPen(request.Drawing.AxisColor, 1);
    canvas.Rectangle(box.left(), box.top(), box.right(), box.bottom());
    const std::int32_t swatchWidth = std::clamp(request.Drawing.LineWidth, 1, MaxSwatchWidth);
    std::int32_t y = box.top() + Padding;
    for (const TLegendRow& row : rows) {
        const std::int32_t height = canvas.TextExtent(row.Title).height();
        const std::int32_t middle = y + height / 2;
        canvas.SetPen(row.Color, swatchWidth);
        canvas.Line(box.left() + Padding, middle, box.left() + Padding + SwatchLength - 1, middle);
        canvas.TextOut(box.left() + Padding + SwatchLength + SwatchGap, y, row.Title);
        y = CheckedAdd(y, height);
    }
}
