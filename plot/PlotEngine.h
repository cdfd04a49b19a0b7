// The plotting engine of the window and the renderer: the plots, drawn into
// finished pictures, with the texts those pictures have measured and laid
// out kept from plot to plot.
#pragma once

#include "plot/TextCache.h"
#include "plot/drawing/Plotter.h"

#include <QImage>

class TPlotEngine : public TPlotter {
public:
    // The texts the engine's pictures have measured and laid out, freed with
    // the engine.
    TTextCache& TextCache() { return TextCache_; }

    // One complete plot as a picture at the device pixel ratio. An error ends
    // the plot with no picture.
    QImage Plot(const TRapidEvaluator& evaluator, const TPlotRequest& request);
    using TPlotter::Plot;

private:
    TTextCache TextCache_;
};
