// The plotting engine: the world window and the samples of the last plot,
// and the Cartesian and polar plots that turn a compiled formula and a plot
// request into a finished picture. It knows no window: what it draws comes
// in the request, and the world window it leaves is the new view.
#pragma once

#include "plot/TextCache.h"
#include "plot/core/PlotRequest.h"
#include "plot/core/Sampling.h"
#include "plot/core/ViewWindow.h"

#include <QImage>

class TPlotCanvas;
class TRapidEvaluator;

class TPlotEngine {
public:
    TPlotEngine() = default;
    TPlotEngine(const TPlotEngine&) = delete;
    TPlotEngine& operator=(const TPlotEngine&) = delete;

    // XMin, XMax, YMin, YMax and ResetView: set by navigation, fitted and
    // refreshed by the plots.
    TViewWindow& View() { return View_; }
    const TViewWindow& View() const { return View_; }
    const TSamples& Samples() const { return Samples_; }

    // The size of the picture shown, W × H: every plot is drawn at this size
    // and the mappings use it. Raises Exception below MinPictureSide.
    void SetPictureSize(TPictureSize size);
    TPictureSize PictureSize() const { return Size; }
    // Device pixels per picture pixel of the screen the picture is shown on.
    void SetDevicePixelRatio(qreal ratio) { DevicePixelRatio_ = ratio; }
    qreal DevicePixelRatio() const { return DevicePixelRatio_; }
    // The texts the engine's pictures have measured and laid out, kept from
    // plot to plot and freed with the engine.
    TTextCache& TextCache() { return TextCache_; }

    std::int32_t WorldToPixelX(double x) const { return ::WorldToPixelX(View_, Size, x); }
    std::int32_t WorldToPixelY(double y) const { return ::WorldToPixelY(View_, Size, y); }
    void PixelToWorld(std::int32_t X, std::int32_t Y, double& WorldX, double& WorldY) const
    {
        ::PixelToWorld(View_, Size, X, Y, WorldX, WorldY);
    }

    // One complete plot of the compiled formula in the request's mode, or in
    // the mode named. The x range texts are read once. The world window is
    // changed as the plot goes: an error (a range text that is no number, a
    // fault of the window arithmetic) ends the plot with no picture and with
    // the window as far as the plot had set it.
    QImage Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request);
    // The same plot on a canvas of the picture's size (another paint device,
    // say); an error may leave it half drawn.
    void Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request, TPlotCanvas& canvas);
    void PlotCartesian(const TRapidEvaluator& evaluator, const TPlotRequest& request, TPlotCanvas& canvas);
    void PlotPolar(const TRapidEvaluator& evaluator, const TPlotRequest& request, TPlotCanvas& canvas);

    // The steps of a plot, for tests: sampling over Low to High at the
    // sample count of the last plot, and the background, boundary, title,
    // axes and ticks.
    double SampleFormula(const TRapidEvaluator& evaluator, double Low, double High);
    void DrawFrame(TPlotCanvas& canvas, const TPlotRequest& request) const;
    void DrawAxes(TPlotCanvas& canvas, const TPlotRequest& request) const;

private:
    enum class TAxis { Horizontal, Vertical };
    void DrawAxis(TPlotCanvas& canvas, const TPlotRequest& request, TAxis axis, long double step) const;

    TViewWindow View_;
    TSamples Samples_;
    TPictureSize Size{507, 266};
    qreal DevicePixelRatio_ = 1.0;
    TTextCache TextCache_;
};
