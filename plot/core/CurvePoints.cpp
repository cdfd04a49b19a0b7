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

    // A sign change between a and b narrowed to two adjacent doubles, by
    // regula falsi (Illinois) while it at least halves the bracket every two
    // steps and by halving the doubles between the ends otherwise: a dozen
    // evaluations for a smooth root, at most 128. False for a pole or a
    // jump: an undefined point met on the way, or a |f| that has not shrunk
    // below the smaller of the two it started from.
    bool NarrowRoot(double a, long double fa, double b, long double fb, TPointOfInterest& root) const
    {
        const double startA = a, startB = b;
        const long double startSmallest = std::min(std::fabs(fa), std::fabs(fb));
        std::int64_t ka = OrderKey(a), kb = OrderKey(b);
        // The weights of regula falsi: the values, halved at an end that
        // stays put twice running so that the steps cannot stall.
        long double wa = fa, wb = fb;
        int lastMoved = 0;
        int slowSteps = 0;
        std::uint64_t target = static_cast<std::uint64_t>(kb - ka) / 2;
        while (kb - ka > 1) {
            std::int64_t km = MiddleKey(ka, kb);
            if (slowSteps < 2) {
                const double guess = static_cast<double>((a * wb - b * wa) / (wb - wa));
                const std::int64_t kg = OrderKey(guess);
                if (kg > ka && kg < kb)
                    km = kg;
            }
            const double m = FromOrderKey(km);
            long double fm;
            if (!At(m, fm))
                return false;
            if (fm == 0.0L) {
                root = {TPointKind::Root, m, 0.0};
                return true;
            }
            if ((fm < 0.0L) == (fa < 0.0L)) {
                ka = km, a = m, fa = fm, wa = fm;
                if (lastMoved < 0)
                    wb /= 2;
                lastMoved = -1;
            } else {
                kb = km, b = m, fb = fm, wb = fm;
                if (lastMoved > 0)
                    wa /= 2;
                lastMoved = 1;
            }
            const auto distance = static_cast<std::uint64_t>(kb - ka);
            if (distance <= target) {
                target = distance / 2;
                slowSteps = 0;
            } else {
                ++slowSteps;
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
    // Humps as runs [first, last] of one or two equal samples, narrowed once
    // every pole is known.
    struct THump {
        std::int32_t First, Last;
        bool Maximum;
    };
    std::vector<THump> humps;

    // One pass: most samples continue a defined curve of one sign without
    // turning, which two products tell at once; only the rest is looked at.
    for (std::int32_t i = 0; i <= n; ++i) {
        const bool inside = i > 0 && i < n;
        const bool defined = !undefined[i] && (i == 0 || !undefined[i - 1]) && (i == n || !undefined[i + 1]);
        if (inside && defined && f[i] * f[i + 1] > 0.0 && (f[i] - f[i - 1]) * (f[i + 1] - f[i]) > 0.0)
            continue;
        if (i < n) {
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
        // A sample that is exactly 0 is a root when the curve is defined and
        // not 0 beside it; a stretch of zeros is none, so a constant 0 gives
        // no flood.
        if (!undefined[i] && f[i] == 0.0 && n > 1 && (i == 0 || usable(i - 1)) && (i == n || usable(i + 1)))
            points.push_back({TPointKind::Root, x(i), 0.0});
        // A hump: a sample, or two equal ones, with both defined neighbours
        // lower (a maximum) or higher (a minimum); a run starts where the
        // value changes, and three equal samples are a flat stretch.
        if (!inside || !defined || f[i] == f[i - 1])
            continue;
        std::int32_t last = i;
        while (last + 1 < n && !undefined[last + 1] && f[last + 1] == f[i])
            ++last;
        if (undefined[last + 1] || last - i + 1 >= FlatRun)
            continue;
        if (f[i - 1] < f[i] && f[last + 1] < f[i])
            humps.push_back({i, last, true});
        else if (f[i - 1] > f[i] && f[last + 1] > f[i])
            humps.push_back({i, last, false});
    }
    for (const THump& hump : humps)
        if (!pole[hump.First - 1] && !pole[hump.Last] &&
            curve.NarrowExtremum(x(hump.First - 1), x(hump.Last + 1), hump.Maximum, point))
            points.push_back(point);

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
