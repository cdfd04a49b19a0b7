// What one plot draws: everything the window's controls and settings say
// about it, read once and handed to the engine as a plain value.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <string>

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
};
