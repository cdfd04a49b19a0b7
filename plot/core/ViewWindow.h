// The world window of a plot, its mapping to the pixels of a picture and
// back, the limits of a window that can be plotted, and the x range held as
// text between plots.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

// The ends of a usable window stay within this magnitude. Below it the
// arithmetic around a window has room: the span as a double, a step that
// doubles it or moves it by a fifth of it, a drag across many picture widths,
// the tick step and the multiples of it all stay far inside the double range;
// at 1e308 the span alone overflows.
inline constexpr double LargestUsableEnd = 1e300;
// A usable window's span is at least this part of its larger end's magnitude.
// A double carries about 2.2e-16 of its magnitude, so a span of 1e-11 of it
// is some 45,000 steps of the doubles at the ends: the 2,000 sample steps and
// a few thousand pixels each cover a dozen or more distinct doubles, and the
// ends divided by the tick step (a tenth of the span) stay near 1e12, far
// inside the 64-bit integers the tick indices are.
inline constexpr double SmallestRelativeSpan = 1e-11;

// Pixels left free on every side of the plot area.
inline constexpr std::int32_t PlotMargin = 35;
// The smallest picture: the plot area keeps at least ten pixels each way.
inline constexpr std::int32_t MinPictureSide = 80;

// XMin..XMax by YMin..YMax is shown in the plot area; ResetView asks the
// next plot to fit the window anew.
struct TViewWindow {
    double XMin = 0.0;
    double XMax = 0.0;
    double YMin = 0.0;
    double YMax = 0.0;
    bool ResetView = false;
    // The y extent was chosen apart from the x extent (fitted to the curve's
    // values, or given whole), so the y axis takes a tick step of its own.
    // A 1:1 fit leaves it off: equal scales share the x axis's step, and
    // navigation, which moves both axes alike, keeps whichever it found.
    bool OwnYStep = false;
};

struct TPictureSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// Column of world x and row of world y: scaled into the plot area, plus one
// half, truncated toward zero. A zero extent faults (EZeroDivide or
// EInvalidOp), a position beyond the 64-bit range raises EInvalidOp.
std::int32_t WorldToPixelX(const TViewWindow& view, TPictureSize size, double x);
std::int32_t WorldToPixelY(const TViewWindow& view, TPictureSize size, double y);

// The world point of a pixel, unrounded and not limited to the window.
void PixelToWorld(const TViewWindow& view, TPictureSize size, std::int32_t X, std::int32_t Y,
                  double& WorldX, double& WorldY);

// The two ends of the x range from their texts, low end first: EConvertError
// for a text that is no number, EOverflow for one beyond the double range.
void ReadXRange(const std::string& lowText, const std::string& highText, double& Low, double& High);

// Whether low..high is a window the plot and navigation can work with: both
// ends finite and within LargestUsableEnd, low below high, and the span at
// least SmallestRelativeSpan of the larger end's magnitude and at least the
// smallest normal double (below it the doubles thin out to a fixed spacing,
// and a span relative to ends near zero no longer means distinct samples).
bool IsUsableRange(double low, double high);

// Reads the x range texts as ReadXRange does and says whether they give a
// window that can be plotted: false, with Low and High unchanged, for a text
// that is no number or lies beyond the double range, and for a range that is
// not usable in either order (a range typed high end first draws mirrored).
bool ReadUsableXRange(const std::string& lowText, const std::string& highText, double& Low, double& High);

// The text an end of the x range is written back as: six significant digits.
std::string XRangeText(double value);

// The texts the two ends of the x range are written back as, in the general
// number form with the locale's separator: six significant digits while each
// end read back lies within a tenth of a percent of the span from its value
// (so the ends stay apart and the span and the point under the pointer keep
// their place), otherwise the fewest digits up to 17 that keep each end
// within 1e-5 of the span; never more than reading back exactly needs, and a
// usable range always reads back usable.
std::pair<std::string, std::string> XRangeTexts(double low, double high);
