// The samples of one plot: the formula evaluated at N + 1 evenly spaced x,
// each value with its own undefined flag.
#pragma once

#include <array>
#include <cstdint>

class TRapidEvaluator;

// At most this many intervals per plot, so 2001 samples.
inline constexpr std::int32_t MaxSampleCount = 2000;

struct TSamples {
    // N, the number of intervals; samples 0 to N are meaningful.
    std::int32_t SampleCount = 0;
    // Value of sample i, 0.0 when it is undefined.
    std::array<double, MaxSampleCount + 1> Samples{};
    std::array<bool, MaxSampleCount + 1> SampleUndefined{};
};

// Evaluates the compiled formula at Low + i × step, step = (High − Low) / N,
// for i = 0 to N, with z at Z: this file is the one place that hands z to
// the compiled code, so a plot depends on its request alone. A sample whose
// evaluation raises any error stays 0.0 and undefined, and sampling goes on.
// Returns the largest magnitude among the defined samples, or 1.0 when that
// is 0. N outside 1 to MaxSampleCount is taken as the nearest of the two.
double SampleFormula(const TRapidEvaluator& evaluator, double Low, double High, double Z, TSamples& samples);

// The formula at `count` chosen x with z at Z, as the sampling evaluates it:
// values[i] is the value at x[i], or 0.0 with undefined[i] set where the
// formula is undefined. For everything that reads the curve at an x of its
// own (the points of interest, the table of values, the trace), so z still
// reaches the compiled code from this file alone.
void EvaluateFormulaAt(const TRapidEvaluator& evaluator, const double* x, int count, double Z, double* values,
                       bool* undefined);

// The formula at one x with z at Z in the unit's extended precision, for the
// refinements that need more than a double's digits; false where undefined.
bool EvaluateFormulaExtended(const TRapidEvaluator& evaluator, double x, double Z, long double& value);

// The position of sample i of a sampling over Low..High with N intervals,
// exactly as SampleFormula places it.
double SampleStep(double Low, double High, std::int32_t N);
double SamplePosition(double Low, double Step, std::int32_t i);
