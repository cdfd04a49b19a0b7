// The curve's sound measured in its PCM: length, pitch and its continuity,
// the softer timbre below zero, silence and clicks at undefined stretches,
// ticks at the roots; and the bytes of its WAV file.
#include "plot/core/CurveSound.h"
#include "plot/core/WaveFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr std::int32_t Intervals = 400;

// Samples 0 to Intervals of f(t), t from 0 to 1; nothing where f gives NaN.
std::unique_ptr<TSamples> SamplesOf(const std::function<double(double)>& f)
{
    auto samples = std::make_unique<TSamples>();
    samples->SampleCount = Intervals;
    for (std::int32_t i = 0; i <= Intervals; ++i) {
        const double value = f(static_cast<double>(i) / Intervals);
        samples->SampleUndefined[i] = std::isnan(value);
        samples->Samples[i] = std::isnan(value) ? 0.0 : value;
    }
    return samples;
}

TCurveSound SoundOf(const TSamples& samples, double YMin, double YMax, std::int32_t seconds = 1)
{
    TCurveSound sound;
    sound.Samples = &samples;
    sound.Low = 0.0;
    sound.High = 1.0;
    sound.YMin = YMin;
    sound.YMax = YMax;
    sound.Seconds = seconds;
    return sound;
}

// Left plus right: the mono signal times a positive gain at every position.
double Mono(const std::vector<std::int16_t>& pcm, std::int64_t frame)
{
    return static_cast<double>(pcm[2 * frame]) + pcm[2 * frame + 1];
}

std::int64_t SignChanges(const std::vector<std::int16_t>& pcm, std::int64_t from, std::int64_t to)
{
    std::int64_t changes = 0;
    int last = 0;
    for (std::int64_t i = from; i < to; ++i) {
        const double value = Mono(pcm, i);
        const int sign = value > 0 ? 1 : value < 0 ? -1 : 0;
        if (sign != 0 && last != 0 && sign != last)
            ++changes;
        if (sign != 0)
            last = sign;
    }
    return changes;
}

