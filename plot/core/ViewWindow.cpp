// The mappings between world and pixels, computed in extended precision and
// faulting where the x87 unit would; the limits of a usable window and the
// x range's texts.
#include "plot/core/ViewWindow.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t BothMargins = 2 * PlotMargin;
constexpr int XRangePrecision = 6;
// Seventeen significant digits tell every two doubles apart.
constexpr int XRangeMaxPrecision = 17;
// Each end read back from six digits may lie this part of the span from its
// value: a tenth of a percent, under half a pixel of the start picture. Steps
// repeated at the edge of what six digits hold (a wheel turned notch by notch
// into a point) add up their errors, and a percent each would move the window
// by percents over the walk and back.
constexpr long double SixDigitTolerance = 1e-3L;
// Once six digits do not suffice the view is deep, and the texts keep each
// end within this part of the span, so that the many deep steps of a walk in
// and out again add next to nothing to its drift.
constexpr long double LongerTextTolerance = 1e-5L;

// Add one half, then truncate toward zero: nearest pixel inside the picture,
// and −1.7 becomes −1 rather than −2.
std::int32_t RoundPixel(long double position)
{
    return TruncToLow32(position + 0.5L);
}

// The value `text` gives when ReadXRange reads it; false for one beyond the
// double range (a text rounded up past the largest double).
bool ReadBack(const std::string& text, double& value)
{
    const long double read = TextToNumber(text);
    if (std::fabs(read) > std::numeric_limits<double>::max())
        return false;
    value = StoreDouble(read);
    return true;
}

}  // namespace

std::int32_t WorldToPixelX(const TViewWindow& view, TPictureSize size, double x)
{
    const long double fraction =
        CheckedDivide(static_cast<long double>(x) - view.XMin, static_cast<long double>(view.XMax) - view.XMin);
    return RoundPixel(fraction * CheckedSub(size.Width, BothMargins) + PlotMargin);
}

std::int32_t WorldToPixelY(const TViewWindow& view, TPictureSize size, double y)
{
    const long double fraction =
        CheckedDivide(static_cast<long double>(y) - view.YMin, static_cast<long double>(view.YMax) - view.YMin);
    return RoundPixel(size.Height - fraction * CheckedSub(size.Height, BothMargins) - PlotMargin);
}

void PixelToWorld(const TViewWindow& view, TPictureSize size, std::int32_t X, std::int32_t Y,
                  double& WorldX, double& WorldY)
{
    const long double width = static_cast<long double>(view.XMax) - view.XMin;
    const long double height = static_cast<long double>(view.YMax) - view.YMin;
    WorldX = StoreDouble(view.XMin + width * CheckedSub(X, PlotMargin) /
                                         CheckedSub(size.Width, BothMargins));
    WorldY = StoreDouble(view.YMin - height * CheckedSub(CheckedAdd(Y, PlotMargin), size.Height) /
                                         CheckedSub(size.Height, BothMargins));
}

void ReadXRange(const std::string& lowText, const std::string& highText, double& Low, double& High)
{
    const double low = StoreDouble(TextToNumber(lowText));
    const double high = StoreDouble(TextToNumber(highText));
    Low = low;
    High = high;
}

std::string XRangeText(double value)
{
    return FormatGeneral(value, XRangePrecision);
}

bool IsUsableRange(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
        return false;
    const double magnitude = std::max(std::fabs(low), std::fabs(high));
    if (magnitude > LargestUsableEnd)
        return false;
    const long double span = static_cast<long double>(high) - low;
    return span >= std::numeric_limits<double>::min() &&
           span >= static_cast<long double>(SmallestRelativeSpan) * magnitude;
}

bool ReadUsableXRange(const std::string& lowText, const std::string& highText, double& Low, double& High)
{
    double low, high;
    try {
        ReadXRange(lowText, highText, low, high);
    } catch (const EConvertError&) {
        return false;
    } catch (const EOverflow&) {
        return false;
    }
    if (!IsUsableRange(std::min(low, high), std::max(low, high)))
        return false;
    Low = low;
    High = high;
    return true;
}

std::pair<std::string, std::string> XRangeTexts(double low, double high)
{
    std::pair<std::string, std::string> texts{FormatGeneral(low, XRangePrecision),
                                              FormatGeneral(high, XRangePrecision)};
    if (!std::isfinite(low) || !std::isfinite(high))
        return texts;
    const long double span = std::fabs(static_cast<long double>(high) - low);
    const bool usable = IsUsableRange(std::min(low, high), std::max(low, high));
    long double tolerance = span * SixDigitTolerance;
    for (int precision = XRangePrecision; precision < XRangeMaxPrecision;) {
        double readLow, readHigh;
        if (ReadBack(texts.first, readLow) && ReadBack(texts.second, readHigh)) {
            if (readLow == low && readHigh == high)
                break;
            // A usable range must stay usable: near the narrowest one, a
            // rounding within the tolerance could still take it below.
            if (std::fabs(static_cast<long double>(readLow) - low) <= tolerance &&
                std::fabs(static_cast<long double>(readHigh) - high) <= tolerance &&
                (!usable || IsUsableRange(std::min(readLow, readHigh), std::max(readLow, readHigh))))
                break;
        }
        ++precision;
        tolerance = span * LongerTextTolerance;
        texts = {FormatGeneral(low, precision), FormatGeneral(high, precision)};
    }
    return texts;
}
