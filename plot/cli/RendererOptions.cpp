// The option table of orvalis-plot and the reading of a command line through
// QCommandLineParser: each option is declared once, with its value's name,
// its help, how its value enters the request and the default it shows.
#include "plot/cli/RendererOptions.h"

#include "plot/cli/ColourOption.h"
#include "plot/cli/DataOutput.h"
#include "plot/cli/CommandLineWords.h"
#include "plot/cli/CurveOptions.h"
#include "plot/cli/SoundOutput.h"
#include "plot/cli/CommandLineText.h"

#include "numeric/IniInteger.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

namespace {

const char ProgramName[] = "orvalis-plot";

// One visitor made of a lambda for each kind of field.
template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;
// The usage's descriptions start in this column; its lines end by this one.
constexpr std::size_t HelpColumn = 28;
constexpr std::size_t UsageWidth = 79;

std::int32_t ReadInteger(std::string_view option, const std::string& text, std::int32_t low, std::int32_t high)
{
    const std::optional<std::int32_t> value = ParseIniInteger(text);
    if (!value || *value < low || *value > high)
        throw TUsageError("--" + std::string(option) + " takes an integer from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not " + Quoted(text));
    return *value;
}

// The article before a format's name read letter by letter: "an" when the
// first letter's name begins with a vowel sound ("an SVG", "a PNG").
std::string KindArticle(std::string_view name)
{
    const bool an = !name.empty() && std::string_view("AEFHILMNORSX").find(name[0]) != std::string_view::npos;
    return an ? "an" : "a";
}

// "png, bmp, svg, pdf or gif": the words --format takes.
std::string FormatNameList()
{
    std::vector<std::string> names;
    for (const TOutputFormatRow& row : OutputFormats())
        names.push_back(row.Name);
    return Listed(names, "or");
}

// "a BMP, PNG or GIF picture": the formats of one kind.
std::string KindText(bool raster)
{
    std::vector<std::string> names;
    for (const TOutputFormatRow& row : OutputFormats())
        if (row.Raster == raster && row.Encoder != TOutputEncoder::Sound)
            names.push_back(UpperName(row));
    return KindArticle(names.front()) + " " + Listed(names, "or") + (raster ? " picture" : " page");
}

// The format whose file holds every frame of a sweep.
const TOutputFormatRow& AnimationFormat()
{
    for (const TOutputFormatRow& row : OutputFormats())
        if (row.Encoder == TOutputEncoder::GifAnimation)
            return row;
    throw std::logic_error("no format holds an animation");
}

// In any letter case, as the endings of file names are read.
TOutputFormat ReadFormat(const std::string& text)
{
    for (const TOutputFormatRow& row : OutputFormats())
        if (QString::fromStdString(text).compare(QLatin1StringView(row.Name), Qt::CaseInsensitive) == 0)
            return row.Format;
    throw TUsageError("--format takes " + FormatNameList() + ", not " + Quoted(text));
}

const std::string& FormatHelp()
{
    static const std::string help =
        Wrapped("with - as OUTPUT (standard output): " + FormatNameList(), UsageWidth - HelpColumn);
    return help;
}

// One option: its name, the name of its value (none for a switch), its help
// (lines after the first start in the help column), how its value enters the
// request, and the default the help shows. A drawing setting's option is made
// from its row, which says all of these.
struct TOptionRow {
    const char* Name;
    const char* ValueName;
    const char* Help;
    void (*Apply)(TRendererRequest&, const std::string& value);
    std::string (*Default)(const TRendererRequest&);
    const TDrawingSetting* Setting = nullptr;
};

TOptionRow SettingOption(const TDrawingSetting& setting)
{
    const char* valueName = std::visit(
        TOverloaded{[](TColor TDrawingSettings::*) { return "COLOUR"; },
                    [](std::int32_t TDrawingSettings::*) { return "N"; },
                    [](bool TDrawingSettings::*) { return ""; }},
        setting.Field);
    return {setting.Option, valueName, setting.Help, nullptr, nullptr, &setting};
}

void ApplySetting(const TDrawingSetting& setting, TDrawingSettings& drawing, const std::string& value)
{
    std::visit(TOverloaded{[&](TColor TDrawingSettings::*field) { drawing.*field = ParseColour(setting.Option, value); },
                           [&](std::int32_t TDrawingSettings::*field) {
                               drawing.*field = ReadInteger(setting.Option, value, setting.Min, setting.Max);
                           },
                           [&](bool TDrawingSettings::*field) { drawing.*field = !(TDrawingSettings().*field); }},
               setting.Field);
}

// The default the usage shows; a switch shows none.
std::optional<std::string> SettingDefault(const TDrawingSetting& setting, const TDrawingSettings& drawing)
{
    return std::visit(TOverloaded{[&](TColor TDrawingSettings::*field) -> std::optional<std::string> {
                                      return ColourText(drawing.*field);
                                  },
                                  [&](std::int32_t TDrawingSettings::*field) -> std::optional<std::string> {
                                      return std::to_string(drawing.*field);
                                  },
                                  [](bool TDrawingSettings::*) -> std::optional<std::string> { return std::nullopt; }},
                      setting.Field);
}

TSweepTexts& SweepOf(TRendererRequest& request)
{
    if (!request.Sweep)
        request.Sweep.emplace();
    return *request.Sweep;
}

// The options before the drawing settings' own.
const TOptionRow PlotOptions[] = {
    {"xlow", "TEXT", "the low end of the x range (of the angle with\n--polar)",
     [](TRendererRequest& r, const std::string& v) { r.XlowText = v; },
     [](const TRendererRequest& r) { return r.XlowText; }},
    {"xhigh", "TEXT", "the high end of the x range",
     [](TRendererRequest& r, const std::string& v) { r.XhighText = v; },
     [](const TRendererRequest& r) { return r.XhighText; }},
    {"z", "NUMBER", "the parameter z",
     [](TRendererRequest& r, const std::string& v) { r.ZText = v; },
     [](const TRendererRequest& r) { return r.ZText; }},
    {"polar", "", "r = f(x) instead of y = f(x)",
     [](TRendererRequest& r, const std::string&) { r.Polar = true; }, nullptr},
    {"size", "WxH", "picture size in pixels, each side from 80 to at\nmost 10000, or 19200 for .svg and .pdf; or\n"
                    "with units, mm, cm, in or pt (90mmx60mm)",
     [](TRendererRequest& r, const std::string& v) { ApplySizeOption(r, v); },
     [](const TRendererRequest& r) { return std::to_string(r.Size.Width) + "x" + std::to_string(r.Size.Height); }},
    {"dpi", "N", "pixels per inch of a picture, from 72 to 2400:\nits texts and lines keep their size on paper",
     [](TRendererRequest& r, const std::string& v) { r.DotsPerInch = ReadDotsPerInch(v); },
     [](const TRendererRequest&) { return std::to_string(DefaultDotsPerInch); }},
    {"font-size", "PT", "the labels' size in points (the title's in\nproportion), from 4 to 72",
     [](TRendererRequest& r, const std::string& v) { r.FontPoints = ReadFontPoints(v); },
     [](const TRendererRequest&) { return std::string("8.25"); }},
    {"antialias", "", "smooth curves and edges in a picture",
     [](TRendererRequest& r, const std::string&) { r.Antialias = true; }, nullptr},
    {"ymin", "NUMBER", "with --ymax: keep this y extent, not a fitted one",
     [](TRendererRequest& r, const std::string& v) { r.YMinText = v; }, nullptr},
    {"ymax", "NUMBER", "the top of the kept y extent",
     [](TRendererRequest& r, const std::string& v) { r.YMaxText = v; }, nullptr},
    {"xmin", "NUMBER", "with --polar, --xmax, --ymin and --ymax: the whole\nwindow",
     [](TRendererRequest& r, const std::string& v) { r.XMinText = v; }, nullptr},
    {"xmax", "NUMBER", "the right end of the kept polar window",
     [](TRendererRequest& r, const std::string& v) { r.XMaxText = v; }, nullptr},
    {"legend", "POSITION", "where the curves' titles stand: top-right,\ntop-left, bottom-left, bottom-right,\n"
                           "outside-right (the plot area narrows) or none",
     [](TRendererRequest& r, const std::string& v) { r.Legend = ReadLegendPosition(v); },
     [](const TRendererRequest&) { return std::string("top-right with several formulas, else none"); }},
    {"title", "TEXT", "the title line instead of the formulas; empty:\nno title line",
     [](TRendererRequest& r, const std::string& v) { r.Title = v; }, nullptr},
    {"x-title", "TEXT", "the x axis's title, under its labels",
     [](TRendererRequest& r, const std::string& v) { r.XTitle = v; }, nullptr},
    {"y-title", "TEXT", "the y axis's title, beside its labels, upwards",
     [](TRendererRequest& r, const std::string& v) { r.YTitle = v; }, nullptr},
};

// The options after the drawing settings' own.
const TOptionRow OutputOptions[] = {
    {"z-from", "A", "with --z-to and --frames: a sweep of z from A to\n"
                    "B in N pictures, N from 2 to 100000: a GIF when\n"
                    "OUTPUT ends in .gif, else one file per frame,\n"
                    "OUTPUT's %d the frame's number from 0",
     [](TRendererRequest& r, const std::string& v) { SweepOf(r).FromText = v; }, nullptr},
    {"z-to", "B", "the last z of the sweep",
     [](TRendererRequest& r, const std::string& v) { SweepOf(r).ToText = v; }, nullptr},
    {"frames", "N", "the number of pictures of the sweep",
     [](TRendererRequest& r, const std::string& v) { SweepOf(r).Frames = ReadInteger("frames", v, 2, MaxFrames); },
     nullptr},
    {"frame-ms", "N", "how long a GIF shows each frame",
     [](TRendererRequest& r, const std::string& v) { r.FrameMs = ReadInteger("frame-ms", v, 0, MaxFrameMs); },
     [](const TRendererRequest& r) { return std::to_string(r.FrameMs); }},
    {"table", "FROM:TO:STEP", "write the table of values as CSV to OUTPUT\ninstead of a picture: x,y (angle,r,x,y with\n--polar) from FROM to TO by STEP",
     [](TRendererRequest& r, const std::string& v) { r.Table = SplitTableText(v); }, nullptr},
    {"points", "", "write the points of interest over the x range as\nCSV to OUTPUT instead of a picture: kind,x,y\n(kind,angle,r,x,y with --polar)",
     [](TRendererRequest& r, const std::string&) { r.Points = true; }, nullptr},
    {"seconds", "S", "how long a sound (OUTPUT ending in .wav) plays,\nfrom 1 to 30",
     [](TRendererRequest& r, const std::string& v) { r.SoundSeconds = ReadSoundSeconds(v); },
     [](const TRendererRequest&) { return std::to_string(DefaultSoundSeconds); }},
    {"standalone", "", "with a .tex OUTPUT: a document that compiles\nalone, not a picture a document inputs",
     [](TRendererRequest& r, const std::string&) { r.Standalone = true; }, nullptr},
    {"format", "NAME", FormatHelp().c_str(),
     [](TRendererRequest& r, const std::string& v) { r.Format = ReadFormat(v); }, nullptr},
    {"help", "", "this text; nothing is plotted", nullptr, nullptr},
    {"version", "", "the version; nothing is plotted", nullptr, nullptr},
};

// Every option, in the order the usage lists them.
const std::vector<TOptionRow>& OptionTable()
{
    static const std::vector<TOptionRow> table = [] {
        std::vector<TOptionRow> all(std::begin(PlotOptions), std::end(PlotOptions));
        for (const TDrawingSetting& setting : DrawingSettingsTable)
            all.push_back(SettingOption(setting));
        all.insert(all.end(), std::begin(OutputOptions), std::end(OutputOptions));
        return all;
    }();
    return table;
}

void ApplyOption(const TOptionRow& row, TRendererRequest& request, const std::string& value)
{
    // The background's colour "none" leaves it transparent.
    if (row.Setting && row.Setting->Field == TDrawingField(&TDrawingSettings::BackgroundColor) &&
        value == "none")
        request.Transparent = true;
    else if (row.Setting)
        ApplySetting(*row.Setting, request.Drawing, value);
    else if (row.Apply)
        row.Apply(request, value);
}

std::optional<std::string> DefaultText(const TOptionRow& row, const TRendererRequest& defaults)
{
    if (row.Setting)
        return SettingDefault(*row.Setting, defaults.Drawing);
    if (row.Default)
        return row.Default(defaults);
    return std::nullopt;
}

const TOptionRow* FindOption(QStringView name)
{
    for (const TOptionRow& row : OptionTable())
        if (name == QLatin1StringView(row.Name))
            return &row;
    return nullptr;
}

// QCommandLineParser takes any word that begins with a dash for an option;
// here only words that begin with two are, so a formula "-x" or the output
// "-" needs no "--". The other words move behind a "--", in their order,
// which changes nothing else: options and arguments may come in any order.
QStringList OptionsFirst(const QStringList& words)
{
    QStringList options, arguments;
    bool onlyArguments = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (onlyArguments) {
            arguments << word;
        } else if (word == QLatin1StringView("--")) {
            onlyArguments = true;
        } else if (word.startsWith(QLatin1StringView("--"))) {
            options << word;
            const TOptionRow* row = FindOption(QStringView(word).mid(2));
            if (!word.contains(u'=') && row && *row->ValueName) {
                if (i + 1 == words.size())
                    throw TUsageError("Missing value after '" + word.toStdString() + "'.");
                options << words[++i];
            }
        } else {
            arguments << word;
        }
    }
    return QStringList{QString::fromLatin1(ProgramName)} + options + QStringList{QStringLiteral("--")} + arguments;
}

