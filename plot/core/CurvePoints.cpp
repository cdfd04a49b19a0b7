// Finding the points of interest: one pass over the samples for sign
// changes, humps and the edges of undefined stretches, each then narrowed
// with the formula itself in the unit's extended precision.
#include "plot/core/CurvePoints.h"

#include "plot/core/SegmentGeometry.h"
#include "plot/core/ValueTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Golden section narrows an extremum's bracket to this part of its x (of the
// bracket's size near 0); parabolas then place it to far better than 1e-9:
// one through the ends of that bracket, one through points this part of x
// apart, wide enough that rounding in the values moves the vertex by ~1e-12.
constexpr double GoldenTolerance = 1e-5;
constexpr double ParabolaSpan = 1e-6;
// Bounds golden section's steps whatever the range.
constexpr int MaxGoldenSteps = 100;
// (3 − √5) / 2: where golden section places its inner point.
constexpr double GoldenFraction = 0.38196601125010515;
// This many equal samples in a row are a flat stretch, which has no
// extremum (a constant would otherwise give one per sample).
constexpr int FlatRun = 3;

// The doubles in their order as integers, −0 and +0 as one: bisecting the
// integers halves the number of doubles left, so any bracket reaches two
// adjacent doubles within 64 steps, around 0 as well as anywhere else.
std::int64_t OrderKey(double x)
{
    std::int64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits < 0 ? -(bits & std::numeric_limits<std::int64_t>::max()) : bits;
}

double FromOrderKey(std::int64_t key)
{
    const std::int64_t bits = key < 0 ? ((-key) | std::numeric_limits<std::int64_t>::min()) : key;
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// The key halfway between two keys, without overflowing their difference.
std::int64_t MiddleKey(std::int64_t low, std::int64_t high)
{
    const std::uint64_t distance = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
    return low + static_cast<std::int64_t>(distance / 2);
}

class TCurve {
public:
    TCurve(const TRapidEvaluator& evaluator, double z) : Evaluator(evaluator), Z(z) {}

    bool At(double x, long double& value) const { return EvaluateFormulaExtended(Evaluator, x, Z, value); }

    // A sign change between a and b narrowed to two adjacent doubles. False
    // for a pole or a jump: an undefined point met on the way, or a |f| that
    // has not shrunk below the smaller of the two it started from.
    bool NarrowRoot(double a, long double fa, double b, long double fb, TPointOfInterest& root) const
    {
        const double startA = a, startB = b;
        const long double startSmallest = std::min(std::fabs(fa), std::fabs(fb));
        std::int64_t ka = OrderKey(a), kb = OrderKey(b);
        while (kb - ka > 1) {
            const std::int64_t km = MiddleKey(ka, kb);
            const double m = FromOrderKey(km);
            long double fm;
            if (!At(m, fm))
                return false;
            if (fm == 0.0L) {
                root = {TPointKind::Root, m, 0.0};
                return true;
            }
            if ((fm < 0.0L) == (fa < 0.0L)) {
                ka = km, a = m, fa = fm;
            } else {
                kb = km, b = m, fb = fm;
            }
        }
        const bool takeA = std::fabs(fa) <= std::fabs(fb);
        const double x = takeA ? a : b;
        const long double fx = takeA ? fa : fb;
        const bool shrunk = std::fabs(fx) < startSmallest ||
                            (std::fabs(fx) == startSmallest && (x == startA || x == startB));
        if (!shrunk)
            return false;
        root = {TPointKind::Root, x, static_cast<double>(fx)};
        return true;
    }

    // The edge between a defined x and an undefined one, narrowed to two
    // adjacent doubles; the defined one and its value.
    TPointOfInterest NarrowEdge(double defined, long double value, double undefined, TPointKind kind) const
    {
        std::int64_t kd = OrderKey(defined), ku = OrderKey(undefined);
        const bool rising = kd < ku;
        while ((rising ? ku - kd : kd - ku) > 1) {
            const std::int64_t km = rising ? MiddleKey(kd, ku) : MiddleKey(ku, kd);
            long double fm;
            if (At(FromOrderKey(km), fm)) {
                kd = km;
                value = fm;
            } else {
                ku = km;
            }
        }
        return {kind, FromOrderKey(kd), static_cast<double>(value)};
    }

    // The highest (or lowest) point between a and b, where the samples show
    // a hump: golden section until the bracket is a small part of its x,
    // then parabolas through points on both sides of the best so far. A
    // hump's top is flat to within rounding over a width far above the
    // tolerance, so comparisons alone cannot find it; a parabola through
    // points further apart can. False when an undefined point is met, or
    // when the curve still climbs beside the point found (a pole's flank).
    bool NarrowExtremum(double a, double b, bool maximum, TPointOfInterest& point) const
    {
        const long double sense = maximum ? 1.0L : -1.0L;
        const double scale = std::max(std::fabs(a), std::fabs(b));
        double x1 = a + GoldenFraction * (b - a);
        double x2 = b - GoldenFraction * (b - a);
        long double f1, f2;
        if (!At(x1, f1) || !At(x2, f2))
            return false;
        for (int step = 0; step < MaxGoldenSteps && b - a > GoldenTolerance * scale && x1 < x2; ++step) {
            if (sense * f1 >= sense * f2) {
                b = x2;
                x2 = x1, f2 = f1;
                x1 = a + GoldenFraction * (b - a);
                if (!At(x1, f1))
                    return false;
            } else {
                a = x1;
                x1 = x2, f1 = f2;
                x2 = b - GoldenFraction * (b - a);
                if (!At(x2, f2))
                    return false;
            }
        }
        double x = sense * f1 >= sense * f2 ? x1 : x2;
        long double fx = sense * f1 >= sense * f2 ? f1 : f2;
        const double spans[] = {b - a, ParabolaSpan * scale};
        for (const double h : spans) {
            long double below, above;
            if (!(h > 0.0) || !At(x - h, below) || !At(x + h, above))
                return false;
            // Beside a pole the curve climbs on past the point found: no top.
            if (h == spans[1] && (sense * below > sense * fx || sense * above > sense * fx))
                return false;
            const long double curve = above - 2.0L * fx + below;
            if (!(sense * curve < 0.0L))
                continue;
            const double vertex = static_cast<double>(x - 0.5L * h * (above - below) / curve);
            long double top;
            if (std::fabs(vertex - x) <= h && At(vertex, top) && sense * top >= sense * fx)
                x = vertex, fx = top;
        }
        point = {maximum ? TPointKind::Maximum : TPointKind::Minimum, x, static_cast<double>(fx)};
        return true;
    }

private:
    const TRapidEvaluator& Evaluator;
    double Z;
};

bool Before(const TPointOfInterest& a, const TPointOfInterest& b)
{
    return a.X != b.X ? a.X < b.X : a.Kind < b.Kind;
}

}  // namespace

