// The block entry point of sampling against the per-sample loop it replaces:
// the same values, bit for bit, and the same undefined samples, wherever in
// a block the faults fall.

#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

struct TSamples {
    std::vector<double> Values;
    std::unique_ptr<bool[]> Undefined;
    int Count = 0;
};

// The sampling loop one sample at a time, each evaluation in its own guard.
TSamples PerSample(const TRapidEvaluator& evaluator, const std::vector<double>& x)
{
    TSamples samples{std::vector<double>(x.size(), -1.0), std::make_unique<bool[]>(x.size()), static_cast<int>(x.size())};
    for (std::size_t i = 0; i < x.size(); ++i) {
        FormulaX = x[i];
        samples.Values[i] = 0.0;
        samples.Undefined[i] = true;
        try {
            samples.Values[i] = evaluator.Evaluate();
            samples.Undefined[i] = false;
        } catch (const Exception&) {
        }
    }
    return samples;
}

TSamples InBlocks(const TRapidEvaluator& evaluator, const std::vector<double>& x)
{
    TSamples samples{std::vector<double>(x.size(), -1.0), std::make_unique<bool[]>(x.size()), static_cast<int>(x.size())};
    evaluator.EvaluateSamples(x.data(), samples.Count, samples.Values.data(), samples.Undefined.get());
    return samples;
}

// Abscissas 0, 1, 2, ... with chosen ones replaced by `bad`.
std::vector<double> Abscissas(int count, std::initializer_list<int> badAt, double bad)
{
    std::vector<double> x(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        x[static_cast<std::size_t>(i)] = 0.25 * i - 3;
    for (int i : badAt)
        if (i < count)
            x[static_cast<std::size_t>(i)] = bad;
    return x;
}

void ExpectSame(const TSamples& expected, const TSamples& actual, const std::string& what)
{
    ASSERT_EQ(expected.Count, actual.Count);
    for (int i = 0; i < expected.Count; ++i) {
        ASSERT_EQ(actual.Undefined[i], expected.Undefined[i]) << what << ", sample " << i;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(actual.Values[i]), std::bit_cast<std::uint64_t>(expected.Values[i]))
            << what << ", sample " << i << ": " << actual.Values[i] << " vs " << expected.Values[i];
    }
}

} // namespace

TEST(SampleBlocks, FaultsAnywhereInABlockGiveThePerSampleResults)
{
    struct Case {
        const char* Formula;
        double Bad;  // an abscissa where the formula is undefined
    };
    const Case cases[] = {
        {"sqrt(x)+1", -1},                           // invalid
        {"1/(x-7)", 7},                              // zero divide
        {"x*x", 1e200},                              // overflow of the caller's store only
        {"exp(x)*2+x^3", 800},                       // overflow of a stored intermediate
        {"x^2 + ln(x) - x^-1", 0},                   // zero divide inside, then the power routine
        {"sum(1, 2*(x + ln(1 - x) * 3) + 4)", 1},    // a fault deep in the formula
        {"x", -1},                                   // no fault at all
    };
    struct Layout {
        int Count;
        std::initializer_list<int> BadAt;
    };
    const Layout layouts[] = {
        {0, {}}, {1, {0}}, {1, {}}, {63, {62}}, {64, {63}}, {65, {64}}, {65, {0, 63, 64}},
        {130, {1, 3, 5, 7, 127}}, {2001, {10, 64, 128, 1999, 2000}},
    };
    for (const Case& c : cases) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(c.Formula);
        evaluator.Compile();
        for (const Layout& layout : layouts) {
            const std::vector<double> x = Abscissas(layout.Count, layout.BadAt, c.Bad);
            const std::string what = std::string(c.Formula) + ", " + std::to_string(layout.Count) + " samples";
            const TSamples expected = PerSample(evaluator, x);
            FormulaX = 12345;
            const TSamples actual = InBlocks(evaluator, x);
            ExpectSame(expected, actual, what);
            EXPECT_EQ(FormulaX, layout.Count > 0 ? x.back() : 12345) << what;
            ASSERT_EQ(FpuStatusWord() & StatusFaults, 0) << what;
            ASSERT_EQ(FpuControlWord(), MaskedControlWord) << what;
        }
    }
}

TEST(SampleBlocks, EveryOtherSampleFaultingLeavesTheOthersExact)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x^2 + arcsin(1e19*(x%2)) - x*x + 7");
    evaluator.Compile();
    std::vector<double> x;
    for (int i = 0; i < 300; ++i)
        x.push_back(i);
    const TSamples actual = InBlocks(evaluator, x);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(actual.Undefined[i], i % 2 == 1) << i;
        ASSERT_EQ(actual.Values[i], i % 2 ? 0.0 : 7.0) << i;
    }
    ExpectSame(PerSample(evaluator, x), actual, "every other sample");
}

TEST(SampleBlocks, UnreducibleTangentsInABlockLeaveTheOtherSamplesExact)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x^2 + tg(1e19*(x%2)) - x*x + 7");
    evaluator.Compile();
    std::vector<double> x;
    for (int i = 0; i < 200; ++i)
        x.push_back(i % 5 == 0 ? i + 1 : i);  // faults at odd x only: runs of two, single ones
    const TSamples expected = PerSample(evaluator, x);
    ASSERT_TRUE(expected.Undefined[1] && !expected.Undefined[2]);
    ExpectSame(expected, InBlocks(evaluator, x), "tg(1e19)");
}

TEST(SampleBlocks, SpecialAbscissasAgree)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const std::vector<double> x = {0.0, -0.0, tiny, -tiny, 1e-310, 1e308, -1e308, inf, -inf,
                                   std::numeric_limits<double>::quiet_NaN(), 1, -1, 2147483648.0};
    for (const char* formula : {"x", "1/x", "x^3", "x^-2", "sqrt(x)", "ln(x)", "exp(x)", "x*x*x", "tg(x)", "x%3"}) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(formula);
        evaluator.Compile();
        ExpectSame(PerSample(evaluator, x), InBlocks(evaluator, x), formula);
    }
}

TEST(SampleBlocks, NothingCompiledLeavesEverySampleUndefined)
{
    TRapidEvaluator evaluator;
    const std::vector<double> x = {1, 2, 3};
    const TSamples samples = InBlocks(evaluator, x);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(samples.Undefined[i]);
        EXPECT_EQ(samples.Values[i], 0.0);
    }
    EXPECT_EQ(FormulaX, 3.0);
}
