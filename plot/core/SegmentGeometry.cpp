// Segment cuts and clipping in extended precision, each named quantity
// rounded to a double as it is stored.
#include "plot/core/SegmentGeometry.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/X87Math.h"

#include <cmath>
#include <limits>

namespace {

// A slope or line coefficient rounded to a double as it is stored. Where the
// rounded value would overflow (a steep segment between huge samples) the
// extended value is kept instead, so the segment is still drawn rather than
// the whole plot failing.
long double Stored(long double value)
{
    const double rounded = static_cast<double>(value);
    if (std::isinf(rounded)) [[unlikely]] {
        ClearFpuExceptions();
        return value;
    }
    return rounded;
}

// A world coordinate on a segment lies between its ends and so fits a
// double; rounding in a cut of an extreme segment may still push it past
// the range, and it then stays at the largest double.
double StoredCoordinate(long double value)
{
    const double rounded = static_cast<double>(value);
    if (std::isinf(rounded)) [[unlikely]] {
        ClearFpuExceptions();
        return std::copysign(std::numeric_limits<double>::max(), rounded);
    }
    return rounded;
}

// 2^63: from here on FSINCOS leaves its argument unreduced.
constexpr long double UnreducibleAngle = 9223372036854775808.0L;

// Moves the end (x, y) of a Cartesian segment of this slope along it onto
// the top or the bottom edge, where it lies beyond one.
void CutEndAtVerticalExtent(const TViewWindow& view, long double slope, double& x, double& y)
{
    if (y > view.YMax) {
        x = StoredCoordinate(x + CheckedDivide(static_cast<long double>(view.YMax) - y, slope));
        y = view.YMax;
    } else if (y < view.YMin) {
        x = StoredCoordinate(x + CheckedDivide(static_cast<long double>(view.YMin) - y, slope));
        y = view.YMin;
    }
}

// A y beyond the top or the bottom edge moved onto it.
void ClampRow(const TViewWindow& view, double& y)
{
    if (y > view.YMax)
        y = view.YMax;
    else if (y < view.YMin)
        y = view.YMin;
}

// Moves the end (X, Y) of a segment on y = c·x + d along it onto the bottom,
// then the top edge, where it lies beyond them; a sloping segment only.
void ClipEndToRows(const TViewWindow& view, long double c, long double d, double& X, double& Y)
{
    if (Y < view.YMin) {
        X = StoredCoordinate((view.YMin - d) / c);
        Y = view.YMin;
    }
    if (Y > view.YMax) {
        X = StoredCoordinate((view.YMax - d) / c);
        Y = view.YMax;
    }
}

// The same for the left, then the right edge.
void ClipEndToColumns(const TViewWindow& view, long double c, long double d, double& X, double& Y)
{
    if (X < view.XMin) {
        Y = StoredCoordinate(c * view.XMin + d);
        X = view.XMin;
    }
    if (X > view.XMax) {
        Y = StoredCoordinate(c * view.XMax + d);
        X = view.XMax;
    }
}

}  // namespace

bool CutAtVerticalExtent(const TViewWindow& view, double dx, double& xa, double& ya, double& xb, double& yb)
{
    const long double slope = Stored(CheckedDivide(static_cast<long double>(yb) - ya, dx));
    if ((ya > view.YMax && yb > view.YMax) || (ya < view.YMin && yb < view.YMin))
        return false;
    CutEndAtVerticalExtent(view, slope, xa, ya);
    CutEndAtVerticalExtent(view, slope, xb, yb);
    return true;
}

void PolarToCartesian(double Theta, double R, double& X, double& Y)
{
    long double sine = 0.0L, cosine = 0.0L;
    if (std::fabs(static_cast<long double>(Theta)) < UnreducibleAngle)
        SinCosX87(Theta, sine, cosine);
    X = static_cast<double>(R * cosine);
    Y = static_cast<double>(R * sine);
}

bool OutsideWindow(const TViewWindow& view, double xa, double ya, double xb, double yb)
{
    return (ya >= view.YMax && yb >= view.YMax) || (ya <= view.YMin && yb <= view.YMin) ||
           (xa <= view.XMin && xb <= view.XMin) || (xa >= view.XMax && xb >= view.XMax);
}

void ClipSegment(const TViewWindow& view, double& X1, double& Y1, double& X2, double& Y2)
{
    if (X2 == X1) {
        ClampRow(view, Y1);
        ClampRow(view, Y2);
        return;
    }
    // The segment lies on y = c·x + d.
    const long double c = Stored((static_cast<long double>(Y2) - Y1) / (static_cast<long double>(X2) - X1));
    const long double d = Stored(Y1 - c * X1);
    if (c != 0.0L) {
        ClipEndToRows(view, c, d, X1, Y1);
        ClipEndToRows(view, c, d, X2, Y2);
    }
    ClipEndToColumns(view, c, d, X1, Y1);
    ClipEndToColumns(view, c, d, X2, Y2);
}
