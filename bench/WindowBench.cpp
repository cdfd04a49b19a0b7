// The main window driven offscreen as a user drags z: each change of the
// track bar is a whole plot request (compile, sampling, drawing, the copy
// onto Graph and its repaint). Also the start-up to the first shown plot,
// and P on the picture to the curve's sound handed to the sound device.
#include "RatioReport.h"

#include "window/GraphImage.h"
#include "window/GraphMainForm.h"
#include "numeric/FloatingPoint.h"
#include "shell/ErrorBox.h"

#include <QAudioDevice>
#include <QLineEdit>
#include <QMediaDevices>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct TWindowSize {
    const char* Name;
    int Width, Height;  // 0: the start-up size
};

const TWindowSize Sizes[] = {{"start-up size", 0, 0}, {"1920x1080", 1920, 1080}};
const char* const Formulas[] = {"sin(x)", "sqrt(sin(x))*cos(20*x*z)", "z*5*exp(-(x^2))+(1-z)*x"};

std::unique_ptr<TGraphMainForm> OpenWindow(const QTemporaryDir& folder)
{
    auto window = std::make_unique<TGraphMainForm>(folder.filePath("Orvalis.INI").toStdString());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

// One change of z, then Graph painted as the screen would be.
void TrackBarChanges(benchmark::State& state, TWindowSize size, const char* formula)
{
    QTemporaryDir folder;
    auto window = OpenWindow(folder);
    if (!window) {
        state.SkipWithError("the window was not exposed");
        return;
    }
    if (size.Width > 0) {
        window->resize(size.Width, size.Height);
        QCoreApplication::processEvents();
    }
    window->findChild<QLineEdit*>("YFormula")->setText(formula);
    auto* trackBar = window->findChild<QSlider*>("TrackBar1");
    int position = 0;
    for (auto _ : state) {
        position = (position + 5) % 1000;
        trackBar->setValue(position);
        window->Graph().repaint();
    }
    state.counters["changes/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::to_string(window->Graph().width()) + "x" + std::to_string(window->Graph().height()));
}

// From the window's construction (which reads the settings and plots) to
// the second plot, at the real size, shown.
void StartUp(benchmark::State& state)
{
    QTemporaryDir folder;
    for (auto _ : state) {
        auto window = std::make_unique<TGraphMainForm>(folder.filePath("Orvalis.INI").toStdString());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) {
            state.SkipWithError("the window was not exposed");
            return;
        }
        while (window->PlotCount() < 2)
            QCoreApplication::processEvents();
        window->Graph().repaint();
        state.PauseTiming();
        window.reset();  // writes the settings file
        state.ResumeTiming();
    }
}

// P on the focused picture until the sink has started pulling the curve's
// PCM (made from the plot shown: its points found, 3 s of sound); without a
// sound device, until the window has said so. The device's own buffering is
// not in it.
void PlayKey(benchmark::State& state)
{
    QTemporaryDir folder;
    auto window = OpenWindow(folder);
    if (!window) {
        state.SkipWithError("the window was not exposed");
        return;
    }
    window->Graph().setFocus();
    for (auto _ : state) {
        QTest::keyClick(&window->Graph(), Qt::Key_P);
        state.PauseTiming();
        window->Playback().Stop();
        state.ResumeTiming();
    }
    state.SetLabel(QMediaDevices::audioOutputs().isEmpty() ? "no sound device: to the message" : "to the sink's start");
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TOrvalisApplication application(argc, argv);
    ResetFpu();
    for (const TWindowSize& size : Sizes)
        for (const char* formula : Formulas)
            benchmark::RegisterBenchmark((std::string("TrackBar/") + size.Name + "/" + formula).c_str(),
                                         TrackBarChanges, size, formula)
                ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StartUp/window/first shown plot", StartUp)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Play/window/P to the sound's start", PlayKey)->Unit(benchmark::kMillisecond);
    return RunWithRatios(argc, argv, "start-up size");
}
