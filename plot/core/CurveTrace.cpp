// The trace's point on the curve and its readout.
#include "plot/core/CurveTrace.h"

#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinDigits = 6, MaxDigits = 17;
// A spoken value: three significant digits are what an ear takes in.
constexpr int SpokenValueDigits = 3;
// Golden-section steps between a sample's neighbours: the bracket of a few
// samples shrinks below a double's precision well before this many.
constexpr int RefineSteps = 80;

TTracedPoint Point(double x, double value, bool undefined, bool polar)
{
    TTracedPoint point{x, undefined ? 0.0 : value, 0, 0, undefined};
    if (!polar) {
        point.PlaneX = x;
        point.PlaneY = point.Value;
    } else {
        point.PlaneX = point.Value * std::cos(x);
        point.PlaneY = point.Value * std::sin(x);
    }
    return point;
}

double DistanceSquared(const TTracedPoint& point, double wx, double wy)
{
    const double dx = point.PlaneX - wx, dy = point.PlaneY - wy;
    return dx * dx + dy * dy;
}

}  // namespace

TTracedPoint TracePointAt(const TRapidEvaluator& evaluator, double x, double z, bool polar)
{
    double value = 0;
    bool undefined = false;
    EvaluateFormulaAt(evaluator, &x, 1, z, &value, &undefined);
    undefined = undefined || !std::isfinite(value);
    ResetFpu();
    return Point(x, value, undefined, polar);
}

TTracedPoint TraceNearest(const TRapidEvaluator& evaluator, double low, double high, double z,
                          const TSamples& samples, double wx, double wy)
{
    const std::int32_t n = std::clamp(samples.SampleCount, 1, MaxSampleCount);
    const double step = (high - low) / n;
    std::int32_t best = -1;
    double bestDistance = 0;
    for (std::int32_t i = 0; i <= n; ++i) {
        if (samples.SampleUndefined[i])
            continue;
        const double d = DistanceSquared(Point(low + i * step, samples.Samples[i], false, true), wx, wy);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    if (best < 0)
        return TracePointAt(evaluator, low, z, true);
    // Golden section over the angles between the neighbours: the distance
    // to the pointer is near enough to unimodal on so short an arc.
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double a = low + std::max(best - 1, 0) * step, b = low + std::min(best + 1, n) * step;
    TTracedPoint found = TracePointAt(evaluator, low + best * step, z, true);
    for (int k = 0; k < RefineSteps && b - a > 0; ++k) {
        const double c = b - ratio * (b - a), d = a + ratio * (b - a);
        const TTracedPoint pc = TracePointAt(evaluator, c, z, true), pd = TracePointAt(evaluator, d, z, true);
        const double dc = pc.Undefined ? INFINITY : DistanceSquared(pc, wx, wy);
        const double dd = pd.Undefined ? INFINITY : DistanceSquared(pd, wx, wy);
        if (dc <= dd)
            b = d;
        else
            a = c;
        if (std::min(dc, dd) < DistanceSquared(found, wx, wy))
            found = dc <= dd ? pc : pd;
    }
    return found;
}

std::string TraceText(const TTracedPoint& point, bool polar, int digits)
{
    const auto number = [&](double v) { return FormatGeneral(v, digits); };
    const std::string value = point.Undefined ? "undefined" : number(point.Value);
    if (!polar)
        return "curve: x = " + number(point.X) + ",  y = " + value;
    std::string text = "curve: angle = " + number(point.X) + ",  r = " + value;
    if (!point.Undefined)
        text += ",  x = " + number(point.PlaneX) + ",  y = " + number(point.PlaneY);
    return text;
}

std::string TraceAnnouncement(const TTracedPoint& point, bool polar, int digits, const TPointOfInterest* at)
{
    const std::string x = (polar ? "angle " : "x ") + FormatGeneral(point.X, digits);
    if (point.Undefined)
        return x + ", undefined";
    const double magnitude = std::fabs(point.Value);
    const int valueDigits = magnitude >= 1 && std::isfinite(magnitude)
                                ? std::clamp(static_cast<int>(std::floor(std::log10(magnitude))) + 1,
                                             SpokenValueDigits, MaxDigits)
                                : SpokenValueDigits;
    const std::string value = (polar ? ", r " : ", y ") + FormatGeneral(point.Value, valueDigits);
    if (at && at->Kind == TPointKind::Root)
        return "root at " + x;
    if (at && (at->Kind == TPointKind::Maximum || at->Kind == TPointKind::Minimum))
        return std::string(PointKindWord(at->Kind)) + " at " + x + value;
    return x + value;
}

int DigitsToTellApart(double magnitude, double step)
{
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(magnitude))
        return MinDigits;
    const double needed = std::ceil(std::log10(std::max(std::fabs(magnitude), step) / step)) + 1;
    return std::clamp(static_cast<int>(needed), MinDigits, MaxDigits);
}
