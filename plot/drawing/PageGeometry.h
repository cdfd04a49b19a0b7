// The rules every canvas of a plot draws by, whatever draws its pixels:
// point sizes in pixels, the widest pen worth drawing, and the clip of lines
// that reach far beyond the picture.
#pragma once

#include "plot/core/DrawingSettings.h"
#include "plot/core/ViewWindow.h"

#include <cstdint>
#include <optional>
#include <string>

// Points convert at 96 dots per inch on every machine, rounded as the
// platform's point-to-pixel conversion rounds, so 8 points are 11 pixels.
constexpr int PageDotsPerInch = 96;
constexpr int PixelsOfPoints(int points)
{
    constexpr int PointsPerInch = 72;
    return (points * PageDotsPerInch + PointsPerInch / 2) / PointsPerInch;
}

// A pen wider than twice the picture's diagonal covers every pixel that any
// line can reach; a wider one looks the same and only costs time.
std::int32_t DrawnPenWidth(std::int32_t width, TPictureSize size);

// Beyond this many pixels from the picture a line is clipped before it is
// drawn: rasterisers' fixed-point coordinates are narrower than the
// mappings' 32 bits.
constexpr double SafeCoordinate = 1 << 20;
bool IsFar(std::int32_t v);
// Liang–Barsky clip of (x1, y1)–(x2, y2) against the box ±SafeCoordinate;
// false when nothing of the line is inside.
bool ClipToSafeBox(double& x1, double& y1, double& x2, double& y2);

// A fixed-pitch text longer than this is drawn from the characters that can
// be seen: measuring and laying out the whole of it would cost far more.
constexpr int LongTextLength = 1000;

// How a picture or page is made beyond its drawing, which is always laid out
// in pixels at 96 per inch: the picture's own pixels at another resolution,
// a page's physical size, a background left transparent, smoothed edges and
// larger or smaller texts. The default makes everything as it always was.
struct TPageLook {
    // The picture's pixels, the drawing scaled by DotsPerInch / 96 onto them;
    // none (0 × 0): the drawing's own pixels.
    TPictureSize DevicePixels{};
    // The resolution a picture file records; 0 leaves the encoder's own.
    int DotsPerInch = 0;
    // A page's sides in millimetres and as an SVG page names them ("90mm");
    // 0 and empty for a page of the drawing's pixels.
    double WidthMm = 0.0, HeightMm = 0.0;
    std::string WidthText, HeightText;
    // Fills in this colour (the background and the boxes of the texts) are
    // left transparent instead.
    std::optional<TColor> Transparent;
    bool Antialias = false;
    // The texts' pixel sizes are this many times their usual size.
    double TextScale = 1.0;
    // A LaTeX picture wrapped in a document of its own that compiles alone,
    // instead of one that a document inputs.
    bool Standalone = false;
};

// The pixel size of a font of `points` with the texts scaled by `scale`.
int TextPixels(int points, double scale);
