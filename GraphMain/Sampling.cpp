// The sampling loop: one guard per sample, so one bad point costs one point.
#include "GraphMain/Sampling.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <algorithm>
#include <cmath>

double SampleFormula(const TRapidEvaluator& evaluator, double Low, double High, TSamples& samples)
{
    const std::int32_t n = std::clamp(samples.SampleCount, 1, MaxSampleCount);
    const double step = StoreDouble((static_cast<long double>(High) - Low) / n);
    double maxAbs = 0.0;
    for (std::int32_t i = 0; i <= n; ++i) {
        FormulaX = StoreDouble(static_cast<long double>(i) * step + Low);
        samples.Samples[i] = 0.0;
        samples.SampleUndefined[i] = true;
        try {
            const double value = evaluator.Evaluate();
            samples.Samples[i] = value;
            samples.SampleUndefined[i] = false;
            maxAbs = std::max(maxAbs, std::fabs(value));
        } catch (...) {
            // An undefined point: the evaluator has reset the unit already.
        }
    }
    return maxAbs == 0.0 ? 1.0 : maxAbs;
}