TEST(CurveSound, LastsItsSecondsWithinTheLimits)
{
    const auto samples = SamplesOf([](double t) { return t; });
    const struct { std::int32_t seconds; std::int64_t frames; } cases[] = {
        {3, 132300}, {1, 44100}, {30, 1323000}, {0, 44100}, {-5, 44100}, {31, 1323000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CurveSoundPcm(SoundOf(*samples, 0, 1, c.seconds)).size(), 2 * c.frames) << c.seconds;
}

TEST(CurveSound, PitchFollowsTheValueOnTwoOctavesClampedAtTheView)
{
    // A constant curve: the sign changes in one second are twice the pitch.
    const struct { double value, YMin, YMax, hertz; } cases[] = {
        {0.0, 0.0, 1.0, 220}, {1.0, 0.0, 1.0, 880}, {0.5, 0.0, 1.0, 440}, {0.25, 0.0, 1.0, 311.127},
        {7.0, 0.0, 1.0, 880}, {3.0, 4.0, 9.0, 220},
        // Below zero the square wave keeps the pitch.
        {-1.5, -2.0, -1.0, 440}, {-30.0, -2.0, -1.0, 220},
    };
    for (const auto& c : cases) {
        const auto samples = SamplesOf([&](double) { return c.value; });
        const std::vector<std::int16_t> pcm = CurveSoundPcm(SoundOf(*samples, c.YMin, c.YMax));
        EXPECT_NEAR(SignChanges(pcm, 0, SoundFrameRate), 2 * c.hertz, 3) << c.value;
    }
}

TEST(CurveSound, PhaseRunsOnWhileThePitchSweeps)
{
    const auto samples = SamplesOf([](double t) { return t; });
    const std::vector<std::int16_t> pcm = CurveSoundPcm(SoundOf(*samples, 0, 1, 3));
    const std::int64_t frames = 3 * SoundFrameRate;
    // Ten windows: each holds the mean pitch of 220·4^t over its stretch.
    for (int w = 0; w < 10; ++w) {
        const double t0 = w / 10.0, t1 = (w + 1) / 10.0;
        const double mean = 220 * (std::pow(4.0, t1) - std::pow(4.0, t0)) / (std::log(4.0) * (t1 - t0));
        const double measured =
            SignChanges(pcm, static_cast<std::int64_t>(t0 * frames), static_cast<std::int64_t>(t1 * frames)) /
            (2 * 0.3);
        EXPECT_NEAR(measured / mean, 1.0, 0.01) << "window " << w;
    }
    // No step larger than the fastest tone's at its loudest: a reset phase
    // would jump.
    const double largestStep = 2 * M_PI * HighestPitchHz / SoundFrameRate * 0.4 * 32767 * 2;
    for (std::int64_t i = 1; i < frames; ++i)
        ASSERT_LE(std::fabs(Mono(pcm, i) - Mono(pcm, i - 1)), largestStep) << i;
}

TEST(CurveSound, BelowZeroIsASofterSquareWave)
{
    const auto ratios = [](double value) {
        const auto samples = SamplesOf([&](double) { return value; });
        const std::vector<std::int16_t> pcm = CurveSoundPcm(SoundOf(*samples, -1, 1));
        double peak = 0, sum = 0;
        const std::int64_t from = SoundFrameRate / 2, count = SoundFrameRate / 20;
        for (std::int64_t i = from; i < from + count; ++i) {
            peak = std::max(peak, std::fabs(Mono(pcm, i)));
            sum += Mono(pcm, i) * Mono(pcm, i);
        }
        return std::pair{peak, std::sqrt(sum / count) / peak};
    };
    const auto [abovePeak, aboveShape] = ratios(0.5);
    const auto [belowPeak, belowShape] = ratios(-0.5);
    EXPECT_LT(belowPeak, abovePeak / 2);
    EXPECT_NEAR(aboveShape, std::sqrt(0.5), 0.02);  // a sine
    EXPECT_GT(belowShape, 0.98);                      // a square
}

TEST(CurveSound, UndefinedStretchesAreSilentWithAClickAtEachEnd)
{
    // Undefined over the first half: silence from the start, which enters no
    // stretch, then a click where the curve begins.
    const auto rising = SamplesOf([](double t) { return t < 0.5 ? NAN : t; });
    const std::vector<std::int16_t> pcm = CurveSoundPcm(SoundOf(*rising, 0, 1));
    std::int64_t first = 0;
    while (first < SoundFrameRate && pcm[2 * first] == 0 && pcm[2 * first + 1] == 0)
        ++first;
    EXPECT_NEAR(first, SoundFrameRate / 2, SoundFrameRate / Intervals);
    // The tone fades in over milliseconds; the click is loud at once.
    double start = 0;
    for (std::int64_t i = first; i < first + 11; ++i)
        start = std::max(start, std::fabs(Mono(pcm, i)));
    EXPECT_GT(start, 0.08 * 32767);

    // Defined over the first half: after the click and the fade, silence.
    const auto falling = SamplesOf([](double t) { return t < 0.5 ? t + 0.2 : NAN; });
    const std::vector<std::int16_t> ends = CurveSoundPcm(SoundOf(*falling, 0, 1));
    const std::int64_t quiet = SoundFrameRate / 2 + SoundFrameRate / Intervals + SoundFrameRate / 100;
    for (std::int64_t i = quiet; i < SoundFrameRate; ++i)
        ASSERT_EQ(Mono(ends, i), 0) << i;
    double entering = 0;
    for (std::int64_t i = SoundFrameRate / 2 - 200; i < quiet; ++i)
        entering = std::max(entering, std::fabs(Mono(ends, i)));
    EXPECT_GT(entering, 0.45 * 32767) << "the tone and the click";
}

TEST(CurveSound, TicksSoundAtTheRootsAndNowhereElse)
{
    const auto samples = SamplesOf([](double t) { return std::sin(7 * M_PI * t); });
    TCurveSound sound = SoundOf(*samples, -1, 1, 2);
    const std::vector<std::int16_t> plain = CurveSoundPcm(sound);
    sound.Roots = {1 / 7.0, 3 / 7.0, 6 / 7.0};
    const std::vector<std::int16_t> ticked = CurveSoundPcm(sound);
    const std::int64_t frames = 2 * SoundFrameRate, tickFrames = SoundFrameRate * 15 / 1000;
    std::vector<int> heard(sound.Roots.size(), 0);
    for (std::int64_t i = 0; i < frames; ++i) {
        if (Mono(ticked, i) == Mono(plain, i))
            continue;
        bool inTick = false;
        for (std::size_t r = 0; r < sound.Roots.size(); ++r) {
            const auto at = static_cast<std::int64_t>(sound.Roots[r] * frames);
            if (i >= at && i < at + tickFrames) {
                inTick = true;
                ++heard[r];
            }
        }
        ASSERT_TRUE(inTick) << "a difference at frame " << i;
    }
    for (std::size_t r = 0; r < heard.size(); ++r)
        EXPECT_GT(heard[r], tickFrames / 2) << "root " << r;
}

TEST(WaveFile, HeaderSizesAndLittleEndianValues)
{
    const std::vector<std::int16_t> pcm = {1, -2, 0x1234, -32768};
    const std::string bytes = WaveFileBytes(pcm);
    ASSERT_EQ(bytes.size(), 44u + 8u);
    const auto u32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 8u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u32(20), 1u | 2u << 16);       // PCM, two channels
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 44100u * 4);          // bytes a second
    EXPECT_EQ(u32(32), 4u | 16u << 16);      // bytes a frame, bits a value
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(u32(40), 8u);
    EXPECT_EQ(bytes.substr(44), std::string("\x01\x00\xFE\xFF\x34\x12\x00\x80", 8));
}

}  // namespace
