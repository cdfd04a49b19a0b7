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

}  // namespace

bool CutAtVerticalExtent(const TViewWindow& view, double dx, double& xa, double& ya, double& xb, double& yb)
{
    const long double slope = Stored(CheckedDivide(static_cast<long double>(yb) - ya, dx));
    if ((ya > view.YMax && yb > view.YMax) || (ya < view.YMin && yb < view.YMin))
        return false;
    if (ya > view.YMax) {
        xa = StoredCoordinate(xa + CheckedDivide(static_cast<long double>(view.YMax) - ya, slope));
        ya = view.YMax;
    } else if (ya < view.YMin) {
        xa = StoredCoordinate(xa + CheckedDivide(static_cast<long double>(view.YMin) - ya, slope));
        ya = view.YMin;
    }
    if (yb > view.YMax) {
        xb = StoredCoordinate(xb + CheckedDivide(static_cast<long double>(view.YMax) - yb, slope));
        yb = view.YMax;
    } else if (yb < view.YMin) {
        xb = StoredCoordinate(xb + CheckedDivide(static_cast<long double>(view.YMin) - yb, slope));
        yb = view.YMin;
    }
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
        if (Y1 > view.YMax)
            Y1 = view.YMax;
        else if (Y1 < view.YMin)
            Y1 = view.YMin;
        if (Y2 > view.YMax)
            Y2 = view.YMax;
        else if (Y2 < view.YMin)
            Y2 = view.YMin;
        return;
    }
    // The segment lies on y = c·x + d.
    const long double c = Stored((static_cast<long double>(Y2) - Y1) / (static_cast<long double>(X2) - X1));
    const long double d = Stored(Y1 - c * X1);
    if (c != 0.0L) {
        if (Y1 < view.YMin) {
            X1 = StoredCoordinate((view.YMin - d) / c);
            Y1 = view.YMin;
        }
        if (Y1 > view.YMax) {
            X1 = StoredCoordinate((view.YMax - d) / c);
            Y1 = view.YMax;
        }
        if (Y2 < view.YMin) {
            X2 = StoredCoordinate((view.YMin - d) / c);
            Y2 = view.YMin;
        }
        if (Y2 > view.YMax) {
            X2 = StoredCoordinate((view.YMax - d) / c);
            Y2 = view.YMax;
        }
    }
    if (X1 < view.XMin) {
        Y1 = StoredCoordinate(c * view.XMin + d);
        X1 = view.XMin;
    }
    if (X1 > view.XMax) {
        Y1 = StoredCoordinate(c * view.XMax + d);
        X1 = view.XMax;
    }
    if (X2 < view.XMin) {
        Y2 = StoredCoordinate(c * view.XMin + d);
        X2 = view.XMin;
    }
    if (X2 > view.XMax) {
        Y2 = StoredCoordinate(c * view.XMax + d);
        X2 = view.XMax;
    }
}
