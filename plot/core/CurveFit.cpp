// The y extent fitted to the defined samples, in extended precision and kept
// within the limits of a usable window.
#include "plot/core/CurveFit.h"

#include "plot/core/ViewWindow.h"
#include "numeric/FloatingPoint.h"

#include <algorithm>
#include <cmath>

namespace {

double WithinUsable(long double value)
{
    return StoreDouble(std::clamp(value, -static_cast<long double>(LargestUsableEnd),
                                  static_cast<long double>(LargestUsableEnd)));
}

}  // namespace

bool FitYToSamples(const TSamples& samples, double flatSpan, double& YMin, double& YMax)
{
    // An undefined sample holds 0.0, which is no value of the curve.
    bool any = false;
    long double low = 0.0L, high = 0.0L;
    for (std::int32_t i = 0; i <= samples.SampleCount; ++i) {
        if (samples.SampleUndefined[i])
            continue;
        const long double value = WithinUsable(samples.Samples[i]);
        low = any ? std::min(low, value) : value;
        high = any ? std::max(high, value) : value;
        any = true;
    }
    if (!any)
        return false;

    const long double margin = (high - low) * FitMarginShare;
    double yMin = WithinUsable(low - margin), yMax = WithinUsable(high + margin);
    if (!IsUsableRange(yMin, yMax)) {
        const long double centre = (low + high) / 2.0L;
        const long double half =
            std::max(static_cast<long double>(std::fabs(flatSpan)) / 2.0L, std::fabs(centre) * FlatRelativeHalfSpan);
        yMin = WithinUsable(centre - half);
        yMax = WithinUsable(centre + half);
        if (!IsUsableRange(yMin, yMax))
            return false;
    }
    YMin = yMin;
    YMax = yMax;
    return true;
}
