// A plotting engine over plain controls, and the pixel questions the picture
// tests ask of what it draws.
#pragma once

#include "plot/PlotCanvas.h"
#include "plot/PlotEngine.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>

class PlotFixture : public testing::Test {
protected:
    TPlotRequest Request;
    TPlotEngine Engine;
    TRapidEvaluator Evaluator;

    // Compiles `formula` (the title shows Request.Formula) and plots it with
    // ResetView set unless `keepView`; the picture is saved for a look, and
    // checked against the same plot with every line drawn on its own.
    QImage Plot(const std::string& formula, bool keepView = false);
    // A picture of the same view with frame and axes only.
    QImage FrameAndAxesOnly();
    void Save(const QImage& picture, const std::string& name) const;

    // The colour of a pixel as 0x00BBGGRR.
    static TColor At(const QImage& picture, int x, int y);
    static bool Is(const QImage& picture, int x, int y, TColor color) { return At(picture, x, y) == color; }
    // How many pixels of the box [x0, x1] × [y0, y1] have the colour.
    static int Count(const QImage& picture, int x0, int y0, int x1, int y1, TColor color);
    // How many pixels of the box differ from the background.
    int Marked(const QImage& picture, int x0, int y0, int x1, int y1) const;
    // The bounding box of the pixels in which two pictures differ.
    static QRect Difference(const QImage& a, const QImage& b);
};