// A flag's value is empty: Qt warns when a flag is asked for one.
std::optional<std::string> Value(const QCommandLineParser& parser, const TOptionRow& row)
{
    if (!parser.isSet(QString::fromLatin1(row.Name)))
        return std::nullopt;
    if (!*row.ValueName)
        return std::string();
    return parser.value(QString::fromLatin1(row.Name)).toStdString();
}

// The options that only make sense together, or not together.
void CheckCombinations(const QCommandLineParser& parser, const TRendererRequest& request)
{
    const auto given = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    const bool hasY = given("ymin") || given("ymax");
    const bool hasX = given("xmin") || given("xmax");
    if (hasX && !request.Polar)
        throw TUsageError("--xmin and --xmax go with --polar; the x range is --xlow and --xhigh");
    if (hasY && !(given("ymin") && given("ymax")))
        throw TUsageError("--ymin and --ymax go together");
    if (hasY && request.Drawing.FitY)
        throw TUsageError("--fit-y and a kept y extent (--ymin and --ymax) exclude each other");
    if (request.Polar && (hasX || hasY) && !(given("xmin") && given("xmax") && hasY))
        throw TUsageError("in polar mode a window takes all of --xmin, --xmax, --ymin and --ymax");
    const bool sweep = given("z-from") || given("z-to") || given("frames");
    if (sweep && !(given("z-from") && given("z-to") && given("frames")))
        throw TUsageError("--z-from, --z-to and --frames go together");
    if (sweep && given("z"))
        throw TUsageError("--z and a sweep of z exclude each other");
    if (WritesData(request)) {
        if (given("table") && given("points"))
            throw TUsageError("--table and --points exclude each other");
        if (!request.MoreFormulas.empty())
            throw TUsageError("--table and --points read one formula");
        if (sweep)
            throw TUsageError("a sweep of z writes pictures, not --table or --points");
        if (request.Format)
            throw TUsageError("--format names a picture's format; --table and --points write CSV");
        if (request.SoundSeconds)
            throw TUsageError("--seconds is the length of a sound; --table and --points write CSV");
        return;
    }
    const bool standardOutput = request.Output == StandardOutputName;
    if (standardOutput && !request.Format)
        throw TUsageError("- as OUTPUT (standard output) needs --format " + FormatNameList());
    if (!standardOutput && request.Format)
        throw TUsageError("--format goes with - as OUTPUT; a file takes the format of its name's ending");
    // An ending that no format has is refused here, before any module loads.
    CheckSoundOutput(request, RendererOutputFormat(request));
    if (OutputFormatRow(RendererOutputFormat(request)).Encoder != TOutputEncoder::TexPicture && request.Standalone)
        throw TUsageError("--standalone goes with a LaTeX picture (OUTPUT ending in .tex, or --format tex)");
}

}  // namespace

