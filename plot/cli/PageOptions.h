// The renderer's options for pictures and pages meant for documents: a size
// in physical units, the resolution, the size of the texts, a transparent
// background and smoothed edges, read from their words and turned into the
// drawing's size and the look of its picture or page.
#pragma once

#include "plot/drawing/PageGeometry.h"
#include "plot/output/OutputFormat.h"

#include <string>

struct TRendererRequest;

// The resolutions --dpi takes, and the one a picture has without it.
inline constexpr int MinDotsPerInch = 72;
inline constexpr int MaxDotsPerInch = 2400;
inline constexpr int DefaultDotsPerInch = 96;
// The smallest side of a physical size; a plot also needs 80 pixels at 96
// per inch (21.2 mm) to lay itself out.
inline constexpr double MinSideMm = 10.0;
// The texts' sizes --font-size takes, in points (1/72 inch), and the one
// the labels have without it: 11 pixels at 96 per inch.
inline constexpr double MinFontPoints = 4.0;
inline constexpr double MaxFontPoints = 72.0;
inline constexpr double DefaultFontPoints = 8.25;

// One side of a physical size: millimetres, and the text an SVG page gives
// it ("90mm").
struct TPhysicalLength {
    double Millimetres = 0.0;
    std::string Text;
};
struct TPhysicalSize {
    TPhysicalLength Width, Height;
};

// "WxH" in pixels, or both sides numbers with a unit, mm, cm, in or pt
// ("90mmx60mm"). Stores the size in the request; raises TUsageError.
void ApplySizeOption(TRendererRequest& request, const std::string& text);
int ReadDotsPerInch(const std::string& text);
double ReadFontPoints(const std::string& text);

// What a request draws: the drawing's pixels at 96 per inch, the pixels of
// its picture and the look of its picture or page.
struct TRendererPage {
    TPictureSize Drawing;
    TPictureSize Pixels;
    TPageLook Look;
};
TRendererPage RendererPage(const TRendererRequest& request, TOutputFormat format);

// The limits that depend on the output's format: the picture's pixels at
// its resolution, the drawing's smallest size, and a transparent background
// only where the format has one. Raises TUsageError.
void CheckRendererPage(const TRendererRequest& request, TOutputFormat format);
