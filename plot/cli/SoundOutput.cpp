// The curve's sound written by orvalis-plot: the plot made on a canvas that
// keeps nothing, its samples, view and roots turned into PCM and the PCM
// into a WAV file.
#include "plot/cli/SoundOutput.h"

#include "plot/core/CurvePoints.h"
#include "plot/core/CurveSound.h"
#include "plot/core/WaveFile.h"
#include "plot/drawing/LayoutCanvas.h"
#include "plot/drawing/Plotter.h"
#include "files/SafeFile.h"

namespace {

// Where "-" goes: the file writer writes it in place.
const char StandardOutputPath[] = "/dev/stdout";

}  // namespace

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
