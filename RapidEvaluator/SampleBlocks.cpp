// The block entry point of the sampling loop: many samples per read of the
// x87 fault flags, and the guarded per-sample path for a block that faulted.
#include "RapidEvaluator/RapidEvaluator.h"

#include <algorithm>
#include <limits>

namespace {

// Samples per status read. The read waits for the x87 unit to drain; once
// per 64 samples its cost is lost in the noise, and a faulting block costs
// at most 64 evaluations more.
constexpr int BlockSamples = 64;

// The per-sample loop's own guard: any error leaves the sample undefined.
void EvaluateGuarded(const TRapidEvaluator& evaluator, double x, double& value, bool& undefined)
{
    FormulaX = x;
    value = 0.0;
    undefined = true;
    try {
        value = evaluator.Evaluate();
        undefined = false;
    } catch (const Exception&) {
    }
}

std::uint16_t FaultsSoFar()
{
    std::uint16_t status;
    asm volatile("fnstsw %0" : "=a"(status) : : "memory");
    return status & StatusFaults;
}

} // namespace

void TRapidEvaluator::EvaluateSamples(const double* x, int count, double* values, bool* undefined) const
{
    if (!Compiled) {
        for (int i = 0; i < count; ++i)
            EvaluateGuarded(*this, x[i], values[i], undefined[i]);
        return;
    }
    for (int start = 0; start < count; start += BlockSamples) {
        const int end = std::min(count, start + BlockSamples);
        // Without a fault every sample runs exactly as in Evaluate: the same
        // code from an empty register stack, the same store of the result.
        // The flags are sticky, so one read at the end sees every fault of
        // the block, including the overflow of a result's store.
        for (int i = start; i < end; ++i) {
            FormulaX = x[i];
            const long double value = EntryPoint();
            asm volatile("fstpl %0" : "=m"(values[i]) : "t"(value) : "st", "memory");
        }
        if (FaultsSoFar() == 0) {
            std::fill(undefined + start, undefined + end, false);
            continue;
        }
        // After a fault the unit may hold what the faulting code left behind,
        // so the later samples of the block are worth nothing: all of them
        // are evaluated again one by one as Evaluate does it, each fault
        // resetting the unit; only the raising and catching is left out.
        ResetFpu();
        for (int i = start; i < end; ++i) {
            FormulaX = x[i];
            const long double value = EntryPoint();
            std::uint16_t status;
            asm volatile("fstpl %0\n\tfnstsw %1" : "=m"(values[i]), "=a"(status) : "t"(value) : "st", "memory");
            undefined[i] = (status & StatusFaults) != 0;
            if (undefined[i]) {
                values[i] = 0.0;
                ResetFpu();
            }
        }
    }
}

bool TRapidEvaluator::EvaluateExtended(double x, long double& value) const
{
    FormulaX = x;
    value = 0.0L;
    if (!Compiled)
        return false;
    const long double result = EntryPoint();
    if (FaultsSoFar() != 0) {
        ResetFpu();
        return false;
    }
    // A value the double store would overflow is undefined for the samples,
    // so it is here too.
    if (!(result <= std::numeric_limits<double>::max() && result >= -std::numeric_limits<double>::max()))
        return false;
    value = result;
    return true;
}
