// orvalis-plot's run: a command line read into a request, the request drawn
// and written, and what the program prints and the status it ends with. The
// program's main only calls these, so tests drive the whole run in-process.
#pragma once

#include "plot/cli/RendererOptions.h"

#include <string>
#include <variant>
#include <vector>

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
// reason and the usage on standard error). Needs no application object.
std::variant<TRendererRequest, TRendererOutcome> ReadRendererCommandLine(const std::vector<std::string>& arguments);

// Qt's offscreen platform unless another is named, Qt's own event
// dispatcher, and only Qt's errors on standard error: before the
// application object is made.
void PrepareRendererApplication();

// Draws the request and writes it: status 2 for bad usage found only now
// (a size beyond what the output's format takes) and for a formula that does
// not compile, 1 for any other error (a number or range that the window would
// refuse, a fault that ends the plot, an output that cannot be written).
// Needs a QGuiApplication; on failure nothing is written.
TRendererOutcome RenderPlot(const TRendererRequest& request);

// Prints the outcome's texts and gives its status.
int ReportRendererOutcome(const TRendererOutcome& outcome);
