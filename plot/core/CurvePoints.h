// The points of interest of a curve over a range: roots, local minima and
// maxima, the y-intercept and the ends of undefined stretches, found from a
// plot's samples and refined with the compiled formula.
#pragma once

#include "plot/core/Sampling.h"

#include <string>
#include <string_view>
#include <vector>

enum class TPointKind { Root, Minimum, Maximum, YIntercept, UndefinedFrom, UndefinedTo };

// The word a kind is written as in CSV and lists: "root", "minimum",
// "maximum", "y-intercept", "undefined-from", "undefined-to".
std::string_view PointKindWord(TPointKind kind);

struct TPointOfInterest {
    TPointKind Kind;
    // x, or the angle in polar mode.
    double X;
    // The formula's value at X: y, or r in polar mode. For the ends of an
    // undefined stretch X is the last defined x before it (UndefinedFrom) or
    // the first one after it (UndefinedTo), and Y the value there.
    double Y;
};

// The points of the curve f(x, z) over low..high, read from `samples` (the
// plot's own, taken over that range with that z by SampleFormula) and then
// refined: a root to two adjacent doubles (the one with the smaller |f|), an
// extremum to a relative x tolerance of 1e-9, an end of an undefined stretch
// to two adjacent doubles (the defined one). A sign change across a pole or
// an undefined point is no root. The y-intercept is f(0) when 0 lies in the
// range and f is defined there; a curve that is 0 on a whole stretch gives no
// roots there (the y-intercept still says it), a flat stretch no extrema.
// Polar mode is the same over the angle, with r as the value. The points
// come ordered by X. Leaves FormulaX at some x of the range.
std::vector<TPointOfInterest> FindPointsOfInterest(const TRapidEvaluator& evaluator, double low, double high, double z,
                                                   const TSamples& samples);

// The points as CSV text (RFC 4180, CRLF line ends): the header "kind,x,y"
// and a line per point, or in polar mode "kind,angle,r,x,y" with the point's
// x = r cos(angle), y = r sin(angle). Numbers as AppendCsvNumber writes them.
std::string PointsCsv(const std::vector<TPointOfInterest>& points, bool polar);
