// The sampling loop: the positions first, then the formula over all of them
// in blocks; one bad point still costs only that point.
#include "plot/core/Sampling.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <algorithm>
#include <cmath>

namespace {

// The one place that hands z to the compiled code: every evaluation of the
// curve (the plot's samples, the trace, the points, the table) goes through
// it, for exactly the run it makes.
void UseZ(double Z)
{
    FormulaZ = Z;
}

}  // namespace

double SampleStep(double Low, double High, std::int32_t N)
{
    return StoreDouble((static_cast<long double>(High) - Low) / N);
}

double SamplePosition(double Low, double Step, std::int32_t i)
{
    return StoreDouble(static_cast<long double>(i) * Step + Low);
}

double SampleFormula(const TRapidEvaluator& evaluator, double Low, double High, double Z, TSamples& samples)
{
    UseZ(Z);
    const std::int32_t n = std::clamp(samples.SampleCount, 1, MaxSampleCount);
    const double step = SampleStep(Low, High, n);
    std::array<double, MaxSampleCount + 1> positions;
    for (std::int32_t i = 0; i <= n; ++i)
        positions[i] = SamplePosition(Low, step, i);
    // Each sample as its own guarded evaluation would give it: the value, or
    // 0.0 and undefined.
    evaluator.EvaluateSamples(positions.data(), n + 1, samples.Samples.data(), samples.SampleUndefined.data());
    double maxAbs = 0.0;
    for (std::int32_t i = 0; i <= n; ++i)
        if (!samples.SampleUndefined[i])
            maxAbs = std::max(maxAbs, std::fabs(samples.Samples[i]));
    return maxAbs == 0.0 ? 1.0 : maxAbs;
}

void EvaluateFormulaAt(const TRapidEvaluator& evaluator, const double* x, int count, double Z, double* values,
                       bool* undefined)
{
    if (count <= 0)
        return;
    UseZ(Z);
    evaluator.EvaluateSamples(x, count, values, undefined);
}

bool EvaluateFormulaExtended(const TRapidEvaluator& evaluator, double x, double Z, long double& value)
{
    UseZ(Z);
    return evaluator.EvaluateExtended(x, value);
}
