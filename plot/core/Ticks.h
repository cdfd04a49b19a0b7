// The tick step and the tick indices of the axes: the nonzero multiples of
// a step of 1, 2, 2.5 or 5 times a power of ten that lie inside the window.
#pragma once

#include <cstdint>

// Decimal mantissa m in [1, 10) (up to rounding) and exponent e of v, with
// v = m × 10^e; m = e = 0 for v = 0.
void SplitMantissa(double value, double& m, std::int32_t& e);

// The step both axes share, from the horizontal extent alone: about a tenth
// of it, rounded down to 1, 2, 2.5 or 5 times a power of ten. 0 for an empty
// extent.
long double TickStep(double xMin, double xMax);

// First and last index k of the ticks k × step within lo..hi, edges included;
// Last < First when there is none. A zero step faults.
struct TTickIndices {
    std::int64_t First = 0;
    std::int64_t Last = -1;
    std::int64_t Count() const { return Last < First ? 0 : Last - First + 1; }
};
TTickIndices TickIndices(double lo, double hi, long double step);
