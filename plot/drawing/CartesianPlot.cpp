// y = f(x, z): one sample per pixel column, the vertical extent fitted on
// request, segments cut at the top and bottom edges.
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Plotter.h"
#include "plot/core/SegmentGeometry.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"

#include <algorithm>

void TPlotter::PlotCartesian(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    const std::int32_t areaWidth = CheckedSub(Size.Width, 2 * PlotMargin);
    const std::int32_t areaHeight = CheckedSub(Size.Height, 2 * PlotMargin);
    Samples_.SampleCount = std::min(areaWidth, MaxSampleCount);
    double low, high;
    ReadXRange(request.XlowText, request.XhighText, low, high);
    // Every curve is sampled before the window is fitted, so that a fit can
    // cover them all.
    SampleFormula(evaluator, low, high, request.Z);
    SampleMoreCurves(request, low, high);
    View_.XMin = low;
    View_.XMax = high;

    // One unit as long on both axes: the vertical extent takes the scale of
    // the horizontal one, centred on y = 0.
    const double pixelWidth = StoreDouble((static_cast<long double>(View_.XMax) - View_.XMin) / areaWidth);
    const double span = StoreDouble(static_cast<long double>(areaHeight) * pixelWidth);
    if (View_.ResetView) {
        View_.YMin = StoreDouble(-span / 2.0L);
        View_.YMax = StoreDouble(span / 2.0L);
        View_.ResetView = false;
    }

    canvas.SetPenWidth(1);
    DrawFrame(canvas, request);
    DrawAxes(canvas, request);

    const std::int32_t width = request.Drawing.LineWidth;
    canvas.SetPenWidth(width);
    DrawCartesianCurve(canvas, Samples_, request.Drawing.GoodPointColor, request.Drawing.BadPointColor, width);
    for (std::size_t i = 0; i < MoreSamples_.size(); ++i)
        DrawCartesianCurve(canvas, MoreSamples_[i], request.MoreCurves[i].GoodColor, request.MoreCurves[i].BadColor,
                           width);
}

void TPlotter::DrawCartesianCurve(TCanvas& canvas, const TSamples& samples, TColor good, TColor bad,
                                  std::int32_t width) const
{
    const std::int32_t n = samples.SampleCount;
    const double dx = StoreDouble((static_cast<long double>(View_.XMax) - View_.XMin) / n);
    for (std::int32_t i = 0; i < n; ++i) {
        // Between two undefined samples the curve runs along y = 0 in the bad
        // colour; a segment with one defined end is a good one.
        const bool undefined = samples.SampleUndefined[i] && samples.SampleUndefined[i + 1];
        const TColor color = undefined ? bad : good;
        if (color != canvas.PenColor())
            canvas.SetPen(color, width);
        double xa = StoreDouble(static_cast<long double>(i) * dx + View_.XMin);
        double ya = samples.Samples[i];
        double xb = StoreDouble(static_cast<long double>(xa) + dx);
        double yb = samples.Samples[i + 1];
        if (!CutAtVerticalExtent(View_, dx, xa, ya, xb, yb))
            continue;
        canvas.Line(WorldToPixelX(xa), WorldToPixelY(ya), WorldToPixelX(xb), WorldToPixelY(yb));
    }
}
