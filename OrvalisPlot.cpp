// orvalis-plot: renders one plot of a formula, or a sweep of z, to picture,
// page or animation files with the same engine as the window, for scripts,
// documents and pictures without a display.
#include "plot/PlotEngine.h"
#include "plot/output/PlotOutput.h"
#include "plot/ProgramFaces.h"
#include "plot/core/FormulaCompile.h"
#include "settings/IniInteger.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <QGuiApplication>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

const char Usage[] =
    "usage: orvalis-plot [options] FORMULA OUTPUT\n"
    "Plots FORMULA once and writes the picture to OUTPUT by its name's ending:\n"
    ".png PNG, .svg SVG, .pdf PDF (96 pixels per inch), .gif GIF, anything else BMP.\n"
    "Numbers are read as the window reads its edits.\n"
    "  --xlow TEXT, --xhigh TEXT  x range (angle range in polar mode); -10 and 10\n"
    "  --z NUMBER                 the parameter z; 0.3\n"
    "  --polar                    r = f(x) instead of y = f(x)\n"
    "  --size WxH                 picture size, at least 80x80; 507x266\n"
    "  --ymin NUMBER --ymax NUMBER  keep this y extent instead of fitting it\n"
    "  --xmin NUMBER --xmax NUMBER  with --polar: the whole window, with the two above\n"
    "  --background, --axis, --good, --bad COLOUR  colours 0x00BBGGRR (decimal, 0x.., $..)\n"
    "  --line-width N             curve width in pixels; 1\n"
    "  --no-boundary, --no-ticks  leave out the plot area's outline, the ticks\n"
    "  --z-from A --z-to B --frames N\n"
    "                             N pictures (N >= 2), z stepped evenly from A to B:\n"
    "                             a GIF when OUTPUT ends in .gif, else one file per\n"
    "                             frame, OUTPUT's %d the frame's number from 0\n"
    "  --frame-ms N               how long a GIF shows each frame; 40\n"
    "  --help, --version          this text, the version; nothing is plotted\n"
    "  --                         ends the options: a formula may then begin with -\n";

const char Version[] = "orvalis-plot " ORVALIS_VERSION "\n";
constexpr int MaxFrames = 100000;
constexpr int MaxFrameMs = 655350;

class TUsageError {
public:
    explicit TUsageError(std::string message) : Message(std::move(message)) {}
    std::string Message;
};

struct TOptions {
    std::map<std::string, std::string> Values;
    bool Polar = false, NoBoundary = false, NoTicks = false, Help = false, ShowVersion = false;
    std::vector<std::string> Arguments;

    std::optional<std::string> Value(const std::string& name) const
    {
        const auto found = Values.find(name);
        return found == Values.end() ? std::nullopt : std::optional(found->second);
    }
};

const char* const ValueOptions[] = {"xlow", "xhigh", "z", "size", "ymin", "ymax", "xmin", "xmax",
                                    "background", "axis", "good", "bad", "line-width",
                                    "z-from", "z-to", "frames", "frame-ms"};

bool TakesValue(const std::string& name)
{
    for (const char* option : ValueOptions)
        if (name == option)
            return true;
    return false;
}

TOptions ParseOptions(int argc, char** argv)
{
    TOptions options;
    bool onlyArguments = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!onlyArguments && word == "--") {
            onlyArguments = true;
            continue;
        }
        if (onlyArguments || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            options.Arguments.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "help" || name == "version") {
            if (value)
                throw TUsageError("--" + name + " takes no value");
            (name == "help" ? options.Help : options.ShowVersion) = true;
            continue;
        }
        if (name == "polar" || name == "no-boundary" || name == "no-ticks") {
            if (value)
                throw TUsageError("--" + name + " takes no value");
            (name == "polar" ? options.Polar : name == "no-boundary" ? options.NoBoundary : options.NoTicks) = true;
            continue;
        }
        if (!TakesValue(name))
            throw TUsageError("unknown option --" + name);
        if (!value) {
            if (i + 1 >= argc)
                throw TUsageError("--" + name + " needs a value");
            value = argv[++i];
        }
        options.Values[name] = *value;
    }
    if (!options.Help && !options.ShowVersion && options.Arguments.size() != 2)
        throw TUsageError("expected a formula and an output file");
    return options;
}

TPictureSize ParseSize(const std::string& text)
{
    int width = 0, height = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%5dx%5d%n", &width, &height, &consumed) != 2 ||
        consumed != static_cast<int>(text.size()) || width < MinPictureSide || height < MinPictureSide)
        throw TUsageError("--size takes WxH with both at least 80, not '" + text + "'");
    return {width, height};
}

std::int32_t ParseInteger(const std::string& name, const std::string& text)
{
    const std::optional<std::int32_t> value = ParseIniInteger(text);
    if (!value)
        throw TUsageError("--" + name + " takes an integer, not '" + text + "'");
    return *value;
}

// A number as the window reads its edits: EConvertError or EOverflow.
double ReadNumber(const std::string& text)
{
    return StoreDouble(TextToNumber(text));
}

