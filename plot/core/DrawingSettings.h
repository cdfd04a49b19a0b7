// The seven settings that decide how a plot looks, with their defaults.
#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR, red in the low byte.
using TColor = std::uint32_t;

struct TDrawingSettings {
    TColor BackgroundColor = 0xCAFFFF;  // pale yellow
    TColor AxisColor = 0x808080;        // mid grey
    TColor GoodPointColor = 0x000000;   // black
    TColor BadPointColor = 0x0000FF;    // red
    std::int32_t LineWidth = 1;
    bool Boundary = true;
    bool Ticks = true;

    bool operator==(const TDrawingSettings&) const = default;
};
