// The navigation step of both axes on copies, checked before it is kept.
#include "plot/core/ViewStep.h"

#include "plot/core/ViewNavigation.h"
#include "plot/core/ViewWindow.h"

#include "numeric/FloatingPoint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum class TLimit { None, In, Out };

struct TRange {
    double Low;
    double High;
};

double Magnitude(TRange r)
{
    return std::max(std::fabs(r.Low), std::fabs(r.High));
}

// How wide a range is measured against the narrowest usable one at its place:
// 1 or more when it is wide enough. Both terms are those of IsUsableRange.
long double Width(TRange r)
{
    const long double narrowest = std::max(static_cast<long double>(std::numeric_limits<double>::min()),
                                           static_cast<long double>(SmallestRelativeSpan) * Magnitude(r));
    return std::fabs(static_cast<long double>(r.High) - r.Low) / narrowest;
}

// Which limit a range lies beyond, its ends in either order.
TLimit LimitOf(TRange r)
{
    if (!std::isfinite(r.Low) || !std::isfinite(r.High))
        return TLimit::Out;
    if (IsUsableRange(std::min(r.Low, r.High), std::max(r.Low, r.High)))
        return TLimit::None;
    return Magnitude(r) > LargestUsableEnd ? TLimit::Out : TLimit::In;
}

// The limit that refuses the move from `before` to `after`, if any: the one
// `after` lies beyond, unless `before` lay beyond it already and the move
// does not take the range further past it.
TLimit Refusal(TRange before, TRange after)
{
    const TLimit limit = LimitOf(after);
    if (limit == TLimit::None || limit != LimitOf(before) || !std::isfinite(after.Low) ||
        !std::isfinite(after.High))
        return limit;
    if (limit == TLimit::Out)
        return Magnitude(after) <= Magnitude(before) ? TLimit::None : limit;
    return Width(after) >= Width(before) ? TLimit::None : limit;
}

void Move(TRange& x, TRange& y, const TPanStep& step)
{
    switch (step.Direction) {
    case TPan::Left:
        PanLeft(x.Low, x.High);
        break;
    case TPan::Right:
        PanRight(x.Low, x.High);
        break;
    case TPan::Up:
        PanUp(y.Low, y.High);
        break;
    case TPan::Down:
        PanDown(y.Low, y.High);
        break;
    }
}

void Move(TRange& x, TRange& y, const TZoomStep& step)
{
    ZoomAbout(x.Low, x.High, step.X, step.ZoomIn);
    ZoomAbout(y.Low, y.High, step.Y, step.ZoomIn);
}

void Move(TRange& x, TRange& y, const TDragStep& step)
{
    DragBy(x.Low, x.High, step.Dx);
    DragBy(y.Low, y.High, step.Dy);
}

void Move(TRange& x, TRange& y, const TWheelStep& step)
{
    WheelZoomAbout(x.Low, x.High, step.X, step.Notches);
    WheelZoomAbout(y.Low, y.High, step.Y, step.Notches);
}

}  // namespace

void StepView(double& xLow, double& xHigh, double& yLow, double& yHigh, const TViewStep& step)
{
    const TRange x0{xLow, xHigh}, y0{yLow, yHigh};
    TRange x = x0, y = y0;
    try {
        std::visit([&](const auto& move) { Move(x, y, move); }, step);
    } catch (const EOverflow&) {
        throw ENavigationLimit(false);
    }
    // An infinite or undefined operand (a wheel turn of absurdly many notches)
    // leaves a flag that a later check of the unit would take for its own.
    if (FpuStatusWord() & StatusFaults) {
        ClearFpuExceptions();
        throw ENavigationLimit(false);
    }
    for (const TLimit limit : {Refusal(x0, x), Refusal(y0, y)})
        if (limit != TLimit::None)
            throw ENavigationLimit(limit == TLimit::In);
    xLow = x.Low;
    xHigh = x.High;
    yLow = y.Low;
    yHigh = y.High;
}
