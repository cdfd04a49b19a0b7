// The renderer's run with Qt's painter.
#include "plot/cli/PainterRenderer.h"

#include "plot/PlotEngine.h"
#include "plot/output/PlotOutput.h"

TRendererOutcome RenderPlot(const TRendererRequest& request)
{
    TPlotEngine engine;
    return RenderPlot(request, engine,
                      [&engine](TPlotter&, const TRapidEvaluator& evaluator, const TPlotRequest& plot,
                                const QString& target, TOutputFormat format,
                                const std::optional<TAnimation>& animation) {
                          WritePlotOutput(engine, evaluator, plot, target, format, animation);
                      });
}
