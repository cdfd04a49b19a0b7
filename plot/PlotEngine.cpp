// The engine's own state: picture size, sampling, and the choice of plot by
// mode.
#include "plot/PlotEngine.h"
#include "plot/PlotCanvas.h"

#include "numeric/Exceptions.h"

void TPlotEngine::SetPictureSize(TPictureSize size)
{
    if (size.Width < MinPictureSide || size.Height < MinPictureSide)
        throw Exception("A plot needs a picture of at least 80 by 80 pixels");
    Size = size;
}

double TPlotEngine::SampleFormula(const TRapidEvaluator& evaluator, double Low, double High)
{
    return ::SampleFormula(evaluator, Low, High, Samples_);
}

QImage TPlotEngine::Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request)
{
    TPlotCanvas canvas(Size, DevicePixelRatio_, &TextCache_);
    Plot(evaluator, request, canvas);
    return canvas.Finish();
}

void TPlotEngine::Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request, TPlotCanvas& canvas)
{
    if (canvas.Size().Width != Size.Width || canvas.Size().Height != Size.Height)
        throw Exception("A plot needs a canvas of the picture's size");
    if (request.Cartesian)
        PlotCartesian(evaluator, request, canvas);
    else
        PlotPolar(evaluator, request, canvas);
}