void Configure(const TOptions& options, TPlotRequest& request, TPlotEngine& engine)
{
    request.Cartesian = !options.Polar;
    request.TitleCaption = options.Polar ? "R =" : "Y =";
    request.Formula = options.Arguments[0];
    request.XlowText = options.Value("xlow").value_or("-10");
    request.XhighText = options.Value("xhigh").value_or("10");
    if (const auto size = options.Value("size"))
        engine.SetPictureSize(ParseSize(*size));

    TDrawingSettings& settings = request.Drawing;
    const std::pair<const char*, TColor*> colors[] = {{"background", &settings.BackgroundColor},
                                                       {"axis", &settings.AxisColor},
                                                       {"good", &settings.GoodPointColor},
                                                       {"bad", &settings.BadPointColor}};
    for (const auto& [name, color] : colors)
        if (const auto text = options.Value(name))
            *color = static_cast<TColor>(ParseInteger(name, *text));
    if (const auto text = options.Value("line-width"))
        settings.LineWidth = ParseInteger("line-width", *text);
    settings.Boundary = !options.NoBoundary;
    settings.Ticks = !options.NoTicks;

    const bool hasY = options.Value("ymin") || options.Value("ymax");
    const bool hasX = options.Value("xmin") || options.Value("xmax");
    if (hasX && !options.Polar)
        throw TUsageError("--xmin and --xmax go with --polar; the x range is --xlow and --xhigh");
    if (hasY != (options.Value("ymin") && options.Value("ymax")))
        throw TUsageError("--ymin and --ymax go together");
    if (options.Polar && (hasX || hasY) && !(options.Value("xmin") && options.Value("xmax") && hasY))
        throw TUsageError("in polar mode a window takes all of --xmin, --xmax, --ymin and --ymax");
    engine.View().ResetView = !hasY;
}

// A sweep of z takes all three of its options and an output that can hold frames.
void CheckAnimationOptions(const TOptions& options)
{
    const bool sweep = options.Value("z-from") || options.Value("z-to") || options.Value("frames");
    if (sweep && !(options.Value("z-from") && options.Value("z-to") && options.Value("frames")))
        throw TUsageError("--z-from, --z-to and --frames go together");
    if (sweep && options.Value("z"))
        throw TUsageError("--z and a sweep of z exclude each other");
    if (const auto text = options.Value("frames"); text && (ParseInteger("frames", *text) < 2 ||
                                                            ParseInteger("frames", *text) > MaxFrames))
        throw TUsageError("--frames takes a number of frames from 2 to " + std::to_string(MaxFrames));
    if (const auto text = options.Value("frame-ms");
        text && (ParseInteger("frame-ms", *text) < 0 || ParseInteger("frame-ms", *text) > MaxFrameMs))
        throw TUsageError("--frame-ms takes milliseconds from 0 to " + std::to_string(MaxFrameMs));
    const QString output = QString::fromStdString(options.Arguments[1]);
    if (sweep && OutputFormatOf(output) != TOutputFormat::Gif && !output.contains(QStringLiteral("%d")))
        throw TUsageError("a sweep of z writes a .gif or files named with %d");
}

// The sweep of the options, its ends read as the window reads numbers.
std::optional<TAnimation> ReadAnimation(const TOptions& options)
{
    if (!options.Value("frames"))
        return std::nullopt;
    TAnimation animation;
    animation.Sweep.From = ReadNumber(*options.Value("z-from"));
    animation.Sweep.To = ReadNumber(*options.Value("z-to"));
    animation.Sweep.Frames = ParseInteger("frames", *options.Value("frames"));
    if (const auto text = options.Value("frame-ms"))
        animation.FrameMs = ParseInteger("frame-ms", *text);
    return animation;
}

// Numbers that are read as the window reads them: their errors are plot
// errors, not usage errors.
void ApplyNumbers(const TOptions& options, TPlotEngine& engine)
{
    FormulaZ = ReadNumber(options.Value("z").value_or("0.3"));
    TViewWindow& view = engine.View();
    if (view.ResetView)
        return;
    if (const auto text = options.Value("xmin"))
        view.XMin = ReadNumber(*text);
    if (const auto text = options.Value("xmax"))
        view.XMax = ReadNumber(*text);
    view.YMin = ReadNumber(*options.Value("ymin"));
    view.YMax = ReadNumber(*options.Value("ymax"));
}

// Qt's own notices (a missing runtime folder, say) are no business of a
// script; only its errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "orvalis-plot: %s\n", qPrintable(message));
}


}  // namespace

int main(int argc, char** argv)
{
    ResetFpu();
    TOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const TUsageError& error) {
        std::fprintf(stderr, "orvalis-plot: %s\n%s", error.Message.c_str(), Usage);
        return ExitUsage;
    }
    if (options.Help || options.ShowVersion) {
        std::fputs(options.Help ? Usage : Version, stdout);
        return 0;
    }

    qInstallMessageHandler(QuietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    UseProgramFacesOnly();
    QGuiApplication application(argc, argv);
    ResetFpu();
    ReadDecimalSeparator();

    TPlotRequest request;
    TPlotEngine engine;
    try {
        Configure(options, request, engine);
        CheckAnimationOptions(options);
    } catch (const TUsageError& error) {
        std::fprintf(stderr, "orvalis-plot: %s\n%s", error.Message.c_str(), Usage);
        return ExitUsage;
    } catch (const Exception& error) {
        std::fprintf(stderr, "orvalis-plot: %s\n", ErrorSentence(error.Message()).c_str());
        return ExitUsage;
    }

    TRapidEvaluator evaluator;
    if (const std::optional<std::string> report = CompileForPlot(evaluator, request.Formula, "\n")) {
        std::fprintf(stderr, "%s\n", report->c_str());
        return ExitUsage;
    }

    try {
        ApplyNumbers(options, engine);
        WritePlotOutput(engine, evaluator, request, QString::fromStdString(options.Arguments[1]),
                        ReadAnimation(options));
    } catch (const std::exception& error) {
        ResetFpu();
        std::fprintf(stderr, "orvalis-plot: %s\n", ErrorSentence(error.what()).c_str());
        return ExitFailure;
    }
    return 0;
}
