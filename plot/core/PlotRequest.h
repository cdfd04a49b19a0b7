// What one plot draws: everything the window's controls and settings say
// about it, read once and handed to the engine as a plain value.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TRapidEvaluator;

// A curve drawn over the request's own formula: its text, its colours and
// its code, compiled by whoever makes the request, so that a sweep of z
// compiles each curve once.
struct TCurve {
    std::string Formula;
    TColor GoodColor = 0x000000;
    TColor BadColor = 0x0000FF;
    std::shared_ptr<const TRapidEvaluator> Evaluator;
};

// Where the legend stands: in a corner of the plot area, or right of it,
// the plot area narrowed to make room.
enum class TLegendPosition { None, TopRight, TopLeft, BottomLeft, BottomRight, OutsideRight };

struct TPlotRequest {
    // The formula as typed; the title line repeats it after the caption.
    std::string Formula = "sin(x)";
    // The two ends of the x range (the angle range in polar mode) as typed.
    // The plot reads them as numbers: a text that is none ends it.
    std::string XlowText = "-10";
    std::string XhighText = "10";
    // y = f(x) when set, r = f(x) otherwise.
    bool Cartesian = true;
    // The caption left of the formula, "Y =" or "R =", which starts the title.
    std::string TitleCaption = "Y =";
    // The parameter z the formula is evaluated at; the sampling hands it to
    // the compiled code for exactly its own run.
    double Z = 0.0;
    TDrawingSettings Drawing;
    // The curves after the first one, which is Formula in the drawing's
    // colours; the window's requests have none.
    std::vector<TCurve> MoreCurves;
    TLegendPosition Legend = TLegendPosition::None;
    // Replaces the title line; an empty text leaves the line out.
    std::optional<std::string> Title;
    // The axes' own titles, under the x axis and beside the y axis; none
    // leaves the plot area where it always was.
    std::optional<std::string> XTitle, YTitle;
};
