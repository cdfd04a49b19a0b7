// The curve's sound: a tone whose pitch and timbre follow the samples, moved
// from left to right, with ticks at the roots and clicks at undefined stretches.
#include "plot/core/CurveSound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Levels as parts of full scale. The sum of all of them stays below 1, so
// nothing clips: the tone, the softer square below zero, the tick, the click.
constexpr double ToneLevel = 0.4;
constexpr double SoftLevel = 0.14;
constexpr double TickLevel = 0.3;
constexpr double ClickLevel = 0.25;
constexpr double FullScale = 32767.0;
// A root's tick: a short high beep that dies away.
constexpr double TickPitchHz = 1760.0;
constexpr double TickSeconds = 0.015;
// A click: a few milliseconds of dying noise, unlike any tone.
constexpr double ClickSeconds = 0.004;
// The tone fades in and out over this time at an undefined stretch, and
// passes from one timbre to the other over this time at a sign change, so
// that neither step is heard as a click of its own.
constexpr double GateSeconds = 0.002;
constexpr double TimbreSeconds = 0.005;

// The tone's sine and the pitch's power of two come from tables read with
// linear interpolation: at these sizes their error (below 3e-7) lies under
// a 16-bit step (3e-5), and the sweep costs a fraction of a library call
// per frame.
constexpr int SineTableSize = 4096;
constexpr int PowerTableSize = 1024;

// f(k / size) for k = 0 .. size, the last entry closing the interval.
template <int Size, typename F>
std::array<double, Size + 1> Tabulate(F f)
{
    std::array<double, Size + 1> table{};
    for (int k = 0; k <= Size; ++k)
        table[k] = f(static_cast<double>(k) / Size);
    return table;
}

// f at `share` in 0..1 from its table.
template <std::size_t Entries>
double ReadTable(const std::array<double, Entries>& table, double share)
{
    const double at = share * static_cast<double>(Entries - 1);
    const std::size_t k = std::min(static_cast<std::size_t>(at), Entries - 2);
    return table[k] + (table[k + 1] - table[k]) * (at - static_cast<double>(k));
}

// sin(2 pi phase) for a phase in turns, 0 to 1.
double SineOfTurn(double phase)
{
    static const auto table = Tabulate<SineTableSize>([](double t) { return std::sin(2.0 * std::numbers::pi * t); });
    return ReadTable(table, phase);
}

// Moves `value` toward `target` by at most `step`.
double Approach(double value, double target, double step)
{
    return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

// The value and whether it is defined at sample position `s` (0 to N): the
// nearest sample says whether the curve is defined; between two defined
// samples the value is interpolated.
bool ValueAt(const TSamples& samples, double s, double& value)
{
    const std::int32_t last = samples.SampleCount;
    const std::int32_t k = std::clamp(static_cast<std::int32_t>(s), 0, std::max(last - 1, 0));
    const std::int32_t next = std::min(k + 1, last);
    const double share = std::clamp(s - k, 0.0, 1.0);
    const std::int32_t nearest = share < 0.5 ? k : next;
    if (samples.SampleUndefined[nearest])
        return false;
    if (samples.SampleUndefined[k] || samples.SampleUndefined[next])
        value = samples.Samples[nearest];
    else
        value = samples.Samples[k] + (samples.Samples[next] - samples.Samples[k]) * share;
    return true;
}

// The pitch of a value: logarithmic from the bottom of the view to its top.
double PitchOf(double value, double YMin, double YMax, double perHeight)
{
    double share = (value - YMin) * perHeight;
    if (!std::isfinite(share))
        share = value >= YMax ? 1.0 : 0.0;
    static const double octaves = std::log2(HighestPitchHz / LowestPitchHz);
    static const auto table = Tabulate<PowerTableSize>([](double s) { return std::exp2(octaves * s); });
    return LowestPitchHz * ReadTable(table, std::clamp(share, 0.0, 1.0));
}

// Adds a tick beginning at frame `at` to the mono effects.
void AddTick(std::vector<float>& effects, std::int64_t at)
{
    const std::int64_t length = static_cast<std::int64_t>(TickSeconds * SoundFrameRate);
    for (std::int64_t k = 0; k < length && at + k < static_cast<std::int64_t>(effects.size()); ++k) {
        if (at + k < 0)
            continue;
        const double t = static_cast<double>(k) / SoundFrameRate;
        effects[at + k] += static_cast<float>(TickLevel * std::exp(-4.0 * k / length) *
                                              std::sin(2.0 * std::numbers::pi * TickPitchHz * t));
    }
}

// Adds a click beginning at frame `at`: noise from a fixed generator, so the
// same curve always makes the same bytes.
void AddClick(std::vector<float>& effects, std::int64_t at)
{
    const std::int64_t length = static_cast<std::int64_t>(ClickSeconds * SoundFrameRate);
    std::uint32_t noise = 0x2545F491u;
    for (std::int64_t k = 0; k < length && at + k < static_cast<std::int64_t>(effects.size()); ++k) {
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / (1u << 23) - 1.0;
        effects[at + k] += static_cast<float>(ClickLevel * std::exp(-3.0 * k / length) * white);
    }
}

std::int16_t ToPcm(double value)
{
    return static_cast<std::int16_t>(std::lrint(std::clamp(value, -1.0, 1.0) * FullScale));
}

}  // namespace

