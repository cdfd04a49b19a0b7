// The curve as sound: a plot's samples played left to right, the pitch
// following the value, the stereo position following x, made as PCM that a
// WAV file or an audio device takes as it is.
#pragma once

#include "plot/core/CurvePoints.h"
#include "plot/core/Sampling.h"

#include <cstdint>
#include <vector>

// The sound's format: interleaved stereo (left, right), signed 16 bits, at
// 44.1 kHz.
inline constexpr std::int32_t SoundFrameRate = 44100;
inline constexpr std::int32_t SoundChannels = 2;
// How long the sweep plays.
inline constexpr std::int32_t MinSoundSeconds = 1;
inline constexpr std::int32_t MaxSoundSeconds = 30;
inline constexpr std::int32_t DefaultSoundSeconds = 3;
// The pitch at the bottom and at the top of the view; between them it
// follows the value on a logarithmic scale (two octaves).
inline constexpr double LowestPitchHz = 220.0;
inline constexpr double HighestPitchHz = 880.0;

// What is played: the curve as the plot sampled it and the view it was shown
// in. In polar mode the range is the angle's and r plays as y does, against
// the view's y extent.
struct TCurveSound {
    // The plot's samples, taken evenly from Low to High: they play in their
    // order, the first at the left, the last at the right.
    const TSamples* Samples = nullptr;
    double Low = 0.0;
    double High = 0.0;
    // The view's y extent: YMin sounds LowestPitchHz, YMax HighestPitchHz,
    // values beyond them the nearer of the two.
    double YMin = -1.0;
    double YMax = 1.0;
    // The x of each root in Low..High: a short tick sounds there.
    std::vector<double> Roots;
    std::int32_t Seconds = DefaultSoundSeconds;
};

// The PCM of the sweep: Seconds × SoundFrameRate frames of SoundChannels
// values each. Where the value is 0 or above a sine sounds; below 0 a softer
// square wave; over an undefined stretch silence, with a click where the
// curve enters and where it leaves one. The phase runs on from frame to
// frame, so a change of pitch makes no click. Seconds beyond the limits are
// taken as the nearer limit; no samples give silence.
std::vector<std::int16_t> CurveSoundPcm(const TCurveSound& sound);

// The x of the roots among a curve's points of interest.
std::vector<double> RootPositions(const std::vector<TPointOfInterest>& points);
