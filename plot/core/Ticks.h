// The tick step and the tick indices of the axes: the nonzero multiples of
// a step of 1, 2, 2.5 or 5 times a power of ten that lie inside the window;
// and which of them get a label when not all labels have room.
#pragma once

#include <cstdint>
#include <vector>

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

// The label of one tick, seen along its axis: the first and last pixel it
// covers, and whether it is left out: it would touch the axis name, or the
// picture's edge would cut it and leave what reads as another number
// ("1000000" as "10000").
struct TTickLabel {
    std::int32_t Lo = 0;
    std::int32_t Hi = 0;
    bool LeftOut = false;
};

// The stride k of the labelled ticks: a tick gets its label when its index
// is a nonzero multiple of k (or 0, when `labelZero`) and the label is not
// left out, so the labels keep the ticks' rhythm, 0 included, and stand at
// equal distances. `labels` holds one entry per tick, from ticks.First on
// (the entry of index 0 is read only when `labelZero`); two labels touch when fewer than `gap` pixels lie between
// them. k is the first of 1, 2, 5, 10, 20, 50, … (1, 2, 4, 10, 20, 40, … for
// a step of 2.5 × 10^n, so that labels fall on 5 and 10 rather than 12.5) at
// which no two of those labels touch. A label left out does not raise the
// stride: it stands at the end of the axis, where the name already is, or
// beyond the picture. 0 when there is no tick to label or no stride fits.
std::int64_t LabelStride(TTickIndices ticks, const std::vector<TTickLabel>& labels, std::int32_t gap,
                         long double step, bool labelZero = false);
