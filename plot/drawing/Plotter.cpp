// The plotter's own state: picture size, sampling, and the choice of plot by
// mode.
#include "plot/drawing/Plotter.h"
#include "plot/drawing/Canvas.h"
#include "plot/drawing/Legend.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/Exceptions.h"

#include <algorithm>

void TPlotter::SetPictureSize(TPictureSize size)
{
    if (size.Width < MinPictureSide || size.Height < MinPictureSide)
        throw Exception("A plot needs a picture of at least 80 by 80 pixels");
    Size = size;
}

double TPlotter::SampleFormula(const TRapidEvaluator& evaluator, double Low, double High, double Z)
{
    return ::SampleFormula(evaluator, Low, High, Z, Samples_);
}

void TPlotter::Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    if (canvas.Size().Width != Size.Width || canvas.Size().Height != Size.Height)
        throw Exception("A plot needs a canvas of the picture's size");
    if (request.XTitle || request.YTitle)
        PlotWithAxisTitles(evaluator, request, canvas);
    else
        PlotArea(evaluator, request, canvas);
}

void TPlotter::PlotArea(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    if (request.Legend != TLegendPosition::None)
        PlotWithLegend(evaluator, request, canvas);
    else if (request.Cartesian)
        PlotCartesian(evaluator, request, canvas);
    else
        PlotPolar(evaluator, request, canvas);
}

double TPlotter::SampleMoreCurves(const TPlotRequest& request, double Low, double High)
{
    MoreSamples_.resize(request.MoreCurves.size());
    double largest = 0.0;
    for (std::size_t i = 0; i < request.MoreCurves.size(); ++i) {
        MoreSamples_[i].SampleCount = Samples_.SampleCount;
        largest = std::max(largest, ::SampleFormula(*request.MoreCurves[i].Evaluator, Low, High, request.Z,
                                                    MoreSamples_[i]));
    }
    return largest;
}

void TPlotter::PlotWithLegend(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    const std::vector<TLegendRow> rows = LegendRows(request);
    const QSize legend = MeasureLegend(canvas, request, rows);
    const TPictureSize whole = Size;
    // Outside the plot area, the plot is drawn on the picture's left part and
    // the legend on the strip right of it.
    const bool outside = request.Legend == TLegendPosition::OutsideRight;
    if (outside) {
        const std::int32_t plotWidth = CheckedSub(whole.Width, CheckedAdd(legend.width(), LegendInset));
        if (plotWidth < MinPictureSide)
            throw Exception("The picture is too narrow for the legend right of the plot");
        Size.Width = plotWidth;
    }
    const std::int32_t plotWidth = Size.Width;
    try {
        if (request.Cartesian)
            PlotCartesian(evaluator, request, canvas);
        else
            PlotPolar(evaluator, request, canvas);
    } catch (...) {
        Size = whole;
        throw;
    }
    Size = whole;
    if (outside) {
        canvas.SetBrush(request.Drawing.BackgroundColor);
        canvas.SetPen(request.Drawing.BackgroundColor, 1);
        canvas.Rectangle(plotWidth, 0, whole.Width, whole.Height);
    }
    const int points = canvas.FontPoints();
    MeasureLegend(canvas, request, rows);
    DrawLegend(canvas, request, rows, LegendBox(request.Legend, legend, whole, plotWidth));
    canvas.SetFontPoints(points);
}
