// orvalis-plot's run, from the words of its command line to the file written
// and the texts printed.
#include "plot/cli/Renderer.h"

#include "plot/cli/CurveOptions.h"
#include "plot/cli/DataOutput.h"
#include "plot/cli/SoundOutput.h"
#include "plot/drawing/Plotter.h"
#include "plot/drawing/SvgCanvas.h"
#include "plot/drawing/TexPicture.h"
#include "plot/output/OutputFile.h"
#include "plot/core/FormulaCompile.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <QtGlobal>

#include <cstdio>
#include <memory>

namespace {

// Where the picture for "-" goes: the picture writer writes it in place.
const QString StandardOutputTarget = QStringLiteral("/dev/stdout");
// What follows a usage error, instead of the whole usage.
const char UsageHint[] = "Try 'orvalis-plot --help'.\n";

TRendererOutcome UsageOutcome(const std::string& message)
{
    return {ExitUsage, "", "orvalis-plot: " + message + "\n" + UsageHint};
}

// A number as the window reads its edits: EConvertError or EOverflow.
double ReadNumber(const std::string& text)
{
    return StoreDouble(TextToNumber(text));
}

// Every text the run reads as a number, with the option that gave it.
const struct {
    const char* Option;
    const std::string* (*Text)(const TRendererRequest&);
} NumberOptions[] = {
    {"xlow", [](const TRendererRequest& r) { return &r.XlowText; }},
    {"xhigh", [](const TRendererRequest& r) { return &r.XhighText; }},
    {"z", [](const TRendererRequest& r) { return &r.ZText; }},
    {"ymin", [](const TRendererRequest& r) { return r.YMinText ? &*r.YMinText : nullptr; }},
    {"ymax", [](const TRendererRequest& r) { return r.YMaxText ? &*r.YMaxText : nullptr; }},
    {"xmin", [](const TRendererRequest& r) { return r.XMinText ? &*r.XMinText : nullptr; }},
    {"xmax", [](const TRendererRequest& r) { return r.XMaxText ? &*r.XMaxText : nullptr; }},
    {"z-from", [](const TRendererRequest& r) { return r.Sweep ? &r.Sweep->FromText : nullptr; }},
    {"z-to", [](const TRendererRequest& r) { return r.Sweep ? &r.Sweep->ToText : nullptr; }},
};

// The window's message for a text that is no number says nothing of where
// the text came from: each is read once before the plot, so that its error
// names the option.
void CheckNumberTexts(const TRendererRequest& request)
{
    for (const auto& option : NumberOptions) {
        const std::string* text = option.Text(request);
        if (!text)
            continue;
        try {
            ReadNumber(*text);
        } catch (const Exception& error) {
            throw Exception(std::string("--") + option.Option + ": " + error.Message());
        }
    }
}

// The two ends of a range that the plot divides by.
void CheckNotEmpty(char axis, const char* low, const std::string& lowText, double lowValue, const char* high,
                   const std::string& highText, double highValue)
{
    if (lowValue == highValue)
        throw Exception(std::string("The ") + axis + " range is empty: --" + low + " " + lowText + " and --" + high +
                        " " + highText + " are the same number");
}

// The numbers the window would read from its edits, read the same way, and
// the window they keep.
void ApplyNumbers(const TRendererRequest& request, TPlotRequest& plot, TPlotter& engine)
{
    plot.Z = ReadNumber(request.ZText);
    if (!request.Polar) {
        double low, high;
        ReadXRange(request.XlowText, request.XhighText, low, high);
        CheckNotEmpty('x', "xlow", request.XlowText, low, "xhigh", request.XhighText, high);
    }
    TViewWindow& view = engine.View();
    if (view.ResetView)
        return;
    if (request.XMinText) {
        view.XMin = ReadNumber(*request.XMinText);
        view.XMax = ReadNumber(*request.XMaxText);
        CheckNotEmpty('x', "xmin", *request.XMinText, view.XMin, "xmax", *request.XMaxText, view.XMax);
    }
    view.YMin = ReadNumber(*request.YMinText);
    view.YMax = ReadNumber(*request.YMaxText);
    CheckNotEmpty('y', "ymin", *request.YMinText, view.YMin, "ymax", *request.YMaxText, view.YMax);
    // A y extent given apart from the x extent has a scale of its own.
    view.OwnYStep = true;
}

TPlotRequest PlotRequestOf(const TRendererRequest& request)
{
    TPlotRequest plot;
    plot.Cartesian = !request.Polar;
    plot.TitleCaption = request.Polar ? "R =" : "Y =";
    plot.Formula = request.Formula;
    plot.XlowText = request.XlowText;
    plot.XhighText = request.XhighText;
    plot.Drawing = request.Drawing;
    // Curves without a colour of their own take the palette's next one and
    // the program's colour for undefined stretches.
    for (std::size_t i = 1; i <= request.MoreFormulas.size(); ++i)
        plot.MoreCurves.push_back({request.MoreFormulas[i - 1],
                                   i < request.GoodColours.size() ? request.GoodColours[i] : PaletteColour(i),
                                   i < request.BadColours.size() ? request.BadColours[i]
                                                                 : TDrawingSettings().BadPointColor,
                                   nullptr});
    plot.Legend = request.Legend.value_or(request.MoreFormulas.empty() ? TLegendPosition::None
                                                                         : TLegendPosition::TopRight);
    plot.Title = request.Title;
    plot.XTitle = request.XTitle;
    plot.YTitle = request.YTitle;
    return plot;
}

// With several formulas the report names the one that failed:
// "formula 2 is not valid at character 5: Syntax error".
std::string NumberedReport(std::size_t number, const std::string& report)
{
    const std::string single = "The formula";
    std::string numbered = "orvalis-plot: formula " + std::to_string(number) + report.substr(single.size());
    if (const std::size_t end = numbered.find(".\n"); end != std::string::npos)
        numbered.replace(end, 2, ": ");
    return numbered + "\n";
}

// Compiles every further curve of `plot`, each with its own evaluator; the
// report of the first that fails.
std::optional<std::string> CompileMoreCurves(TPlotRequest& plot)
{
    for (std::size_t i = 0; i < plot.MoreCurves.size(); ++i) {
        auto evaluator = std::make_shared<TRapidEvaluator>();
        if (const std::optional<std::string> report = CompileForPlot(*evaluator, plot.MoreCurves[i].Formula, "\n"))
            return NumberedReport(i + 2, *report);
        plot.MoreCurves[i].Evaluator = std::move(evaluator);
    }
    return std::nullopt;
}

void WriteOutput(const TRendererRequest& request, TOutputFormat format, TPlotter& plotter,
                 const TRapidEvaluator& evaluator, const TPlotRequest& plot, const TPlotWriter& write)
{
    std::optional<TAnimation> animation;
    if (request.Sweep) {
        animation.emplace();
        animation->Sweep.From = ReadNumber(request.Sweep->FromText);
        animation->Sweep.To = ReadNumber(request.Sweep->ToText);
        animation->Sweep.Frames = request.Sweep->Frames;
        animation->FrameMs = request.FrameMs;
    }
    const QString target =
        request.Output == StandardOutputName ? StandardOutputTarget : QString::fromStdString(request.Output);
    write(plotter, evaluator, plot, target, format, animation);
}

// Qt's own notices (a missing runtime folder, say) are no business of a
// script; only its errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "orvalis-plot: %s\n", qPrintable(message));
}

}  // namespace