std::vector<std::int16_t> CurveSoundPcm(const TCurveSound& sound)
{
    const std::int64_t frames =
        static_cast<std::int64_t>(std::clamp(sound.Seconds, MinSoundSeconds, MaxSoundSeconds)) * SoundFrameRate;
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(frames * SoundChannels), 0);
    const TSamples* samples = sound.Samples;
    if (!samples || samples->SampleCount < 1)
        return pcm;

    // The ticks and clicks, mono, placed before the tone is made.
    std::vector<float> effects(static_cast<std::size_t>(frames), 0.0f);
    const double span = sound.High - sound.Low;
    for (const double root : sound.Roots) {
        const double share = (root - sound.Low) / span;
        if (std::isfinite(share) && share >= 0.0 && share <= 1.0)
            AddTick(effects, std::min(static_cast<std::int64_t>(share * frames), frames - 1));
    }

    const double gateStep = 1.0 / (GateSeconds * SoundFrameRate);
    const double timbreStep = 1.0 / (TimbreSeconds * SoundFrameRate);
    double phase = 0.0;  // in turns, 0 to 1
    double pitch = LowestPitchHz;
    double gate = 0.0;   // 1 where the curve is defined
    double below = 0.0;  // 1 where it is below 0: the square wave
    bool wasDefined = false;
    // Equal power at every position, from the left alone to the right alone:
    // the gains turn by one small angle a frame, without two more sines each.
    const double panStep = std::numbers::pi / 2.0 / static_cast<double>(frames);
    const double turnCos = std::cos(panStep), turnSin = std::sin(panStep);
    double left = std::cos(panStep / 2.0), right = std::sin(panStep / 2.0);
    // Multiplications by reciprocals: a division a frame would be most of its cost.
    const double perFrame = 1.0 / static_cast<double>(frames), perRate = 1.0 / SoundFrameRate;
    const double perHeight = 1.0 / (sound.YMax - sound.YMin);
    for (std::int64_t i = 0; i < frames; ++i) {
        const double share = (static_cast<double>(i) + 0.5) * perFrame;
        double value = 0.0;
        const bool defined = ValueAt(*samples, share * samples->SampleCount, value);
        // A sweep that begins undefined enters nothing: no click at its start.
        if (i > 0 && defined != wasDefined)
            AddClick(effects, i);
        if (defined) {
            if (!wasDefined)
                below = value < 0.0 ? 1.0 : 0.0;
            pitch = PitchOf(value, sound.YMin, sound.YMax, perHeight);
        }
        wasDefined = defined;
        gate = Approach(gate, defined ? 1.0 : 0.0, gateStep);
        // Over an undefined stretch the timbre stays as it was.
        below = Approach(below, defined ? (value < 0.0 ? 1.0 : 0.0) : below, timbreStep);

        phase += pitch * perRate;
        phase -= std::floor(phase);
        const double sine = SineOfTurn(phase);
        const double square = phase < 0.5 ? 1.0 : -1.0;
        const double mono =
            gate * ((1.0 - below) * ToneLevel * sine + below * SoftLevel * square) + effects[static_cast<std::size_t>(i)];
        pcm[static_cast<std::size_t>(2 * i)] = ToPcm(mono * left);
        pcm[static_cast<std::size_t>(2 * i + 1)] = ToPcm(mono * right);
        const double turned = left * turnCos - right * turnSin;
        right = right * turnCos + left * turnSin;
        left = turned;
    }
    return pcm;
}

std::vector<double> RootPositions(const std::vector<TPointOfInterest>& points)
{
    std::vector<double> roots;
    for (const TPointOfInterest& point : points)
        if (point.Kind == TPointKind::Root)
            roots.push_back(point.X);
    return roots;
}
