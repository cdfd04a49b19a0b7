// Tick step and indices, in extended precision with the faults of the x87,
// and the stride of the labelled ticks.
#include "plot/core/Ticks.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/PowerOfTen.h"
#include "numeric/X87Math.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int TicksPerExtent = 10;

// The mantissa of the step: 1, 2, 2.5 or 5; below 1 (an empty extent) it
// stays as it is, and a mantissa of 10 left by rounding counts as 5.
double RoundedMantissa(double m)
{
    if (m < 1.0)
        return m;
    if (m < 2.0)
        return 1.0;
    if (m < 3.0)
        return 2.0;
    if (m < 4.0)
        return 2.5;
    return 5.0;
}

}  // namespace

void SplitMantissa(double value, double& m, std::int32_t& e)
{
    if (value == 0.0) {
        m = 0.0;
        e = 0;
        return;
    }
    std::int32_t exponent = TruncToLow32(Log10X87(std::fabs(static_cast<long double>(value))));
    double mantissa = StoreDouble(value * ScaleByPowerOfTen(1.0L, -exponent));
    if (mantissa < 1.0) {
        mantissa = StoreDouble(mantissa * 10.0L);
        exponent = CheckedSub(exponent, 1);
    }
    m = mantissa;
    e = exponent;
}

long double TickStep(double xMin, double xMax)
{
    const double r = StoreDouble(std::fabs(static_cast<long double>(xMax) - xMin) / TicksPerExtent);
    double m;
    std::int32_t e;
    SplitMantissa(r, m, e);
    return ScaleByPowerOfTen(1.0L, e) * RoundedMantissa(m);
}

TTickIndices TickIndices(double lo, double hi, long double step)
{
    TTickIndices ticks;
    ticks.First = TruncToInt64(CheckedDivide(lo, step));
    if (ticks.First * step < lo)
        ++ticks.First;
    ticks.Last = TruncToInt64(CheckedDivide(hi, step));
    if (ticks.Last * step > hi)
        --ticks.Last;
    return ticks;
}

namespace {

// a / k rounded up and down, for k > 0: the quotients of the first and last
// multiple of k within a range of indices.
std::int64_t CeilDiv(std::int64_t a, std::int64_t k)
{
    return a / k + (a % k != 0 && a > 0 ? 1 : 0);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t k)
{
    return a / k - (a % k != 0 && a < 0 ? 1 : 0);
}

// The stride after k in 1, 2, 5, 10, 20, 50, … (4 for 5 after a step of
// 2.5 × 10^n). Unsigned, so that the stride after 5 × 10^18 is still a
// number: 10^19, beyond every index.
std::uint64_t NextStride(std::uint64_t k, bool quarterStep)
{
    std::uint64_t decade = 1;
    while (k / decade >= 10)
        decade *= 10;
    switch (k / decade) {
    case 1:
        return 2 * decade;
    case 2:
        return (quarterStep ? 4 : 5) * decade;
    default:
        return 10 * decade;
    }
}

// Walks the labels of the nonzero multiples of k in order along the axis,
// passing over those left out: labels placed in the ticks' order cannot
// touch one further on without touching the next one first, so neighbours
// are all that need comparing.
bool StrideFits(TTickIndices ticks, const std::vector<TTickLabel>& labels, std::int32_t gap, std::int64_t k,
                bool labelZero)
{
    const TTickLabel* last = nullptr;
    for (std::int64_t q = CeilDiv(ticks.First, k), end = FloorDiv(ticks.Last, k); q <= end; ++q) {
        const std::int64_t index = q * k;
        if (index == 0 && !labelZero)
            continue;
        const TTickLabel& label = labels[static_cast<std::size_t>(index - ticks.First)];
        if (label.LeftOut)
            continue;
        if (last && static_cast<std::int64_t>(label.Lo) - gap <= last->Hi &&
            static_cast<std::int64_t>(last->Lo) - gap <= label.Hi)
            return false;
        last = &label;
    }
    return true;
}

}  // namespace

std::int64_t LabelStride(TTickIndices ticks, const std::vector<TTickLabel>& labels, std::int32_t gap,
                         long double step, bool labelZero)
{
    // Strides beyond the farthest index would label nothing.
    const auto magnitude = [](std::int64_t v) { return v < 0 ? 0 - static_cast<std::uint64_t>(v) : std::uint64_t(v); };
    const std::uint64_t farthest = ticks.Count() == 0 ? 0 : std::max(magnitude(ticks.First), magnitude(ticks.Last));
    double m;
    std::int32_t e;
    SplitMantissa(static_cast<double>(step), m, e);
    const bool quarterStep = m > 2.25 && m < 3.0;
    // A lone tick at 0 that is labelled takes a stride of 1.
    const std::uint64_t lastStride =
        labelZero && ticks.First <= 0 && ticks.Last >= 0 ? std::max<std::uint64_t>(farthest, 1) : farthest;
    for (std::uint64_t k = 1; k <= lastStride; k = NextStride(k, quarterStep))
        if (StrideFits(ticks, labels, gap, static_cast<std::int64_t>(k), labelZero))
            return static_cast<std::int64_t>(k);
    return 0;
}
