// A plot drawn into a picture.
#include "plot/PlotEngine.h"
#include "plot/PlotCanvas.h"

QImage TPlotEngine::Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request)
{
    TPlotCanvas canvas(PictureSize(), DevicePixelRatio(), &TextCache_, TPlotCanvas::TDrawing::Fast, PageLook());
    Plot(evaluator, request, canvas);
    return canvas.Finish();
}