std::variant<TRendererRequest, TRendererOutcome> ReadRendererCommandLine(const std::vector<std::string>& arguments)
{
    try {
        TCommandLine line = ParseRendererArguments(arguments);
        switch (line.Action) {
        case TCommandLine::TAction::Help:
            return TRendererOutcome{0, RendererUsage(), ""};
        case TCommandLine::TAction::Version:
            return TRendererOutcome{0, RendererVersion() + "\n", ""};
        case TCommandLine::TAction::Plot:
            break;
        }
        return std::move(line.Request);
    } catch (const TUsageError& error) {
        return UsageOutcome(error.what());
    }
}

void PrepareRendererApplication()
{
    qInstallMessageHandler(QuietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The renderer runs no event loop: Qt's own dispatcher starts in a
    // fraction of the time GLib's takes.
    qputenv("QT_NO_GLIB", "1");
}

TRendererOutcome RenderPlot(const TRendererRequest& request, TPlotter& plotter, const TPlotWriter& write)
{
    TOutputFormat format{};
    try {
        if (!WritesData(request)) {
            format = RendererOutputFormat(request);
            CheckRendererOutput(request, format);
        }
    } catch (const TUsageError& error) {
        return UsageOutcome(error.what());
    }

    TPlotRequest plot = PlotRequestOf(request);
    TRapidEvaluator evaluator;
    if (const std::optional<std::string> report = CompileForPlot(evaluator, plot.Formula, "\n"))
        return plot.MoreCurves.empty() ? TRendererOutcome{ExitUsage, "", *report + "\n"}
                                       : TRendererOutcome{ExitFailure, "", NumberedReport(1, *report)};
    if (const std::optional<std::string> report = CompileMoreCurves(plot))
        return {ExitFailure, "", *report};

    plotter.View().ResetView = !request.YMinText;
    try {
        const TRendererPage page = RendererPage(request, format);
        plotter.SetPictureSize(page.Drawing);
        plotter.SetPageLook(page.Look);
        CheckNumberTexts(request);
        ApplyNumbers(request, plot, plotter);
        if (WritesData(request))
            WriteDataOutput(request, evaluator, plot, page.Drawing.Width);
        else if (IsSoundFormat(format))
            WriteSoundOutput(request, plotter, evaluator, plot);
        else
            WriteOutput(request, format, plotter, evaluator, plot, write);
    } catch (const std::exception& error) {
        ResetFpu();
        return {ExitFailure, "", "orvalis-plot: " + ErrorSentence(error.what()) + "\n"};
    }
    return {};
}

int ReportRendererOutcome(const TRendererOutcome& outcome)
{
    std::fputs(outcome.Output.c_str(), stdout);
    std::fputs(outcome.Errors.c_str(), stderr);
    return outcome.Status;
}

bool DrawnWithoutPainter(const TRendererRequest& request)
{
    if (WritesData(request))
        return true;
    try {
        return !OutputFormatRow(RendererOutputFormat(request)).NeedsPainter && !request.Sweep;
    } catch (const TUsageError&) {
        return false;  // the painter's run reports it
    }
}

TRendererOutcome RenderPage(const TRendererRequest& request)
{
    TPlotter plotter;
    return RenderPlot(request, plotter,
                      [](TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& plot,
                         const QString& target, TOutputFormat format, const std::optional<TAnimation>&) {
                          WriteWholeFile(target, OutputFormatRow(format).Encoder == TOutputEncoder::TexPicture
                                                     ? PlotTexPicture(plotter, evaluator, plot)
                                                     : PlotSvgPage(plotter, evaluator, plot));
                      });
}
