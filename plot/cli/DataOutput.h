// orvalis-plot's CSV outputs, written instead of a picture: the table of
// values (--table) and the points of interest (--points).
#pragma once

#include "plot/cli/RendererOptions.h"

class TRapidEvaluator;

// --table's value FROM:TO:STEP as its three texts. Raises TUsageError for
// any other number of colons.
TTableTexts SplitTableText(const std::string& text);
struct TPlotRequest;

// Writes the CSV the request asks for to its OUTPUT ("-" is standard
// output) through the file writer, with z and the x range as the plot would
// read them. The points are found from the samples of the plot the request
// would draw on a drawing `drawingWidth` pixels wide (a sample per column of
// its plot area in Cartesian mode). Raises
// Exception, its message naming the option, for a table that cannot be made;
// then nothing is written.
void WriteDataOutput(const TRendererRequest& request, const TRapidEvaluator& evaluator, const TPlotRequest& plot,
                     std::int32_t drawingWidth);
