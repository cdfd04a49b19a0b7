// The legend of a plot: one row per curve, a short line in the curve's
// colour and its title, on a box of the background's colour that stands
// inside the plot area clear of its frame, or right of it.
#pragma once

#include "plot/core/PlotRequest.h"
#include "plot/core/ViewWindow.h"

#include <QRect>
#include <QString>

#include <vector>

class TCanvas;

// Between the legend's box and the frame of the plot area.
inline constexpr std::int32_t LegendInset = 6;

struct TLegendRow {
    QString Title;  // "y = sin(x)", "r = …" in polar mode
    TColor Color;
};

// Every curve of the request, the request's own formula first.
std::vector<TLegendRow> LegendRows(const TPlotRequest& request);

// Sets the legend's font on the canvas (the labels' size, the labels'
// colour) and gives the size of its box for these rows, outline included.
QSize MeasureLegend(TCanvas& canvas, const TPlotRequest& request, const std::vector<TLegendRow>& rows);

// The box of `size` at `position` in a picture of `picture`'s size whose plot
// area keeps the usual margins; outside the plot area, right of a plot
// narrowed to `plotWidth`.
QRect LegendBox(TLegendPosition position, QSize size, TPictureSize picture, std::int32_t plotWidth);

// Draws the box and its rows in the font MeasureLegend set.
void DrawLegend(TCanvas& canvas, const TPlotRequest& request, const std::vector<TLegendRow>& rows, const QRect& box);
