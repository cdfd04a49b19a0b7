// orvalis-plot: renders one plot of a formula, or a sweep of z, to picture,
// page or animation files with the same engine as the window, for scripts,
// documents and pictures without a display. The command line and the run
// live in plot/cli; this only makes the application object between them.
#include "plot/cli/Renderer.h"
#include "plot/ProgramFaces.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    ResetFpu();
    const auto line = ReadRendererCommandLine({argv + 1, argv + argc});
    if (const auto* outcome = std::get_if<TRendererOutcome>(&line))
        return ReportRendererOutcome(*outcome);

    PrepareRendererApplication();
    UseProgramFacesOnly();
    QGuiApplication application(argc, argv);
    ResetFpu();
    ReadDecimalSeparator();
    return ReportRendererOutcome(RenderPlot(std::get<TRendererRequest>(line)));
}
