// The plot's description in words.
#include "plot/core/CurveDescription.h"

#include "numeric/NumberText.h"

#include <algorithm>

namespace {

constexpr int DescriptionDigits = 4;

std::string Number(double value)
{
    return FormatGeneral(value, DescriptionDigits);
}

// "7 roots", "1 maximum"; nothing for none.
void Count(std::vector<std::string>& parts, std::int64_t count, const char* one, const char* many)
{
    if (count > 0)
        parts.push_back(std::to_string(count) + " " + (count == 1 ? one : many));
}

}  // namespace

std::string DescribeCurve(const TViewWindow& view, bool cartesian, double low, double high, const TSamples& samples,
                          const std::vector<TPointOfInterest>& points)
{
    std::string text;
    if (!cartesian)
        text = "angle from " + Number(low) + " to " + Number(high) + ", ";
    text += "x from " + Number(view.XMin) + " to " + Number(view.XMax) + ", y from " + Number(view.YMin) + " to " +
            Number(view.YMax) + "; ";
    const auto kinds = [&](TPointKind kind) {
        return std::count_if(points.begin(), points.end(), [&](const TPointOfInterest& p) { return p.Kind == kind; });
    };
    std::vector<std::string> parts;
    Count(parts, kinds(TPointKind::Root), "root", "roots");
    Count(parts, kinds(TPointKind::Maximum), "maximum", "maxima");
    Count(parts, kinds(TPointKind::Minimum), "minimum", "minima");
    if (parts.empty())
        parts.push_back("no roots or extrema");
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i ? ", " : "") + parts[i];
    const std::int32_t n = std::clamp(samples.SampleCount, 1, MaxSampleCount);
    const auto undefined = std::count(samples.SampleUndefined.begin(), samples.SampleUndefined.begin() + n + 1, true);
    text += undefined == 0 ? "; defined everywhere" : undefined == n + 1 ? "; undefined everywhere" : "; undefined in places";
    return text;
}
