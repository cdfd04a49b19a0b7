// The plotter's own state: picture size, sampling, and the choice of plot by
// mode.
#include "plot/drawing/Plotter.h"
#include "plot/drawing/Canvas.h"

#include "numeric/Exceptions.h"

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
    if (request.Cartesian)
        PlotCartesian(evaluator, request, canvas);
    else
        PlotPolar(evaluator, request, canvas);
}
