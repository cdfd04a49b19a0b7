// Tick step and indices, in extended precision with the faults of the x87.
#include "plot/core/Ticks.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/PowerOfTen.h"
#include "numeric/X87Math.h"

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
