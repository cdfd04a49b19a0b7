// Whole plots (sampling, frame, axes, curve, the finished picture) against a
// bare fill of a picture of the same size, with the parts measured apart so
// that the report says where the time goes; a sweep of z into a GIF; and
// SVG pages written by the program's own canvas against Qt's SVG generator.
#include "RatioReport.h"

#include "plot/output/GifWriter.h"
#include "plot/PlotCanvas.h"
#include "plot/PlotEngine.h"
#include "plot/drawing/SvgCanvas.h"
#include "plot/output/PlotOutput.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <QGuiApplication>

#include <memory>
#include <string>

namespace {

struct TCase {
    const char* Formula;
    bool Polar;
    const char* Low;
    const char* High;
};

const TCase Cases[] = {
    {"sin(x)", false, "-10", "10"},
    {"2*cos(10*x)*exp(-x*x/20)", false, "-10", "10"},
    {"x*(1+0.5*sin(10*z*x)^20)", true, "0", "31.4159"},
};

const TPictureSize Sizes[] = {{507, 266}, {1920, 1080}};

// An engine set up for one case, with its formula compiled.
struct TPlotSetup {
    TPlotRequest Request;
    TPlotEngine Engine;
    TRapidEvaluator Evaluator;

    TPlotSetup(const TCase& c, TPictureSize size)
    {
        Request.Cartesian = !c.Polar;
        Request.TitleCaption = c.Polar ? "R =" : "Y =";
        Request.Formula = c.Formula;
        Request.XlowText = c.Low;
        Request.XhighText = c.High;
        Engine.SetPictureSize(size);
        Evaluator.SetFormula(c.Formula);
        Evaluator.Compile();
        Request.Z = 0.3;
    }
};

void Fill(benchmark::State& state, TPictureSize size)
{
    for (auto _ : state) {
        QImage picture(size.Width, size.Height, QImage::Format_RGB32);
        picture.fill(QColor(255, 255, 202));
        benchmark::DoNotOptimize(picture.bits());
    }
}

void Whole(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    for (auto _ : state) {
        setup.Engine.View().ResetView = true;
        QImage picture = setup.Engine.Plot(setup.Evaluator, setup.Request);
        benchmark::DoNotOptimize(picture.bits());
    }
}

void Sampling(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    setup.Engine.View().ResetView = true;
    setup.Engine.Plot(setup.Evaluator, setup.Request);  // sets the sample count of the mode
    double low, high;
    ReadXRange(setup.Request.XlowText, setup.Request.XhighText, low, high);
    for (auto _ : state)
        benchmark::DoNotOptimize(setup.Engine.SampleFormula(setup.Evaluator, low, high, setup.Request.Z));
}

// A fresh picture with background, boundary, title, axes, ticks and labels.
void FrameAndAxes(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    setup.Engine.View().ResetView = true;
    setup.Engine.Plot(setup.Evaluator, setup.Request);  // fits the window
    for (auto _ : state) {
        TPlotCanvas canvas(size, 1.0, &setup.Engine.TextCache());
        setup.Engine.DrawFrame(canvas, setup.Request);
        setup.Engine.DrawAxes(canvas, setup.Request);
        QImage picture = canvas.Finish();
        benchmark::DoNotOptimize(picture.bits());
    }
}

// 100 frames of z from 0 to 1 encoded as an animation, against one plot: a
// ratio near 100 says the encoding costs little beside the plots.
constexpr std::int32_t SweepFrames = 100;

void GifSweep(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    for (auto _ : state) {
        std::size_t bytes = 0;
        TGifWriter gif(QSize(size.Width, size.Height), 40, [&bytes](std::string_view part) { bytes += part.size(); });
        SweepZ({0.0, 1.0, SweepFrames}, setup.Engine, true, setup.Request,
               [&](std::int32_t, const TPlotRequest& frame) { gif.AddFrame(setup.Engine.Plot(setup.Evaluator, frame)); });
        gif.Finish();
        benchmark::DoNotOptimize(bytes);
    }
}

// The SVG page of one plot, by Qt's painter on its SVG generator or by the
// program's own canvas.
void QtSvgPage(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    for (auto _ : state) {
        setup.Engine.View().ResetView = true;
        const QByteArray page = PlotFile(setup.Engine, setup.Evaluator, setup.Request, TOutputFormat::Svg);
        benchmark::DoNotOptimize(page.data());
    }
}

void OwnSvgPage(benchmark::State& state, TCase c, TPictureSize size)
{
    TPlotSetup setup(c, size);
    for (auto _ : state) {
        setup.Engine.View().ResetView = true;
        const QByteArray page = PlotSvgPage(setup.Engine, setup.Evaluator, setup.Request);
        benchmark::DoNotOptimize(page.data());
    }
}

void Register()
{
    const TCase sweep{"z*5*exp(-(x^2))+(1-z)*x", false, "-10", "10"};
    const TPictureSize start{507, 266};
    benchmark::RegisterBenchmark("Sweep 507x266/One plot/100 frames", Whole, sweep, start);
    benchmark::RegisterBenchmark("Sweep 507x266/GIF/100 frames", GifSweep, sweep, start);

    for (const TCase& c : Cases) {
        const std::string name = std::string(c.Formula) + (c.Polar ? " (polar)" : "");
        benchmark::RegisterBenchmark(("SVG page 507x266/Qt's generator/" + name).c_str(), QtSvgPage, c, start);
        benchmark::RegisterBenchmark(("SVG page 507x266/Own canvas/" + name).c_str(), OwnSvgPage, c, start);
    }

    for (const TPictureSize size : Sizes) {
        const std::string group = "Plot " + std::to_string(size.Width) + "x" + std::to_string(size.Height);
        for (const TCase& c : Cases) {
            const std::string name = std::string(c.Formula) + (c.Polar ? " (polar)" : "");
            benchmark::RegisterBenchmark((group + "/Fill/" + name).c_str(), Fill, size);
            benchmark::RegisterBenchmark((group + "/Whole/" + name).c_str(), Whole, c, size);
            benchmark::RegisterBenchmark((group + "/Sampling/" + name).c_str(), Sampling, c, size);
            benchmark::RegisterBenchmark((group + "/FrameAndAxes/" + name).c_str(), FrameAndAxes, c, size);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ResetFpu();
    Register();
    return RunWithRatios(argc, argv, "Fill", {{"Sweep 507x266", "One plot"}, {"SVG page 507x266", "Qt's generator"}});
}