std::string_view PointKindWord(TPointKind kind)
{
    switch (kind) {
    case TPointKind::Root:
        return "root";
    case TPointKind::Minimum:
        return "minimum";
    case TPointKind::Maximum:
        return "maximum";
    case TPointKind::YIntercept:
        return "y-intercept";
    case TPointKind::UndefinedFrom:
        return "undefined-from";
    case TPointKind::UndefinedTo:
        return "undefined-to";
    }
    return "";
}

std::vector<TPointOfInterest> FindPointsOfInterest(const TRapidEvaluator& evaluator, double low, double high,
                                                   double z, const TSamples& samples)
{
    const TCurve curve(evaluator, z);
    const std::int32_t n = std::clamp(samples.SampleCount, 1, MaxSampleCount);
    const double step = SampleStep(low, high, n);
    const auto x = [&](std::int32_t i) { return SamplePosition(low, step, i); };
    const auto& f = samples.Samples;
    const auto& undefined = samples.SampleUndefined;
    const auto usable = [&](std::int32_t i) { return !undefined[i] && f[i] != 0.0; };
    std::vector<TPointOfInterest> points;
    TPointOfInterest point;

    // pole[i]: the sign change between samples i and i + 1 is a pole's; the
    // samples beside it are no hump either, however high they stand.
    std::array<bool, MaxSampleCount> pole{};
    for (std::int32_t i = 0; i < n; ++i) {
        if (!undefined[i] && undefined[i + 1])
            points.push_back(curve.NarrowEdge(x(i), f[i], x(i + 1), TPointKind::UndefinedFrom));
        else if (undefined[i] && !undefined[i + 1])
            points.push_back(curve.NarrowEdge(x(i + 1), f[i + 1], x(i), TPointKind::UndefinedTo));
        else if (usable(i) && usable(i + 1) && (f[i] < 0.0) != (f[i + 1] < 0.0)) {
            if (curve.NarrowRoot(x(i), f[i], x(i + 1), f[i + 1], point))
                points.push_back(point);
            else
                pole[i] = true;
        }
    }

    // A sample that is exactly 0 is a root when the curve is defined and not
    // 0 beside it; a stretch of zeros is none, so a constant 0 gives no flood.
    for (std::int32_t i = 0; i <= n; ++i) {
        const bool leftOk = i == 0 || usable(i - 1);
        const bool rightOk = i == n || usable(i + 1);
        if (!undefined[i] && f[i] == 0.0 && leftOk && rightOk && n > 1)
            points.push_back({TPointKind::Root, x(i), 0.0});
    }

    // Extrema: a sample, or two equal ones, with both defined neighbours
    // lower (a maximum) or higher (a minimum).
    for (std::int32_t s = 1; s < n;) {
        std::int32_t e = s;
        while (e + 1 < n && !undefined[e + 1] && f[e + 1] == f[s])
            ++e;
        const bool neighbours = !undefined[s] && !undefined[s - 1] && !undefined[e + 1];
        if (neighbours && e - s + 1 < FlatRun) {
            const bool maximum = f[s - 1] < f[s] && f[e + 1] < f[s];
            const bool minimum = f[s - 1] > f[s] && f[e + 1] > f[s];
            const bool besidePole = pole[s - 1] || pole[e];
            if ((maximum || minimum) && !besidePole && curve.NarrowExtremum(x(s - 1), x(e + 1), maximum, point))
                points.push_back(point);
        }
        s = e + 1;
    }

    long double atZero;
    if (low <= 0.0 && 0.0 <= high && curve.At(0.0, atZero))
        points.push_back({TPointKind::YIntercept, 0.0, static_cast<double>(atZero)});

    std::sort(points.begin(), points.end(), Before);
    return points;
}

std::string PointsCsv(const std::vector<TPointOfInterest>& points, bool polar)
{
    std::string text = polar ? "kind,angle,r,x,y\r\n" : "kind,x,y\r\n";
    for (const TPointOfInterest& point : points) {
        text.append(PointKindWord(point.Kind));
        text += ',';
        AppendCsvNumber(text, point.X);
        text += ',';
        AppendCsvNumber(text, point.Y);
        if (polar) {
            double planeX, planeY;
            PolarToCartesian(point.X, point.Y, planeX, planeY);
            text += ',';
            AppendCsvNumber(text, planeX);
            text += ',';
            AppendCsvNumber(text, planeY);
        }
        text += "\r\n";
    }
    return text;
}