TCommandLine ParseRendererArguments(const std::vector<std::string>& arguments)
{
    QCommandLineParser parser;
    for (const TOptionRow& row : OptionTable())
        parser.addOption(QCommandLineOption(QString::fromLatin1(row.Name), QString::fromLatin1(row.Help),
                                            QString::fromLatin1(row.ValueName)));
    if (!parser.parse(OptionsFirst(Words(arguments))))
        throw TUsageError(parser.errorText().toStdString());

    TCommandLine line;
    if (parser.isSet(QStringLiteral("help")))
        line.Action = TCommandLine::TAction::Help;
    else if (parser.isSet(QStringLiteral("version")))
        line.Action = TCommandLine::TAction::Version;
    // Every word but the last is a formula: the last is the output.
    const QStringList positional = parser.positionalArguments();
    if (line.Action == TCommandLine::TAction::Plot && positional.size() < 2)
        throw TUsageError("expected a formula and an output file");

    TRendererRequest& request = line.Request;
    if (positional.size() >= 2) {
        request.Formula = positional.front().toStdString();
        for (qsizetype i = 1; i + 1 < positional.size(); ++i)
            request.MoreFormulas.push_back(positional[i].toStdString());
        request.Output = positional.back().toStdString();
    }
    if (line.Action != TCommandLine::TAction::Plot)
        return line;
    for (const TOptionRow& row : OptionTable())
        if (const std::optional<std::string> value = Value(parser, row))
            ApplyOption(row, request, *value);
    const auto all = [&](const char* name) {
        std::vector<std::string> values;
        for (const QString& value : parser.values(QString::fromLatin1(name)))
            values.push_back(value.toStdString());
        return values;
    };
    ApplyCurveColours(request, all("good"), all("bad"));
    CheckCombinations(parser, request);
    return line;
}

