// orvalis-plot's painter module: its one entry, called by the program for a
// request that needs Qt's painter.
#include "plot/cli/PainterRenderer.h"

#include "plot/ProgramFaces.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <QGuiApplication>

// The run of a command line that needs the painter: the application object
// made, the plot drawn and written, and `end` called with the exit status
// while the application object still lives; `end` does not return.
extern "C" Q_DECL_EXPORT void OrvalisPlotWithPainter(int argc, char** argv, void (*end)(int status))
{
    // The words were read once already; reading them again here costs far
    // less than handing a request across.
    const auto line = ReadRendererCommandLine({argv + 1, argv + argc});
    if (const auto* outcome = std::get_if<TRendererOutcome>(&line)) {
        end(ReportRendererOutcome(*outcome));
        return;
    }
    PrepareRendererApplication();
    UseProgramFacesOnly();
    QGuiApplication application(argc, argv);
    ResetFpu();
    ReadDecimalSeparator();
    end(ReportRendererOutcome(RenderPlot(std::get<TRendererRequest>(line))));
}
