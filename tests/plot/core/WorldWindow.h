// A world window from its four ends, for the mapping and geometry tests.
#pragma once

#include "plot/core/ViewWindow.h"

inline TViewWindow Window(double xMin, double xMax, double yMin, double yMax)
{
    TViewWindow view;
    view.XMin = xMin;
    view.XMax = xMax;
    view.YMin = yMin;
    view.YMax = yMax;
    return view;
}