TOutputFormat RendererOutputFormat(const TRendererRequest& request)
{
    if (request.Format)
        return *request.Format;
    const QString name = QString::fromStdString(request.Output);
    if (const std::optional<TOutputFormat> format = OutputFormatOf(name))
        return *format;
    std::vector<std::string> endings;
    for (const TOutputFormatRow& row : OutputFormats())
        for (const char* ending : row.Endings)
            if (ending)
                endings.push_back(ending);
    throw TUsageError("OUTPUT " + Quoted(request.Output) + " ends in " + NameEnding(name).toStdString() +
                      ", which is no format orvalis-plot writes: the endings are " + Listed(endings, "and") +
                      ", and a name without one is written as BMP");
}

void CheckRendererOutput(const TRendererRequest& request, TOutputFormat format)
{
    const bool raster = OutputFormatRow(format).Raster;
    const std::int32_t most = raster ? MaxRasterSide : MaxVectorSide;
    // A page's pixels are the drawing's, a picture's those at its resolution.
    const TPictureSize pixels = RendererPage(request, format).Pixels;
    if (pixels.Width > most || pixels.Height > most)
        throw TUsageError("--size is at most " + std::to_string(most) + "x" + std::to_string(most) + " for " +
                          KindText(raster) + ", not " + std::to_string(pixels.Width) + "x" +
                          std::to_string(pixels.Height) +
                          (request.PhysicalSize ? " (" + request.PhysicalSize->Width.Text + "x" +
                                                      request.PhysicalSize->Height.Text + ")"
                                                : std::string()));
    CheckRendererPage(request, format);
    if (!request.Sweep)
        return;
    const TOutputFormatRow& animation = AnimationFormat();
    const std::string animationName = UpperName(animation);
    if (request.Output == StandardOutputName && format != animation.Format)
        throw TUsageError("a sweep of z goes to standard output as " + KindArticle(animationName) + " " +
                          animationName + " (--format " + animation.Name + "), not as separate frames");
    if (format != animation.Format && request.Output.find("%d") == std::string::npos)
        throw TUsageError("a sweep of z writes " + KindArticle(animation.Endings[0]) + " " + animation.Endings[0] +
                          " or files named with %d");
}

