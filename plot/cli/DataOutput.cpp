// The CSV outputs of orvalis-plot: read the numbers, compute, and stream the
// text through the one file writer.
#include "plot/cli/DataOutput.h"

#include "plot/core/CurvePoints.h"
#include "plot/core/PlotRequest.h"
#include "plot/core/ValueTable.h"
#include "plot/core/ViewWindow.h"
#include "files/SafeFile.h"

#include <algorithm>
#include <memory>

namespace {

// Where "-" goes: the file writer writes it in place.
const char StandardOutputPath[] = "/dev/stdout";

// The sampling of the plot the request would draw: a sample per pixel
// column of the plot area in Cartesian mode, the most in polar mode.
std::int32_t PlotSampleCount(bool polar, std::int32_t drawingWidth)
{
    if (polar)
        return MaxSampleCount;
    return std::clamp(drawingWidth - 2 * PlotMargin, 1, MaxSampleCount);
}

}  // namespace

TTableTexts SplitTableText(const std::string& text)
{
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos || text.find(':', second + 1) != std::string::npos)
        throw TUsageError("--table takes FROM:TO:STEP, not '" + text + "'");
    return {text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

void WriteDataOutput(const TRendererRequest& request, const TRapidEvaluator& evaluator, const TPlotRequest& plot,
                     std::int32_t drawingWidth)
{
    const bool polar = !plot.Cartesian;
    std::optional<TTableRange> range;
    if (request.Table) {
        try {
            range = ReadTableRange(request.Table->FromText, request.Table->ToText, request.Table->StepText);
        } catch (const ETableInput& error) {
            throw Exception("--table: " + error.Message());
        }
    }
    TFileWriter writer(request.Output == StandardOutputName ? std::string(StandardOutputPath) : request.Output);
    if (range) {
        WriteTableCsv(evaluator, *range, plot.Z, polar, [&](std::string_view text) { writer.Write(text); });
    } else {
        double low, high;
        ReadXRange(plot.XlowText, plot.XhighText, low, high);
        // The samples are too large for the stack of a short run's thread.
        const auto samples = std::make_unique<TSamples>();
        samples->SampleCount = PlotSampleCount(polar, drawingWidth);
        SampleFormula(evaluator, low, high, plot.Z, *samples);
        writer.Write(PointsCsv(FindPointsOfInterest(evaluator, low, high, plot.Z, *samples), polar));
    }
    writer.Commit();
}
