// The arithmetic of navigation, in extended precision with each stored end
// rounded to a double.
#include "plot/core/ViewNavigation.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"

#include <cmath>

namespace {

// A pan moves by this part of the span.
constexpr long double PanFraction = 5;
// Zooming in keeps a quarter of the span each side of the centre; zooming
// out the whole span.
constexpr long double ZoomInHalfSpan = 4;
constexpr long double ZoomOutHalfSpan = 1;

constexpr int WheelNotch = 120;
constexpr long double WheelZoomFactor = 1.25;

double Span(double Low, double High)
{
    return StoreDouble(static_cast<long double>(High) - Low);
}

}  // namespace

void PanLeft(double& Low, double& High)
{
    const double span = Span(Low, High);
    Low = StoreDouble(Low - span / PanFraction);
    High = StoreDouble(static_cast<long double>(Low) + span);
}

void PanRight(double& Low, double& High)
{
    const double span = Span(Low, High);
    High = StoreDouble(High + span / PanFraction);
    Low = StoreDouble(static_cast<long double>(High) - span);
}

void PanUp(double& Low, double& High)
{
    const double span = Span(Low, High);
    Low = StoreDouble(Low + span / PanFraction);
    High = StoreDouble(static_cast<long double>(Low) + span);
}

void PanDown(double& Low, double& High)
{
    PanLeft(Low, High);
}

void ZoomAbout(double& Low, double& High, double centre, bool zoomIn)
{
    const double span = Span(Low, High);
    const long double halfSpan = zoomIn ? ZoomInHalfSpan : ZoomOutHalfSpan;
    High = StoreDouble(centre + span / halfSpan);
    Low = StoreDouble(centre - span / halfSpan);
}

void DragBy(double& Low, double& High, double offset)
{
    High = StoreDouble(static_cast<long double>(High) - offset);
    Low = StoreDouble(static_cast<long double>(Low) - offset);
}

void DragOffset(const TViewWindow& view, TPictureSize size, std::int32_t X0, std::int32_t Y0,
                std::int32_t X1, std::int32_t Y1, double& dx, double& dy)
{
    double x0, y0, x1, y1;
    PixelToWorld(view, size, X0, Y0, x0, y0);
    PixelToWorld(view, size, X1, Y1, x1, y1);
    dx = StoreDouble(static_cast<long double>(x1) - x0);
    dy = StoreDouble(static_cast<long double>(y1) - y0);
}

int TakeWheelNotches(int& angle, int angleDelta)
{
    angle += angleDelta;
    const int notches = angle / WheelNotch;
    angle -= notches * WheelNotch;
    return notches;
}

void WheelZoomAbout(double& Low, double& High, double centre, int notches)
{
    const long double scale = std::pow(WheelZoomFactor, static_cast<long double>(-notches));
    Low = StoreDouble(centre - (centre - static_cast<long double>(Low)) * scale);
    High = StoreDouble(centre + (High - static_cast<long double>(centre)) * scale);
}

void ReadoutPosition(const TViewWindow& view, TPictureSize size, std::int32_t X, std::int32_t Y,
                     double& WorldX, double& WorldY)
{
    double xa, ya, xb, yb;
    PixelToWorld(view, size, X, Y, WorldX, WorldY);
    PixelToWorld(view, size, CheckedSub(X, 1), CheckedSub(Y, 1), xa, ya);
    PixelToWorld(view, size, CheckedAdd(X, 1), CheckedAdd(Y, 1), xb, yb);
    if (static_cast<long double>(xa) * xb < 0)
        WorldX = 0;
    if (static_cast<long double>(ya) * yb < 0)
        WorldY = 0;
}