const std::string& RendererUsage()
{
    static const std::string usage = [] {
        std::vector<std::string> endings;
        for (const TOutputFormatRow& row : OutputFormats())
            endings.push_back(row.Endings[0] + std::string(1, NoBreak) + UpperName(row));
        std::string text = "usage: orvalis-plot [options] FORMULA OUTPUT\n" +
                           Wrapped("Plots FORMULA once, each further FORMULA as a curve of its own, and writes "
                                   "the picture to OUTPUT by its name's ending: " +
                                       Listed(endings, "or") +
                                       ", a name without an ending BMP; any other ending is refused. A WAV "
                                       "plays the curve as sound. Pages "
                                       "are at 96 pixels per inch. -" +
                                       NoBreak + "writes to standard output in the --format given.",
                                   UsageWidth) +
                           "\nNumbers are read as the window reads its edits.\n";
        const TRendererRequest defaults;
        for (const TOptionRow& row : OptionTable()) {
            std::string head = std::string("  --") + row.Name + (*row.ValueName ? " " : "") + row.ValueName;
            head.resize(std::max(HelpColumn, head.size() + 2), ' ');
            std::string help = row.Help;
            // A whole number's limits are the row's, so the usage states them.
            if (row.Setting && std::holds_alternative<std::int32_t TDrawingSettings::*>(row.Setting->Field))
                help += ", from " + std::to_string(row.Setting->Min) + " to " + std::to_string(row.Setting->Max);
            if (const std::optional<std::string> shown = DefaultText(row, defaults))
                help += "; " + *shown;
            for (std::size_t at = 0; (at = help.find('\n', at)) != std::string::npos; at += HelpColumn + 1)
                help.insert(at + 1, HelpColumn, ' ');
            text += head + help + "\n";
        }
        text += "  --                        ends the options: every later word is FORMULA or\n"
                "                            OUTPUT\n"
                "COLOUR is #RRGGBB, #RGB or an SVG colour name (red, darkgreen), all\n"
                "red-green-blue; or bgr: and the settings file's number 0x00BBGGRR in decimal,\n"
                "0x.. or $.. (bgr:0x0000FF, bgr:$FF and bgr:255 are red).\n";
        return text;
    }();
    return usage;
}

std::string RendererVersion()
{
    return std::string(ProgramName) + " " ORVALIS_VERSION;
}

std::vector<std::string> RendererOptionNames()
{
    std::vector<std::string> names;
    for (const TOptionRow& row : OptionTable())
        names.push_back(row.Name);
    return names;
}
