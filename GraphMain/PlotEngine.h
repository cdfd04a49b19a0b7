// The plotting engine: the world window, the samples and the drawing
// settings of the main window, and the Cartesian and polar plots that turn a
// compiled formula into a finished picture. It reads and writes the window's
// controls only through TPlotControls, so it runs without any widget.
#pragma once

#include "GraphMain/DrawingSettings.h"
#include "GraphMain/PlotControls.h"
#include "GraphMain/Sampling.h"
#include "GraphMain/ViewWindow.h"

#include <QImage>

class TPlotCanvas;
class TRapidEvaluator;

class TPlotEngine {
public:
    explicit TPlotEngine(TPlotControls& controls) : Controls(controls) {}
    TPlotEngine(const TPlotEngine&) = delete;
    TPlotEngine& operator=(const TPlotEngine&) = delete;

    // XMin, XMax, YMin, YMax and ResetView.
    TViewWindow& View() { return View_; }
    const TViewWindow& View() const { return View_; }
    TDrawingSettings& Settings() { return Settings_; }
    const TDrawingSettings& Settings() const { return Settings_; }
    const TSamples& Samples() const { return Samples_; }

    // The size of the picture shown, W × H: every plot is drawn at this size
    // and the mappings use it. Raises Exception below MinPictureSide.
    void SetPictureSize(TPictureSize size);
    TPictureSize PictureSize() const { return Size; }
    // Device pixels per picture pixel of the screen the picture is shown on.
    void SetDevicePixelRatio(qreal ratio) { DevicePixelRatio_ = ratio; }
    qreal DevicePixelRatio() const { return DevicePixelRatio_; }

    bool IsCartesian() const { return Controls.IsCartesian(); }
    void ReadXRange(double& Low, double& High) const;
    void WriteXRange(double Low, double High);
    std::int32_t WorldToPixelX(double x) const { return ::WorldToPixelX(View_, Size, x); }
    std::int32_t WorldToPixelY(double y) const { return ::WorldToPixelY(View_, Size, y); }
    void PixelToWorld(std::int32_t X, std::int32_t Y, double& WorldX, double& WorldY) const
    {
        ::PixelToWorld(View_, Size, X, Y, WorldX, WorldY);
    }

    // One complete plot of the compiled formula in the mode of the controls,
    // or in the mode named. An error (a range text that is no number, a fault
    // of the window arithmetic) ends the plot with no picture.
    QImage Plot(const TRapidEvaluator& evaluator);
    // The same plot on a canvas of the picture's size (another paint device,
    // say); an error may leave it half drawn.
    void Plot(const TRapidEvaluator& evaluator, TPlotCanvas& canvas);
    void PlotCartesian(const TRapidEvaluator& evaluator, TPlotCanvas& canvas);
    void PlotPolar(const TRapidEvaluator& evaluator, TPlotCanvas& canvas);

    // The steps of a plot, for tests: sampling over the range of the edits,
    // and the background, boundary, title, axes and ticks.
    double SampleFormula(const TRapidEvaluator& evaluator);
    void DrawFrame(TPlotCanvas& canvas) const;
    void DrawAxes(TPlotCanvas& canvas) const;

private:
    enum class TAxis { Horizontal, Vertical };
    void DrawAxis(TPlotCanvas& canvas, TAxis axis, long double step) const;

    TPlotControls& Controls;
    TViewWindow View_;
    TDrawingSettings Settings_;
    TSamples Samples_;
    TPictureSize Size{507, 266};
    qreal DevicePixelRatio_ = 1.0;
};
