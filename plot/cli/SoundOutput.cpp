// The curve's sound written by orvalis-plot: the plot made on a canvas that
// keeps nothing, its samples, view and roots turned into PCM and the PCM
// into a WAV file.
#include "plot/cli/SoundOutput.h"
#include "plot/drawing/LayoutCanvas.h"

#include "plot/cli/CommandLineText.h"
#include "plot/core/CurvePoints.h"
#include "plot/core/CurveSound.h"
#include "plot/core/WaveFile.h"
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Plotter.h"
#include "files/SafeFile.h"
#include "numeric/IniInteger.h"

namespace {

// Where "-" goes: the file writer writes it in place.
const char StandardOutputPath[] = "/dev/stdout";

}  // namespace

std::int32_t ReadSoundSeconds(const std::string& text)
{
    const std::optional<std::int32_t> value = ParseIniInteger(text);
    if (!value || *value < MinSoundSeconds || *value > MaxSoundSeconds)
        throw TUsageError("--seconds takes an integer from " + std::to_string(MinSoundSeconds) + " to " +
                          std::to_string(MaxSoundSeconds) + ", not " + Quoted(text));
    return *value;
}

bool IsSoundFormat(TOutputFormat format)
{
    return OutputFormatRow(format).Encoder == TOutputEncoder::Sound;
}

void CheckSoundOutput(const TRendererRequest& request, TOutputFormat format)
{
    if (!IsSoundFormat(format)) {
        if (request.SoundSeconds)
            throw TUsageError("--seconds is the length of a sound: OUTPUT ending in .wav or --format wav");
        return;
    }
    if (!request.MoreFormulas.empty())
        throw TUsageError("a sound plays one formula");
    if (request.Sweep)
        throw TUsageError("a sweep of z writes pictures, not a sound");
}

void WriteSoundOutput(const TRendererRequest& request, TPlotter& plotter, const TRapidEvaluator& evaluator,
                      const TPlotRequest& plot)
{
    TLayoutCanvas canvas(plotter.PictureSize());
    plotter.Plot(evaluator, plot, canvas);
    double low, high;
    ReadXRange(plot.XlowText, plot.XhighText, low, high);
    TCurveSound sound;
    sound.Samples = &plotter.Samples();
    sound.Low = low;
    sound.High = high;
    sound.YMin = plotter.View().YMin;
    sound.YMax = plotter.View().YMax;
    sound.Roots = RootPositions(FindPointsOfInterest(evaluator, low, high, plot.Z, plotter.Samples()));
    sound.Seconds = request.SoundSeconds.value_or(DefaultSoundSeconds);
    TFileWriter writer(request.Output == StandardOutputName ? std::string(StandardOutputPath) : request.Output);
    writer.Write(WaveFileBytes(CurveSoundPcm(sound)));
    writer.Commit();
}
