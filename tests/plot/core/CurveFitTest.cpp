// The y extent fitted to a curve's values: the margin, undefined samples
// passed over, flat and huge curves still given a usable extent.
#include "plot/core/CurveFit.h"
#include "plot/core/ViewWindow.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace {

// NaN marks an undefined sample, stored as the sampling stores it: 0.0.
TSamples SamplesOf(const std::vector<double>& values)
{
    TSamples samples;
    samples.SampleCount = static_cast<std::int32_t>(values.size()) - 1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        samples.SampleUndefined[i] = values[i] != values[i];
        samples.Samples[i] = samples.SampleUndefined[i] ? 0.0 : values[i];
    }
    return samples;
}

constexpr double Undefined = __builtin_nan("");

TEST(CurveFit, FitsTheDefinedValuesWithAMarginOrCentresAFlatCurve)
{
    const struct {
        const char* Name;
        std::vector<double> Values;
        // The 1:1 fit's span, which a flat curve keeps.
        double FlatSpan;
        std::optional<std::pair<double, double>> Expected;
    } cases[] = {
        {"rising", {1, 3, 6, 11}, 8, std::pair{0.5, 11.5}},
        {"falling below 0", {-2, -4, -22}, 8, std::pair{-23.0, -1.0}},
        {"undefined samples hold 0.0, no value", {Undefined, 5, Undefined, 9, Undefined}, 8, std::pair{4.8, 9.2}},
        {"a constant keeps the 1:1 span", {3, 3, 3}, 8, std::pair{-1.0, 7.0}},
        {"a constant 0", {0, 0}, 8.97, std::pair{-4.485, 4.485}},
        {"a huge constant", {1e200, 1e200}, 8, std::pair{1e200 - 1e194, 1e200 + 1e194}},
        {"variations a double cannot span", {1e10, 1e10 + 1e-6, 1e10}, 8, std::pair{1e10 - 1e4, 1e10 + 1e4}},
        {"beyond the usable ends", {-1e308, 0, 1.7e308}, 8, std::pair{-LargestUsableEnd, LargestUsableEnd}},
        {"nothing defined", {Undefined, Undefined}, 8, std::nullopt},
    };
    for (const auto& c : cases) {
        double yMin = -123, yMax = 456;
        const bool fitted = FitYToSamples(SamplesOf(c.Values), c.FlatSpan, yMin, yMax);
        ASSERT_EQ(fitted, c.Expected.has_value()) << c.Name;
        if (!fitted) {
            EXPECT_EQ(yMin, -123) << c.Name << ": left as it was";
            EXPECT_EQ(yMax, 456) << c.Name;
            continue;
        }
        EXPECT_DOUBLE_EQ(yMin, c.Expected->first) << c.Name;
        EXPECT_DOUBLE_EQ(yMax, c.Expected->second) << c.Name;
        EXPECT_TRUE(IsUsableRange(yMin, yMax)) << c.Name;
    }
}

}  // namespace
