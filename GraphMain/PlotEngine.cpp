// The engine's own state: picture size, the x range through the controls,
// sampling over it, and the choice of plot by mode.
#include "GraphMain/PlotEngine.h"
#include "GraphMain/PlotCanvas.h"

#include "numeric/Exceptions.h"

void TPlotEngine::SetPictureSize(TPictureSize size)
{
    if (size.Width < MinPictureSide || size.Height < MinPictureSide)
        throw Exception("A plot needs a picture of at least 80 by 80 pixels");
    Size = size;
}

void TPlotEngine::ReadXRange(double& Low, double& High) const
{
    ::ReadXRange(Controls.XlowText(), Controls.XhighText(), Low, High);
}

void TPlotEngine::WriteXRange(double Low, double High)
{
    Controls.SetXRangeTexts(XRangeText(Low), XRangeText(High));
}

double TPlotEngine::SampleFormula(const TRapidEvaluator& evaluator)
{
    double low, high;
    ReadXRange(low, high);
    return ::SampleFormula(evaluator, low, high, Samples_);
}

QImage TPlotEngine::Plot(const TRapidEvaluator& evaluator)
{
    TPlotCanvas canvas(Size, DevicePixelRatio_);
    Plot(evaluator, canvas);
    return canvas.Finish();
}

void TPlotEngine::Plot(const TRapidEvaluator& evaluator, TPlotCanvas& canvas)
{
    if (canvas.Size().Width != Size.Width || canvas.Size().Height != Size.Height)
        throw Exception("A plot needs a canvas of the picture's size");
    IsCartesian() ? PlotCartesian(evaluator, canvas) : PlotPolar(evaluator, canvas);
}
