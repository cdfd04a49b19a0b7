// The world window of a plot, its mapping to the pixels of a picture and
// back, and the x range held as text between plots.
#pragma once

#include <cstdint>
#include <string>

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

// The text an end of the x range is written back as: six significant digits.
std::string XRangeText(double value);
