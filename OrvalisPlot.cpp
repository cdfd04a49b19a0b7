// orvalis-plot: renders one plot of a formula, or a sweep of z, to picture,
// page or animation files with the same plots as the window, for scripts,
// documents and pictures without a display. The command line and the run
// live in plot/cli. An SVG page is drawn and written here without Qt's GUI;
// everything else is drawn by Qt's painter in a module loaded for it.
#include "plot/cli/PainterPart.h"
#include "plot/cli/Renderer.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Ends the process once its output is out. Tearing down Qt's application
// object and running the libraries' exit handlers would cost a tenth of a
// short run to free what the system frees anyway. A standard output that
// could not be written (a full disk, say) fails the run.
[[noreturn]] void EndProcess(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "orvalis-plot: Cannot write the standard output: %s.\n", std::strerror(errno));
        if (status == 0)
            status = ExitFailure;
    }
    std::fflush(stderr);
    std::_Exit(status);
}

}  // namespace

int main(int argc, char** argv)
{
    ResetFpu();
    const auto line = ReadRendererCommandLine({argv + 1, argv + argc});
    if (const auto* outcome = std::get_if<TRendererOutcome>(&line))
        EndProcess(ReportRendererOutcome(*outcome));

    const TRendererRequest& request = std::get<TRendererRequest>(line);
    if (DrawnWithoutPainter(request)) {
        // The locale as Qt's application object would set it.
        std::setlocale(LC_ALL, "");
        PrepareRendererApplication();
        ReadDecimalSeparator();
        EndProcess(ReportRendererOutcome(RenderPage(request)));
    }
    RunWithPainter(argc, argv, EndProcess);
    EndProcess(ExitFailure);
}
