// The colours of orvalis-plot's options as users write them.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <string>
#include <string_view>

// The colour an option's text names: "#RRGGBB", "#RGB" or an SVG colour name,
// all red-green-blue, or "bgr:" and a settings-file number 0x00BBGGRR. A
// number without the prefix is refused with both forms. Raises TUsageError.
TColor ParseColour(std::string_view option, std::string_view text);

// "#RRGGBB" of a colour 0x00BBGGRR.
std::string ColourText(TColor colour);
