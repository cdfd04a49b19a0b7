// Exporting the picture shown: the clipboard, and the save dialog's formats.
#include "window/PictureExport.h"

#include "numeric/Exceptions.h"
#include "plot/PictureFile.h"
#include "plot/core/FormulaCompile.h"
#include "plot/output/OutputFile.h"
#include "plot/output/PlotOutput.h"
#include "shell/UserDialogs.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <iterator>

namespace {

// The formats of "Save to bitmap file...", the dialog's filters in this
// order, BMP first. A name ending in one of the endings is written in its
// format whatever the filter; any other name in the filter's.
struct TSaveFormat {
    const char* Filter;
    const char* Ending;
    TOutputFormat Format;
};
const TSaveFormat SaveFormats[] = {{"Bitmaps (*.bmp)", ".bmp", TOutputFormat::Bmp},
                                   {"PNG pictures (*.png)", ".png", TOutputFormat::Png},
                                   {"SVG drawings (*.svg)", ".svg", TOutputFormat::Svg},
                                   {"PDF documents (*.pdf)", ".pdf", TOutputFormat::Pdf}};

const TSaveFormat& SaveFormatOf(const TSaveChoice& choice)
{
    for (const TSaveFormat& format : SaveFormats)
        if (choice.Name.endsWith(QLatin1String(format.Ending), Qt::CaseInsensitive))
            return format;
    return SaveFormats[std::clamp<qsizetype>(choice.Filter, 0, std::size(SaveFormats) - 1)];
}

}  // namespace

void CopyPictureToClipboard(const TPlotView& view)
{
    if (view.HasPicture())
        QGuiApplication::clipboard()->setImage(view.Picture());
}

void TPictureExport::SaveToFile(QWidget* parent, const TPlotView& view)
{
    if (!view.HasPicture())
        return;
    QStringList filters;
    for (const TSaveFormat& format : SaveFormats)
        filters << QString::fromLatin1(format.Filter);
    const std::optional<TSaveChoice> choice = UserDialogs().ChooseSaveFileName(parent, filters, LastName, LastFilter);
    if (!choice)
        return;
    LastName = choice->Name;
    LastFilter = choice->Filter;
    // The name as chosen: no extension is added.
    switch (const TOutputFormat format = SaveFormatOf(*choice).Format) {
    case TOutputFormat::Bmp:
        WritePictureFile(view.Picture(), choice->Name, "bmp");
        break;
    case TOutputFormat::Png:
        WritePictureFile(view.Picture(), choice->Name, "png");
        break;
    default:
        WriteWholeFile(choice->Name, PlotShownPage(view.Shown(), format));
        break;
    }
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
