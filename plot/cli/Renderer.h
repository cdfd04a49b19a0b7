// orvalis-plot's run: a command line read into a request, the request drawn
// and written, and what the program prints and the status it ends with. The
// program's main only calls these, so tests drive the whole run in-process.
#pragma once

#include "plot/cli/RendererOptions.h"
#include "plot/output/OutputFormat.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class TPlotter;
class TRapidEvaluator;
struct TPlotRequest;

inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// What the program prints on standard output and standard error, and its
// exit status.
struct TRendererOutcome {
    int Status = 0;
    std::string Output;
    std::string Errors;
};

// The request of a command line that asks for a plot, or the outcome of one
// that asks for the usage or the version or is bad usage (status 2, the
// reason and "Try 'orvalis-plot --help'." on standard error). Needs no
// application object.
std::variant<TRendererRequest, TRendererOutcome> ReadRendererCommandLine(const std::vector<std::string>& arguments);

// Qt's offscreen platform unless another is named, Qt's own event
// dispatcher, and only Qt's errors on standard error: before the
// application object is made.
void PrepareRendererApplication();

// Writes one plot, or with `animation` the frames of a sweep, to `target`.
using TPlotWriter = std::function<void(TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& plot,
                                       const QString& target, TOutputFormat format,
                                       const std::optional<TAnimation>& animation)>;

// Draws the request with `plotter` and writes it with `write`: status 2 for
// bad usage found only now (a size beyond what the output's format takes)
// and for a formula that does not compile, 1 for any other error (a number
// or range that the window would refuse, named by its option, a fault that
// ends the plot, an output that cannot be written). On failure nothing is
// written.
TRendererOutcome RenderPlot(const TRendererRequest& request, TPlotter& plotter, const TPlotWriter& write);

// One SVG page needs no painter, nor does CSV (--table, --points): they are
// made and written without Qt's GUI.
bool DrawnWithoutPainter(const TRendererRequest& request);
// RenderPlot for such a request.
TRendererOutcome RenderPage(const TRendererRequest& request);

// Prints the outcome's texts and gives its status.
int ReportRendererOutcome(const TRendererOutcome& outcome);
