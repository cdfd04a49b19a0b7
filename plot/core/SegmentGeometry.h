// The geometry of curve segments in world units: the cut of a Cartesian
// segment at the top and bottom edges, and the polar points with their
// clipping against all four edges of the window.
#pragma once

#include "plot/core/ViewWindow.h"

// Cuts the segment (xa, ya)–(xb, yb) of a Cartesian curve, whose ends lie dx
// apart, at the top and bottom edges by moving along it. False when both
// ends lie strictly above YMax or strictly below YMin: nothing to draw.
bool CutAtVerticalExtent(const TViewWindow& view, double dx, double& xa, double& ya, double& xb, double& yb);

// The point of angle Theta (radians) and radius R. For |Theta| ≥ 2^63,
// where the unit cannot reduce the angle, it has no sine or cosine, and the
// point is the origin, where the polar plot puts every undefined point.
void PolarToCartesian(double Theta, double R, double& X, double& Y);

// True when both ends lie on or beyond the same edge of the window.
bool OutsideWindow(const TViewWindow& view, double xa, double ya, double xb, double yb);

// Moves the ends of a segment that is not wholly beyond one edge onto the
// edges of the window where they lie beyond them.
void ClipSegment(const TViewWindow& view, double& X1, double& Y1, double& X2, double& Y2);
