// A whole navigation step of both axes of the world window, taken on copies
// and refused, with the window left as it was, when the window it would
// leave could not be plotted.
#pragma once

#include "numeric/Exceptions.h"

#include <variant>

inline constexpr const char* ZoomInLimitText = "This is as far as Orvalis can zoom in.";
inline constexpr const char* ZoomOutLimitText = "This is as far as Orvalis can zoom out.";

// A step refused because the window would collapse to the precision of a
// double ("zoom in") or grow beyond the range the arithmetic can carry, its
// arithmetic overflowing included ("zoom out").
class ENavigationLimit : public Exception {
public:
    explicit ENavigationLimit(bool zoomIn) : Exception(zoomIn ? ZoomInLimitText : ZoomOutLimitText) {}
};

// The pan buttons: left and right move the x range, up and down the y range,
// by a fifth of the span.
enum class TPan { Left, Right, Up, Down };
struct TPanStep {
    TPan Direction;
};
// A click in the picture: the world point (X, Y) becomes the centre, and the
// spans are halved (ZoomIn) or doubled.
struct TZoomStep {
    double X;
    double Y;
    bool ZoomIn;
};
// A drag with the right button, by the world offset DragOffset gives.
struct TDragStep {
    double Dx;
    double Dy;
};
// Wheel notches about the world point (X, Y) under the pointer; forward
// (positive) zooms in.
struct TWheelStep {
    double X;
    double Y;
    int Notches;
};
using TViewStep = std::variant<TPanStep, TZoomStep, TDragStep, TWheelStep>;

// Moves the x range xLow..xHigh (Cartesian: the numbers of the range texts;
// polar: XMin and XMax) and the y range by `step`, with the arithmetic of
// ViewNavigation.h. When either range it leaves is not usable (IsUsableRange,
// the ends in either order) or its arithmetic overflows, nothing changes and
// ENavigationLimit is raised. A range that is already not usable may still
// move toward a usable one: a range too wide may shrink, one too narrow may
// grow, so that a window fitted to a huge curve or typed too narrow can be
// navigated back.
void StepView(double& xLow, double& xHigh, double& yLow, double& yHigh, const TViewStep& step);
