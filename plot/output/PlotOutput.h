// What the command-line renderer writes, chosen by the output's name: a BMP
// or PNG picture, an SVG or PDF page, and for a sweep of z an animated GIF or
// numbered frames. Every output goes through the one file writer
// (files/SafeFile.h): regular files all or nothing, a failure leaving the
// old files as they were; devices and pipes in place.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class TPlotEngine;
class TRapidEvaluator;
struct TPlotRequest;

enum class TOutputFormat { Bmp, Png, Svg, Pdf, Gif };

// By the name's ending, letter case ignored; BMP for any other name.
TOutputFormat OutputFormatOf(const QString& name);

// One plot as the bytes of a file in the format. The pages of SVG and PDF
// span the picture's W × H pixels at 96 per inch, with the texts as text
// (a PDF page rounded up to whole points, the background filling it).
QByteArray PlotFile(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                    TOutputFormat format);

// N frames with z stepped evenly from From to To, both included.
struct TZSweep {
    double From = 0;
    double To = 0;
    std::int32_t Frames = 2;
    double Z(std::int32_t frame) const;
};

// Calls `frame`(i) for i = 0 … N − 1 with FormulaZ at the z of frame i and,
// when `resetView`, ResetView set as a new z sets it in the window. The
// evaluator is not touched: the code compiled once serves every frame.
void SweepZ(const TZSweep& sweep, TPlotEngine& engine, bool resetView, const std::function<void(std::int32_t)>& frame);

// The name of frame i: the first "%d" of the pattern replaced by i.
QString FrameName(const QString& pattern, std::int32_t frame);

struct TAnimation {
    TZSweep Sweep;
    int FrameMs = 40;
};

// Writes one plot, or with `animation` its frames: a GIF when the name ends
// in .gif, written frame by frame as the sweep goes, otherwise one file per
// frame named by FrameName, each in the format of its name. Raises the
// plot's error or EFileWriteError, "Cannot write <name>: <reason>"; on any
// error no regular file is written or replaced.
void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, const std::optional<TAnimation>& animation);
