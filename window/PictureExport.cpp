// Exporting the picture shown: the clipboard, and the save dialog's formats.
#include "window/PictureExport.h"

#include "numeric/Exceptions.h"
#include "plot/output/PictureFile.h"
#include "plot/core/FormulaCompile.h"
#include "plot/output/OutputFile.h"
#include "plot/output/OutputFormat.h"
#include "plot/output/PlotOutput.h"
#include "shell/UserDialogs.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

namespace {

// The longest the window's events are handled at a time while a save waits.
constexpr int WaitSliceMs = 10;

}  // namespace

void CopyPictureToClipboard(const TPlotView& view)
{
    if (view.HasPicture())
        QGuiApplication::clipboard()->setImage(view.Picture());
}

void TPictureExport::SaveToFile(QWidget* parent, const TPlotView& view)
{
    if (!view.HasPicture() || Saving)
        return;
    const std::optional<TSaveChoice> choice =
        UserDialogs().ChooseSaveFileName(parent, SaveDialogFilters(), LastName, LastFilter);
    if (!choice)
        return;
    LastName = choice->Name;
    LastFilter = choice->Filter;
    // The name as chosen: no extension is added. A picture is the one shown;
    // any other format draws the shown plot again.
    const TOutputFormatRow& format = OutputFormatRow(SaveDialogFormat(choice->Name, choice->Filter));
    // A pipe with no reader yet is waited for a few seconds, the window
    // answering meanwhile; the picture is taken before the wait.
    Saving = true;
    const auto keepAnswering = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, WaitSliceMs); };
    try {
        if (format.Encoder == TOutputEncoder::ImageWriter)
            WritePictureFile(view.Picture(), choice->Name, format.Name, keepAnswering);
        else
            WriteWholeFile(choice->Name, PlotShownPage(view.Shown(), format.Format), keepAnswering);
    } catch (...) {
        Saving = false;
        throw;
    }
    Saving = false;
}

QByteArray PlotShownPage(const TPlotView::TShownPlot& shown, TOutputFormat format)
{
    TPlotEngine engine;
    engine.SetPictureSize(shown.Size);
    engine.View() = shown.View;
    engine.View().ResetView = false;
    TRapidEvaluator evaluator;
    if (const std::optional<std::string> report = CompileForPlot(evaluator, shown.Request.Formula, " "))
        throw Exception(*report);
    return PlotFile(engine, evaluator, shown.Request, format);
}
