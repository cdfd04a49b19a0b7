// The plots themselves: the world window and the samples of the last plot,
// and the Cartesian and polar plots that turn a compiled formula and a plot
// request into a drawing on a canvas. It knows no window and no painter:
// what it draws comes in the request, and the world window it leaves is the
// new view.
#pragma once

#include "plot/core/PlotRequest.h"
#include "plot/core/Sampling.h"
#include "plot/core/ViewWindow.h"
#include "plot/drawing/PageGeometry.h"

#include <QtGlobal>

#include <vector>

class TCanvas;
class TRapidEvaluator;

// The row below the title line; the canvas keeps its font size.
std::int32_t TitleLineBottom(TCanvas& canvas);

class TPlotter {
public:
    TPlotter() = default;
    TPlotter(const TPlotter&) = delete;
    TPlotter& operator=(const TPlotter&) = delete;

    // XMin, XMax, YMin, YMax and ResetView: set by navigation, fitted and
    // refreshed by the plots.
    TViewWindow& View() { return View_; }
    const TViewWindow& View() const { return View_; }
    const TSamples& Samples() const { return Samples_; }
    // The samples of the request's further curves, in their order.
    const std::vector<TSamples>& MoreSamples() const { return MoreSamples_; }

    // The size of the picture shown, W × H: every plot is drawn at this size
    // and the mappings use it. Raises Exception below MinPictureSide.
    void SetPictureSize(TPictureSize size);
    TPictureSize PictureSize() const { return Size; }
    // Device pixels per picture pixel of the screen the picture is shown on.
    void SetDevicePixelRatio(qreal ratio) { DevicePixelRatio_ = ratio; }
    qreal DevicePixelRatio() const { return DevicePixelRatio_; }
    // How the outputs make their pictures and pages of the drawing.
    void SetPageLook(const TPageLook& look) { PageLook_ = look; }
    const TPageLook& PageLook() const { return PageLook_; }

    std::int32_t WorldToPixelX(double x) const { return ::WorldToPixelX(View_, Size, x); }
    std::int32_t WorldToPixelY(double y) const { return ::WorldToPixelY(View_, Size, y); }
    void PixelToWorld(std::int32_t X, std::int32_t Y, double& WorldX, double& WorldY) const
    {
        ::PixelToWorld(View_, Size, X, Y, WorldX, WorldY);
    }

    // One complete plot of the compiled formula, and of the request's
    // further curves, in the request's mode on a canvas of the picture's
    // size, with its legend. The x range texts are read once. The
    // world window is changed as the plot goes: an error (a range text that
    // is no number, a fault of the window arithmetic) ends the plot with the
    // canvas half drawn and the window as far as the plot had set it.
    void Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);
    void PlotCartesian(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);
    void PlotPolar(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);

    // The steps of a plot, for tests: sampling over Low to High at z = Z and
    // the sample count of the last plot, and the background, boundary, title,
    // grid, axes and ticks.
    double SampleFormula(const TRapidEvaluator& evaluator, double Low, double High, double Z);
    void DrawFrame(TCanvas& canvas, const TPlotRequest& request) const;
    void DrawAxes(TCanvas& canvas, const TPlotRequest& request) const;

private:
    // "Fit y to the curve": the y extent fitted to this curve, or widened to
    // hold it too.
    void FitYToCurve(const TSamples& samples, double flatSpan);
    // Samples every further curve as the first was sampled; the largest
    // magnitude among them, 0 when there are none.
    double SampleMoreCurves(const TPlotRequest& request, double Low, double High);
    void DrawCartesianCurve(TCanvas& canvas, const TSamples& samples, TColor good, TColor bad,
                            std::int32_t width) const;
    void DrawPolarCurve(TCanvas& canvas, const TSamples& samples, double low, double high) const;
    void PlotWithLegend(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);
    // The plot with its legend, in the request's mode, on a canvas of Size.
    void PlotArea(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);
    // The axes' titles beside a plot drawn on the rest of the picture.
    void PlotWithAxisTitles(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas);

    enum class TAxis { Horizontal, Vertical };
    // An axis is laid out alike for its grid and for itself; the grid of
    // both axes is drawn first, so that the axes, ticks and labels lie on it.
    enum class TAxisPart { Grid, Axis };
    // An axis's ticks step by `step`; `onFrame` draws its scale along the
    // plot area's edge instead of on the axis, which is out of view.
    void DrawAxis(TCanvas& canvas, const TPlotRequest& request, TAxis axis, long double step, bool onFrame,
                  TAxisPart part = TAxisPart::Axis) const;
    // A grid line across the plot area: a column at `at` when `vertical`, else a row.
    void DrawGridLine(TCanvas& canvas, bool vertical, std::int32_t at) const;

    TViewWindow View_;
    TSamples Samples_;
    std::vector<TSamples> MoreSamples_;
    TPictureSize Size{507, 266};
    qreal DevicePixelRatio_ = 1.0;
    TPageLook PageLook_;
};
