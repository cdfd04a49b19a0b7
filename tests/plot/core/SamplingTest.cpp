// The sampling loop: positions, undefined samples, the largest magnitude.
#include "plot/core/Sampling.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<TRapidEvaluator> Compiled(const std::string& formula)
{
    auto evaluator = std::make_unique<TRapidEvaluator>();
    evaluator->SetFormula(formula);
    evaluator->Compile();
    return evaluator;
}

TSamples WithCount(std::int32_t n)
{
    TSamples samples;
    samples.SampleCount = n;
    return samples;
}

TEST(Sampling, TwoThousandIntervalsOverMinusTenToTen)
{
    TSamples samples = WithCount(2000);
    SampleFormula(*Compiled("x"), -10, 10, 0, samples);
    const double step = 0.01;
    for (int i = 0; i <= 2000; ++i) {
        ASSERT_FALSE(samples.SampleUndefined[i]);
        // Low + i × step with the step rounded to a double, the sum rounded once.
        ASSERT_EQ(samples.Samples[i], static_cast<double>(static_cast<long double>(i) * step + -10.0L)) << i;
    }
    EXPECT_EQ(samples.Samples[0], -10.0);
    EXPECT_EQ(samples.Samples[2000], 10.0);
    EXPECT_EQ(FormulaX, samples.Samples[2000]);
}

TEST(Sampling, UndefinedSamplesHoldZeroAndSamplingGoesOn)
{
    TSamples samples = WithCount(437);
    samples.Samples.fill(99.0);  // stale values of an earlier plot
    SampleFormula(*Compiled("sqrt(x)"), -10, 10, 0, samples);
    int undefined = 0;
    for (int i = 0; i <= 437; ++i) {
        const double x = -10.0 + i * (20.0 / 437);
        EXPECT_EQ(samples.SampleUndefined[i], x < 0) << i;
        if (samples.SampleUndefined[i]) {
            EXPECT_EQ(samples.Samples[i], 0.0);
            ++undefined;
        } else {
            EXPECT_NEAR(samples.Samples[i], std::sqrt(x), 1e-13);
        }
    }
    EXPECT_EQ(undefined, 219);
    // Entries above N are left alone.
    EXPECT_EQ(samples.Samples[438], 99.0);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(Sampling, LargestMagnitude)
{
    struct {
        const char* formula;
        double low, high, maxAbs;
    } cases[] = {
        {"x", -7, 3, 7},            // the magnitude, whatever the sign
        {"0*x", -5, 5, 1},          // all defined, all 0
        {"ln(-1-x*x)", -5, 5, 1},   // none defined
        {"10/x", -5, 5, 10},        // 10/0 at the middle sample is undefined
    };
    for (const auto& c : cases) {
        TSamples samples = WithCount(10);
        EXPECT_EQ(SampleFormula(*Compiled(c.formula), c.low, c.high, 0, samples), c.maxAbs) << c.formula;
    }
    TSamples samples = WithCount(10);
    SampleFormula(*Compiled("ln(-1-x*x)"), -5, 5, 0, samples);
    for (int i = 0; i <= 10; ++i)
        EXPECT_TRUE(samples.SampleUndefined[i] && samples.Samples[i] == 0.0);
}

TEST(Sampling, EmptyAndReversedRanges)
{
    TSamples samples = WithCount(10);
    SampleFormula(*Compiled("x"), 2.5, 2.5, 0, samples);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(samples.Samples[i], 2.5);
    SampleFormula(*Compiled("x"), 5, -5, 0, samples);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(samples.Samples[i], 5.0 - i);
}

TEST(Sampling, CountsOutsideTheArraysAreClamped)
{
    for (std::int32_t n : {0, -5, 2001, INT32_MAX}) {
        TSamples samples = WithCount(n);
        samples.Samples.fill(-1.0);
        SampleFormula(*Compiled("1"), 0, 1, 0, samples);
        const int used = n < 1 ? 1 : MaxSampleCount;
        for (int i = 0; i <= used; ++i)
            ASSERT_EQ(samples.Samples[i], 1.0) << "n = " << n << ", i = " << i;
    }
}

}  // namespace
