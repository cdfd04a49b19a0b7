// What a plot shows, said in words for those who cannot see it: the ranges,
// the points of interest counted, and where the curve is defined.
#pragma once

#include "plot/core/CurvePoints.h"
#include "plot/core/ViewWindow.h"

#include <string>
#include <vector>

// "x from -10 to 10, y from -4.83 to 4.83; 7 roots, 3 maxima, 3 minima;
// defined everywhere". Polar plots say the angle range first. The numbers
// in the locale's number form with four significant digits.
std::string DescribeCurve(const TViewWindow& view, bool cartesian, double low, double high, const TSamples& samples,
                          const std::vector<TPointOfInterest>& points);
