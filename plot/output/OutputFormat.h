// The kinds of file the renderer writes, known by their names, and the
// sweep of z that makes a series of plots: what the outputs need before
// anything is drawn.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class TPlotter;
struct TPlotRequest;

enum class TOutputFormat { Bmp, Png, Svg, Pdf, Gif };

// By the name's ending, letter case ignored; BMP for any other name.
TOutputFormat OutputFormatOf(const QString& name);

// N frames with z stepped evenly from From to To, both included.
struct TZSweep {
    double From = 0;
    double To = 0;
    std::int32_t Frames = 2;
    double Z(std::int32_t frame) const;
};

// Calls `frame`(i, request) for i = 0 … N − 1 with the request's z at the z
// of frame i and, when `resetView`, ResetView set as a new z sets it in the
// window. The evaluator is not touched: the code compiled once serves every
// frame.
void SweepZ(const TZSweep& sweep, TPlotter& plotter, bool resetView, const TPlotRequest& request,
            const std::function<void(std::int32_t, const TPlotRequest&)>& frame);

// The name of frame i: the first "%d" of the pattern replaced by i.
QString FrameName(const QString& pattern, std::int32_t frame);

struct TAnimation {
    TZSweep Sweep;
    int FrameMs = 40;
};
