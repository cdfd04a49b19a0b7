// What the command-line renderer writes, chosen by the output's name through
// the formats' table: a picture through Qt's image writer, an SVG or PDF
// page, and for a sweep of z an animated GIF or numbered frames. Every output
// goes through the one file writer (files/SafeFile.h): regular files all or
// nothing, a failure leaving the old files as they were; devices and pipes
// in place.
#pragma once

#include "plot/output/OutputFormat.h"

#include <QByteArray>
#include <QString>

#include <optional>

class TPlotEngine;
class TRapidEvaluator;
struct TPlotRequest;

// One plot as the bytes of a file in the format. The pages of SVG and PDF
// span the picture's W × H pixels at 96 per inch, with the texts as text
// (a PDF page rounded up to whole points, the background filling it).
QByteArray PlotFile(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                    TOutputFormat format);

// Writes one plot, or with `animation` its frames: a GIF when the name ends
// in .gif, written frame by frame as the sweep goes, otherwise one file per
// frame named by FrameName, each in the format of its name. Raises the
// plot's error or EFileWriteError, "Cannot write <name>: <reason>", or the
// same words for a name whose ending no format has; on any error no regular
// file is written or replaced.
void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, const std::optional<TAnimation>& animation);

// The same in `format` whatever the name says, for a target whose name says
// nothing (standard output); numbered frames still take their names' formats.
void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, TOutputFormat format, const std::optional<TAnimation>& animation);
