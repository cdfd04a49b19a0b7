// What orvalis-plot's command line says of several curves: the legend's
// position by name, and the colours given once per formula.
#pragma once

#include "plot/cli/RendererOptions.h"

#include <string>
#include <vector>

// "top-right, top-left, bottom-left, bottom-right, outside-right or none".
std::string LegendPositionNames();
// A position by its name; raises TUsageError naming --legend.
TLegendPosition ReadLegendPosition(const std::string& text);

// Every value of --good and of --bad, in their order, as the colours of the
// first curves; the first also the drawing's own. Raises TUsageError naming
// the option when it is given more times than there are formulas.
void ApplyCurveColours(TRendererRequest& request, const std::vector<std::string>& good,
                       const std::vector<std::string>& bad);

// The colour of curve `index` (from 0) that was given none: the Okabe–Ito
// palette, which colour-blind readers tell apart, black first.
TColor PaletteColour(std::size_t index);
