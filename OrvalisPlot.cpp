// orvalis-plot: renders one plot of a formula, or a sweep of z, to picture,
// page or animation files with the same engine as the window, for scripts,
// documents and pictures without a display. The command line and the run
// live in plot/cli; this only makes the application object between them.
#include "plot/cli/Renderer.h"
#include "plot/ProgramFaces.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Ends the process once its output is out. Tearing down the application
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

    PrepareRendererApplication();
    UseProgramFacesOnly();
    QGuiApplication application(argc, argv);
    ResetFpu();
    ReadDecimalSeparator();
    EndProcess(ReportRendererOutcome(RenderPlot(std::get<TRendererRequest>(line))));
}
