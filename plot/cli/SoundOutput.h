// orvalis-plot's sound output: the curve played as a WAV file instead of a
// picture, and the reading of how long it plays.
#pragma once

#include "plot/cli/RendererOptions.h"
#include "plot/core/CurveSound.h"

class TPlotter;
class TRapidEvaluator;

// --seconds's value: a whole number from MinSoundSeconds to MaxSoundSeconds.
// Raises TUsageError naming the option.
std::int32_t ReadSoundSeconds(const std::string& text);

// Whether the output's format is a sound.
bool IsSoundFormat(TOutputFormat format);

// What a sound and --seconds go with: --seconds only with a sound, a sound
// with one formula and no sweep. Raises TUsageError.
void CheckSoundOutput(const TRendererRequest& request, TOutputFormat format);

// Plots the request without drawing it, so that the view is the one its
// picture would show, and writes the curve's sound over that view to OUTPUT
// ("-" is standard output) through the file writer.
void WriteSoundOutput(const TRendererRequest& request, TPlotter& plotter, const TRapidEvaluator& evaluator,
                      const TPlotRequest& plot);
