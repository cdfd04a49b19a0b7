// The mappings between world and pixels, computed in extended precision and
// faulting where the x87 unit would.
#include "plot/core/ViewWindow.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

namespace {

constexpr std::int32_t BothMargins = 2 * PlotMargin;
constexpr int XRangePrecision = 6;

// Add one half, then truncate toward zero: nearest pixel inside the picture,
// and −1.7 becomes −1 rather than −2.
std::int32_t RoundPixel(long double position)
{
    return TruncToLow32(position + 0.5L);
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
