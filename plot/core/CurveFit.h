// The y extent of a view fitted to a curve's values rather than to the
// x extent's scale, so that a curve far from y = 0 or much flatter or taller
// than it is wide fills the plot area.
#pragma once

#include "plot/core/Sampling.h"

// A twentieth of the values' spread left free above and below the curve, so
// that its highest and lowest points do not lie on the frame.
inline constexpr double FitMarginShare = 0.05;
// A curve too flat to span a usable extent (a constant, or variations below
// what a double tells apart at its size) is shown in the middle of an extent
// at least this part of its value's magnitude high.
inline constexpr double FlatRelativeHalfSpan = 1e-6;

// Fits YMin..YMax to the defined samples 0 to SampleCount: from the lowest to
// the highest value with FitMarginShare of their spread beyond each. A curve
// too flat for that is centred in an extent of at least `flatSpan` (the 1:1
// fit's, say) and FlatRelativeHalfSpan of its magnitude each way. Values and
// ends stay within LargestUsableEnd. False, with YMin and YMax unchanged,
// when no sample is defined or no usable extent holds the curve (a flat span
// below the smallest usable one at 0).
bool FitYToSamples(const TSamples& samples, double flatSpan, double& YMin, double& YMax);
