// r = f(angle, z): 2001 samples whatever the width, the window fitted to the
// largest radius on request, segments clipped against all four edges.
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Plotter.h"
#include "plot/core/SegmentGeometry.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"

#include <algorithm>

void TPlotter::PlotPolar(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    Samples_.SampleCount = MaxSampleCount;
    double low, high;
    ReadXRange(request.XlowText, request.XhighText, low, high);
    // The fit covers the largest radius of every curve.
    const double first = SampleFormula(evaluator, low, high, request.Z);
    const double rMax = std::max(first, SampleMoreCurves(request, low, high));

    if (View_.ResetView) {
        // Equal scales on both axes, centred on the origin; then the shorter
        // side of the plot area spans −rMax to rMax, so the circle of the
        // largest radius just fits.
        View_.XMin = -rMax;
        View_.XMax = rMax;
        const double pixelWidth = StoreDouble((static_cast<long double>(View_.XMax) - View_.XMin) /
                                              CheckedSub(Size.Width, 2 * PlotMargin));
        const double h =
            StoreDouble(CheckedSub(Size.Height, 2 * PlotMargin) * (0.5L * pixelWidth));
        View_.YMin = -h;
        View_.YMax = h;
        const double q = StoreDouble(CheckedDivide(View_.XMin, View_.YMin));
        if (q > 1.0) {
            View_.XMin = StoreDouble(static_cast<long double>(View_.XMin) * q);
            View_.XMax = StoreDouble(static_cast<long double>(View_.XMax) * q);
            View_.YMin = StoreDouble(static_cast<long double>(View_.YMin) * q);
            View_.YMax = StoreDouble(static_cast<long double>(View_.YMax) * q);
        }
    }
    View_.ResetView = false;

    canvas.SetPenWidth(1);
    DrawFrame(canvas, request);
    DrawAxes(canvas, request);
    const std::int32_t width = request.Drawing.LineWidth;
    canvas.SetPen(request.Drawing.GoodPointColor, width);
    DrawPolarCurve(canvas, Samples_, low, high);
    for (std::size_t i = 0; i < MoreSamples_.size(); ++i) {
        canvas.SetPen(request.MoreCurves[i].GoodColor, width);
        DrawPolarCurve(canvas, MoreSamples_[i], low, high);
    }
}

void TPlotter::DrawPolarCurve(TCanvas& canvas, const TSamples& samples, double low, double high) const
{
    const std::int32_t n = samples.SampleCount;
    const double dTheta = StoreDouble((static_cast<long double>(high) - low) / n);
    // The end of one segment is the start of the next: its point is computed
    // once, unless the segment was skipped before it was computed.
    double nextX = 0.0, nextY = 0.0;
    bool nextKnown = false;
    for (std::int32_t i = 0; i < n; ++i) {
        // Between two undefined samples nothing is drawn; an undefined end has
        // radius 0 and so lies at the origin.
        const bool known = nextKnown;
        nextKnown = false;
        if (samples.SampleUndefined[i] && samples.SampleUndefined[i + 1])
            continue;
        double xa = nextX, ya = nextY, xb, yb;
        if (!known)
            PolarToCartesian(StoreDouble(static_cast<long double>(i) * dTheta + low), samples.Samples[i], xa, ya);
        PolarToCartesian(StoreDouble(static_cast<long double>(CheckedAdd(i, 1)) * dTheta + low),
                         samples.Samples[i + 1], xb, yb);
        nextX = xb;
        nextY = yb;
        nextKnown = true;
        if (OutsideWindow(View_, xa, ya, xb, yb))
            continue;
        ClipSegment(View_, xa, ya, xb, yb);
        if (OutsideWindow(View_, xa, ya, xb, yb))
            continue;
        canvas.Line(WorldToPixelX(xa), WorldToPixelY(ya), WorldToPixelX(xb), WorldToPixelY(yb));
    }
}
