// The curve's sound written by orvalis-plot: the plot made on a canvas that
// keeps nothing, its samples, view and roots turned into PCM and the PCM
// into a WAV file.
#include "plot/cli/SoundOutput.h"

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

// A canvas that draws nothing: the plot runs only for the view it fits and
// the samples it takes.
class TNoCanvas final : public TCanvas {
public:
    explicit TNoCanvas(TPictureSize size) : Size_(size) {}
    TPictureSize Size() const override { return Size_; }
    void SetPen(TColor color, std::int32_t width) override { Pen = color, PenWidth_ = width; }
    TColor PenColor() const override { return Pen; }
    std::int32_t PenWidth() const override { return PenWidth_; }
    void SetBrush(TColor) override {}
    void Rectangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void RectangleOutline(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void Line(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void SetFont(const QString&, int points, TColor) override { Points = points; }
    int FontPoints() const override { return Points; }
    void SetFontPoints(int points) override { Points = points; }
    QSize TextExtent(const QString&) const override { return {}; }
    QRect TextInk(std::int32_t x, std::int32_t y, const QString&) const override { return {x, y, 0, 0}; }
    void TextOut(std::int32_t, std::int32_t, const QString&) override {}

private:
    TPictureSize Size_;
    TColor Pen{};
    std::int32_t PenWidth_ = 1;
    int Points = 8;
};

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
    TNoCanvas canvas(plotter.PictureSize());
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
