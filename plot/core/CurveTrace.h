// The traced point of a curve: the formula evaluated afresh at the x the
// trace stands on (Cartesian), or at the angle whose curve point lies
// nearest a world point (polar), and the line that reads it out.
#pragma once

#include "plot/core/CurvePoints.h"
#include "plot/core/Sampling.h"

#include <string>

struct TTracedPoint {
    // x, or the angle in polar mode.
    double X = 0;
    // y, or r in polar mode.
    double Value = 0;
    // The point in the plane: (x, y), or (r cos angle, r sin angle).
    double PlaneX = 0;
    double PlaneY = 0;
    bool Undefined = false;
};

// The curve's point at x (the angle in polar mode) for z; an undefined one
// lies at the origin of its value, as the plots draw it.
TTracedPoint TracePointAt(const TRapidEvaluator& evaluator, double x, double z, bool polar);

// Polar mode: the point of the curve nearest the world point (wx, wy) among
// the plot's samples over low..high, refined between the sample's
// neighbours. Nothing defined gives the point at low.
TTracedPoint TraceNearest(const TRapidEvaluator& evaluator, double low, double high, double z,
                          const TSamples& samples, double wx, double wy);

// "curve: x = …,  y = …", in polar mode "curve: angle = …,  r = …,  x = …,
// y = …", each number with `digits` significant digits in the locale's
// number form, and "undefined" for the value where the formula is.
std::string TraceText(const TTracedPoint& point, bool polar, int digits);

// The traced point as a screen reader says it, short: "x 1.5, y 0.997",
// "x 2, undefined", in polar mode "angle 0.5, r 2"; where the point stands on
// a root or an extremum (`at`, when given) "root at x 3.14159", "maximum at
// x 1.5708, y 1", "minimum at …". x takes `digits` significant digits, the
// value three, or as many as its whole part has.
std::string TraceAnnouncement(const TTracedPoint& point, bool polar, int digits, const TPointOfInterest* at);

// Enough significant digits to tell apart two numbers `step` apart near
// `magnitude`: at least 6, at most 17.
int DigitsToTellApart(double magnitude, double step);
