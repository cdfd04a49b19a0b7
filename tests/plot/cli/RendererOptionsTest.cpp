// orvalis-plot's command line read in-process: the requests good command
// lines make, the message and status of bad ones, the colour forms, the
// limits that depend on the output, and the usage against the manual page.
#include "plot/cli/ColourNames.h"
#include "plot/cli/ColourOption.h"
#include "plot/cli/Renderer.h"

#include <QColor>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace {

using TWords = std::vector<std::string>;

std::string Hex(TColor colour)
{
    char text[12];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

// The request as "FORMULA OUTPUT" and each field that differs from a fresh
// request's, so that a case states everything its command line changes.
std::string Describe(const TRendererRequest& r)
{
    const TRendererRequest d;
    std::string text = r.Formula + " " + r.Output;
    const auto add = [&](bool differs, const std::string& field) {
        if (differs)
            text += " " + field;
    };
    const char* const formats[] = {"bmp", "png", "svg", "pdf", "gif", "ppm"};
    add(r.Format.has_value(), "format=" + std::string(r.Format ? formats[static_cast<int>(*r.Format)] : ""));
    add(r.Polar, "polar");
    add(r.XlowText != d.XlowText, "xlow=" + r.XlowText);
    add(r.XhighText != d.XhighText, "xhigh=" + r.XhighText);
    add(r.ZText != d.ZText, "z=" + r.ZText);
    add(r.Size.Width != d.Size.Width || r.Size.Height != d.Size.Height,
        "size=" + std::to_string(r.Size.Width) + "x" + std::to_string(r.Size.Height));
    for (const auto& [name, text] : {std::pair{"xmin", r.XMinText}, {"xmax", r.XMaxText}, {"ymin", r.YMinText},
                                     {"ymax", r.YMaxText}})
        add(text.has_value(), std::string(name) + "=" + text.value_or(""));
    add(r.Drawing.BackgroundColor != d.Drawing.BackgroundColor, "background=" + Hex(r.Drawing.BackgroundColor));
    add(r.Drawing.AxisColor != d.Drawing.AxisColor, "axis=" + Hex(r.Drawing.AxisColor));
    add(r.Drawing.GoodPointColor != d.Drawing.GoodPointColor, "good=" + Hex(r.Drawing.GoodPointColor));
    add(r.Drawing.BadPointColor != d.Drawing.BadPointColor, "bad=" + Hex(r.Drawing.BadPointColor));
    add(r.Drawing.LineWidth != d.Drawing.LineWidth, "line-width=" + std::to_string(r.Drawing.LineWidth));
    add(!r.Drawing.Boundary, "no-boundary");
    add(!r.Drawing.Ticks, "no-ticks");
    add(r.Drawing.Grid, "grid");
    std::string more, goods, bads;
    for (const std::string& formula : r.MoreFormulas)
        more += (more.empty() ? "" : ",") + formula;
    for (const auto& [list, colours] : {std::pair{&goods, r.GoodColours}, {&bads, r.BadColours}})
        for (const TColor colour : colours)
            *list += (list->empty() ? "" : ",") + Hex(colour);
    add(!more.empty(), "more=" + more);
    add(r.GoodColours.size() > 1, "goods=" + goods);
    add(r.BadColours.size() > 1, "bads=" + bads);
    add(r.Legend.has_value(), "legend=" + std::to_string(static_cast<int>(r.Legend.value_or(TLegendPosition::None))));
    add(r.Title.has_value(), "title=" + r.Title.value_or(""));
    if (r.Sweep)
        add(true, "sweep=" + r.Sweep->FromText + ".." + r.Sweep->ToText + "/" + std::to_string(r.Sweep->Frames));
    add(r.FrameMs != d.FrameMs, "frame-ms=" + std::to_string(r.FrameMs));
    return text;
}

std::string Joined(const TWords& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

TEST(RendererCommandLine, GoodLinesMakeTheirRequests)
{
    const struct { TWords words; const char* request; } cases[] = {
        {{"sin(x)", "a.png"}, "sin(x) a.png"},
        {{"--xlow", "-5", "--xhigh=7", "x", "o"}, "x o xlow=-5 xhigh=7"},
        {{"x", "o", "--xlow=", "--z", "0,5"}, "x o xlow= z=0,5"},
        {{"--xlow", "1", "--xlow", "2", "x", "o"}, "x o xlow=2"},
        // Only words with two dashes are options: a formula or an output
        // may begin with one; after "--" every word is an argument.
        {{"--xlow", "-5", "-x+1", "o"}, "-x+1 o xlow=-5"},
        {{"--xhigh", "--polar", "x", "o"}, "x o xhigh=--polar"},
        {{"--z", "1", "--", "--x", "--polar"}, "--x --polar z=1"},
        {{"x", "-", "--format", "svg"}, "x - format=svg"},
        {{"--format=GIF", "x", "-"}, "x - format=gif"},
        {{"--size", "80x10000", "x", "o"}, "x o size=80x10000"},
        {{"--polar", "--xmin", "1", "--xmax", "2", "--ymin", "0", "--ymax", "1", "r", "o"},
         "r o polar xmin=1 xmax=2 ymin=0 ymax=1"},
        {{"--ymin", "0", "--ymax", "5", "x", "o"}, "x o ymin=0 ymax=5"},
        // Every word before the output is a formula, and each --good or --bad
        // a colour of the next curve; the first is the drawing's own.
        {{"x", "o", "p"}, "x p more=o"},
        {{"x", "o", "--", "--polar"}, "x --polar more=o"},
        {{"--good", "red", "a", "b", "--good", "#00f", "c", "o", "--bad", "lime"},
         "a o good=0000FF bad=00FF00 more=b,c goods=0000FF,FF0000"},
        {{"--legend", "outside-right", "--title=", "a", "b", "o"}, "a o more=b legend=5 title="},
        {{"--legend", "none", "--title", "Waves", "a", "o"}, "a o legend=0 title=Waves"},
        {{"--good", "#FF0000", "--bad=darkgreen", "--axis", "bgr:0xFF0000", "--background", "#fff", "x", "o"},
         "x o background=FFFFFF axis=FF0000 good=0000FF bad=006400"},
        {{"--line-width", "3", "--no-boundary", "--no-ticks", "x", "o"}, "x o line-width=3 no-boundary no-ticks"},
        {{"--line-width=50", "--grid", "x", "o"}, "x o line-width=50 grid"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "0x10", "--frame-ms", "100", "x", "f.gif"},
         "x f.gif sweep=0..1/16 frame-ms=100"},
        {{"x", "\xC3\xA9t\xC3\xA9.png"}, "x \xC3\xA9t\xC3\xA9.png"},
    };
    for (const auto& c : cases) {
        const TCommandLine line = ParseRendererArguments(c.words);
        EXPECT_EQ(line.Action, TCommandLine::TAction::Plot) << Joined(c.words);
        EXPECT_EQ(Describe(line.Request), c.request) << Joined(c.words);
    }
}

TEST(RendererCommandLine, HelpAndVersionNeedNoArguments)
{
    const struct { TWords words; int status; std::string output; } cases[] = {
        {{"--help"}, 0, RendererUsage()},
        {{"--version"}, 0, "orvalis-plot " ORVALIS_VERSION "\n"},
        {{"--help", "--version", "--size", "1"}, 0, RendererUsage()},
        {{"--version", "--no-such"}, 2, ""},
    };
    for (const auto& c : cases) {
        const auto line = ReadRendererCommandLine(c.words);
        ASSERT_TRUE(std::holds_alternative<TRendererOutcome>(line)) << Joined(c.words);
        const TRendererOutcome& outcome = std::get<TRendererOutcome>(line);
        EXPECT_EQ(outcome.Status, c.status) << Joined(c.words);
        EXPECT_EQ(outcome.Output, c.output) << Joined(c.words);
    }
    EXPECT_TRUE(RendererUsage().starts_with("usage: orvalis-plot [options] FORMULA OUTPUT\n"));
    // The limits the help states are the ones the parsing keeps.
    for (const std::int32_t limit : {MinPictureSide, MaxRasterSide, MaxVectorSide, MaxFrames})
        EXPECT_NE(RendererUsage().find(" " + std::to_string(limit)), std::string::npos) << limit;
}

TEST(RendererCommandLine, BadLinesSayWhyAndPointToTheHelp)
{
    const struct { TWords words; const char* message; } cases[] = {
        {{"x"}, "expected a formula and an output file"},
        {{"--", "x"}, "expected a formula and an output file"},
        {{"--good", "red", "--good", "blue", "x", "o"},
         "--good is given 2 times for 1 formula: at most once per formula, in the formulas' order"},
        {{"--bad", "red", "--bad", "red", "--bad", "red", "x", "y", "o.svg"}, "--bad is given 3 times for 2 formulas"},
        {{"--good", "red", "--good", "0x00FF00", "x", "y", "o"}, "--good takes #RRGGBB, #RGB or a colour name"},
        {{"--legend", "middle", "x", "y", "o"},
         "--legend takes top-right, top-left, bottom-left, bottom-right, outside-right or none, not 'middle'"},
        {{"--color", "1", "x", "o"}, "Unknown option 'color'."},
        {{"x", "o", "--xlow"}, "Missing value after '--xlow'."},
        {{"--polar=1", "x", "o"}, "Unexpected value after '--polar'."},
        {{"--size", "79x100", "x", "o"}, "--size takes WxH, each at least 80, not '79x100'"},
        {{"--size", "100", "x", "o"}, "--size takes WxH, each at least 80, not '100'"},
        {{"--size", "1000000000x100", "x", "o"}, "--size takes WxH, each at least 80, not '1000000000x100'"},
        {{"--size", "100x-100", "x", "o"}, "--size takes WxH, each at least 80, not '100x-100'"},
        {{"--good", "0xFF0000", "x", "o"}, "--good takes #RRGGBB, #RGB or a colour name"},
        {{"--line-width", "wide", "x", "o"}, "--line-width takes an integer from 1 to 50, not 'wide'"},
        // Below 1 the curve would still be 1 pixel wide, far above 50 the
        // picture all curve: both are refused.
        {{"--line-width", "0", "x", "o"}, "--line-width takes an integer from 1 to 50, not '0'"},
        {{"--line-width=-3", "x", "o"}, "--line-width takes an integer from 1 to 50, not '-3'"},
        {{"--line-width", "51", "x", "o"}, "--line-width takes an integer from 1 to 50, not '51'"},
        {{"--line-width", "500", "x", "o.svg"}, "--line-width takes an integer from 1 to 50, not '500'"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "1", "x", "o.gif"},
         "--frames takes an integer from 2 to 100000, not '1'"},
        {{"--frame-ms", "-1", "x", "o.gif"}, "--frame-ms takes an integer from 0 to 655350, not '-1'"},
        {{"--z-from", "0", "--z-to", "1", "x", "o.gif"}, "--z-from, --z-to and --frames go together"},
        {{"--z", "1", "--z-from", "0", "--z-to", "1", "--frames", "2", "x", "o.gif"},
         "--z and a sweep of z exclude each other"},
        {{"--xmin", "0", "--xmax", "1", "x", "o"}, "--xmin and --xmax go with --polar"},
        {{"--ymin", "1", "x", "o"}, "--ymin and --ymax go together"},
        {{"--polar", "--ymin", "1", "--ymax", "2", "x", "o"}, "in polar mode a window takes all of --xmin"},
        {{"x", "-"}, "- as OUTPUT (standard output) needs --format bmp, png, svg, pdf, gif, ppm, wav or tex"},
        {{"--format", "png", "x", "o.png"}, "--format goes with - as OUTPUT"},
        {{"--format", "jpg", "x", "-"}, "--format takes bmp, png, svg, pdf, gif, ppm, wav or tex, not 'jpg'"},
        // An ending that no format has, wherever it comes from, is refused
        // with the endings there are.
        {{"x", "out.jpg"}, "OUTPUT 'out.jpg' ends in .jpg, which is no format orvalis-plot writes: the endings are "
                           ".bmp, .png, .svg, .pdf, .gif, .ppm, .wav and .tex, and a name without one is written as BMP"},
        {{"x", "dir/out.TIFF"}, "OUTPUT 'dir/out.TIFF' ends in .TIFF, which is no format"},
        {{"x", "d.png.jpg"}, "OUTPUT 'd.png.jpg' ends in .jpg,"},
        {{"x", "out."}, "OUTPUT 'out.' ends in ., which is no format"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "f.%d"}, "OUTPUT 'f.%d' ends in .%d,"},
        {{"x", "o\xFF.png"}, "word 2 of the command line is not valid UTF-8 (byte 2 is 0xFF)"},
        {{"--xlow", "\xC0\xAF", "x", "o"}, "word 2 of the command line is not valid UTF-8 (byte 1 is 0xC0)"},
    };
    for (const auto& c : cases) {
        const auto line = ReadRendererCommandLine(c.words);
        ASSERT_TRUE(std::holds_alternative<TRendererOutcome>(line)) << Joined(c.words);
        const TRendererOutcome& outcome = std::get<TRendererOutcome>(line);
        EXPECT_EQ(outcome.Status, ExitUsage) << Joined(c.words);
        EXPECT_TRUE(outcome.Output.empty());
        EXPECT_TRUE(outcome.Errors.starts_with(std::string("orvalis-plot: ") + c.message))
            << Joined(c.words) << "\n" << outcome.Errors;
        // The reason and one line more, not the whole usage.
        EXPECT_TRUE(outcome.Errors.ends_with("\nTry 'orvalis-plot --help'.\n")) << outcome.Errors;
        EXPECT_EQ(std::count(outcome.Errors.begin(), outcome.Errors.end(), '\n'), 2) << outcome.Errors;
    }
}

TEST(RendererCommandLine, ColoursAreRedGreenBlueOrMarkedAsTheSettingsFileForm)
{
    const struct { const char* text; TColor colour; } colours[] = {
        {"#FF0000", 0x0000FF}, {"#f00", 0x0000FF}, {"#0A0B0C", 0x0C0B0A}, {"#abc", 0xCCBBAA},
        {"red", 0x0000FF},     {"DarkGreen", 0x006400}, {"white", 0xFFFFFF},
        {"bgr:0xFF0000", 0xFF0000}, {"bgr:$FF0000", 0xFF0000}, {"bgr:255", 0x0000FF}, {"bgr:-1", 0xFFFFFFFF},
    };
    for (const auto& c : colours)
        EXPECT_EQ(Hex(ParseColour("good", c.text)), Hex(c.colour)) << c.text;

    const struct { const char* text; const char* message; } errors[] = {
        // A number alone names both forms, and the colour it would be in the
        // settings file's.
        {"0xFF0000", "'0xFF0000' is a number without bgr:, so write bgr:0xFF0000 for the settings file's colour "
                     "(#0000FF), or the colour as #RRGGBB"},
        {"255", "'255' is a number without bgr:, so write bgr:255 for the settings file's colour (#FF0000)"},
        {"$FF", "'$FF' is a number without bgr:"},
        {"#FF00", ", not '#FF00'"}, {"#GGGGGG", ", not '#GGGGGG'"}, {"#FF0000 ", ", not '#FF0000 '"},
        {"transparent", ", not 'transparent'"}, {"nosuchcolour", ", not 'nosuchcolour'"},
        {"dark green", ", not 'dark green'"}, {"bgr:", ", not 'bgr:'"}, {"bgr:red", ", not 'bgr:red'"},
        {"BGR:255", ", not 'BGR:255'"}, {"", ", not ''"},
        // Names that are not colours: before the first, after the last, a
        // name cut short or carried on past the longest.
        {"a", ", not 'a'"}, {"zzz", ", not 'zzz'"}, {"aliceblu", ", not 'aliceblu'"},
        {"yellowgreens", ", not 'yellowgreens'"}, {"LightGoldenrodYellowish", ", not 'LightGoldenrodYellowish'"},
    };
    const std::string forms = "--good takes #RRGGBB, #RGB or a colour name such as red (red-green-blue), or bgr: "
                              "and the settings file's number 0x00BBGGRR";
    for (const auto& e : errors) {
        try {
            ParseColour("good", e.text);
            ADD_FAILURE() << e.text << " taken";
        } catch (const TUsageError& error) {
            const std::string message = error.what();
            EXPECT_TRUE(message.starts_with(forms)) << message;
            EXPECT_NE(message.find(e.message), std::string::npos) << message;
        }
    }
}

// The colour names are the program's own table, read in any letter case as
// Qt reads them: each of Qt's names, written three ways, gives Qt's colour.
TEST(RendererCommandLine, ColourNamesAreQtsInAnyLetterCase)
{
    int names = 0;
    for (const QString& name : QColor::colorNames()) {
        if (name == u"transparent")
            continue;
        ++names;
        const QColor qt = QColor::fromString(name);
        const TColor expected = static_cast<TColor>(qt.red() | qt.green() << 8 | qt.blue() << 16);
        std::string mixed = name.toStdString();
        for (std::size_t i = 0; i < mixed.size(); i += 2)
            mixed[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(mixed[i])));
        for (const std::string& text : {name.toLower().toStdString(), name.toUpper().toStdString(), mixed}) {
            try {
                EXPECT_EQ(Hex(ParseColour("good", text)), Hex(expected)) << text;
            } catch (const TUsageError& error) {
                ADD_FAILURE() << text << " refused: " << error.what();
            }
        }
    }
    // No name that Qt does not know.
    EXPECT_EQ(std::size(NamedColours), static_cast<std::size_t>(names));
}

TEST(RendererCommandLine, Utf8IsCheckedByteForByte)
{
    const struct { std::string text; std::optional<std::size_t> bad; } cases[] = {
        {"plain.png", std::nullopt}, {"\xC3\xA9t\xC3\xA9", std::nullopt}, {"\xF0\x9F\x98\x80", std::nullopt},
        {"\xF4\x8F\xBF\xBF", std::nullopt},  // U+10FFFF, the last code point
        {"a\xFF", 1}, {"\x80", 0}, {"ab\xE2\x82", 2}, {"\xC3(", 0},
        {"\xC0\x80", 0}, {"\xE0\x80\xAF", 0}, {"\xF0\x80\x80\xAF", 0},  // overlong forms
        {"x\xED\xA0\x80", 1},                                        // a surrogate
        {"\xF4\x90\x80\x80", 0},                                     // beyond U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstNonUtf8Byte(c.text), c.bad) << c.text;
}

TEST(RendererCommandLine, OutputFormatsSetTheLimits)
{
    const struct { TWords words; TOutputFormat format; const char* message; } cases[] = {
        {{"--size", "10000x10000", "x", "o.png"}, TOutputFormat::Png, nullptr},
        {{"--size", "10001x80", "x", "o.bmp"}, TOutputFormat::Bmp,
         "--size is at most 10000x10000 for a BMP, PNG, GIF or PPM picture, not 10001x80"},
        {{"--size", "80x10001", "x", "o.gif"}, TOutputFormat::Gif,
         "--size is at most 10000x10000 for a BMP, PNG, GIF or PPM picture, not 80x10001"},
        {{"--size", "10001x80", "x", "o.ppm"}, TOutputFormat::Ppm,
         "--size is at most 10000x10000 for a BMP, PNG, GIF or PPM picture, not 10001x80"},
        {{"--size", "19200x19200", "x", "o.svg"}, TOutputFormat::Svg, nullptr},
        {{"--size", "80x19201", "x", "o.svg"}, TOutputFormat::Svg,
         "--size is at most 19200x19200 for an SVG, PDF or TEX page, not 80x19201"},
        {{"--size", "999999999x80", "x", "o.pdf"}, TOutputFormat::Pdf,
         "--size is at most 19200x19200 for an SVG, PDF or TEX page, not 999999999x80"},
        {{"--size", "19200x19200", "x", "-", "--format", "pdf"}, TOutputFormat::Pdf, nullptr},
        {{"--size", "10001x80", "x", "-", "--format", "png"}, TOutputFormat::Png,
         "--size is at most 10000x10000 for a BMP, PNG, GIF or PPM picture"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "f.gif"}, TOutputFormat::Gif, nullptr},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "f%d.svg"}, TOutputFormat::Svg, nullptr},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "f.png"}, TOutputFormat::Png,
         "a sweep of z writes a .gif or files named with %d"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "-", "--format", "gif"}, TOutputFormat::Gif, nullptr},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "-", "--format", "png"}, TOutputFormat::Png,
         "a sweep of z goes to standard output as a GIF (--format gif), not as separate frames"},
    };
    for (const auto& c : cases) {
        const TRendererRequest request = ParseRendererArguments(c.words).Request;
        if (!c.message) {
            EXPECT_NO_THROW(CheckRendererOutput(request, c.format)) << Joined(c.words);
            continue;
        }
        try {
            CheckRendererOutput(request, c.format);
            ADD_FAILURE() << Joined(c.words) << " taken";
        } catch (const TUsageError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.message)) << error.what();
        }
    }
}

// The option names of the manual page's OPTIONS entries (the lines after
// each .TP), "\-" read as a dash.
std::set<std::string> ManualOptions()
{
    QFile page(QStringLiteral(ORVALIS_SOURCE_DIR "/data/orvalis-plot.1"));
    EXPECT_TRUE(page.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(page.readAll()).split(u'\n');
    std::set<std::string> names;
    bool options = false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String(".SH")))
            options = lines[i] == QLatin1String(".SH OPTIONS");
        if (!options || lines[i] != QLatin1String(".TP"))
            continue;
        const QString entry = QString(lines[i + 1]).replace(QLatin1String("\\-"), QLatin1String("-"));
        for (const auto& match : QRegularExpression(QStringLiteral("--([a-z][a-z-]*)")).globalMatch(entry))
            names.insert(match.captured(1).toStdString());
    }
    return names;
}

TEST(RendererCommandLine, UsageAndManualPageListTheOptionsOfTheTable)
{
    const std::vector<std::string> table = RendererOptionNames();
    const std::set<std::string> tableNames(table.begin(), table.end());
    std::set<std::string> usageNames;
    for (const auto& match : QRegularExpression(QStringLiteral("^  --([a-z][a-z-]*)"), QRegularExpression::MultilineOption)
                                 .globalMatch(QString::fromStdString(RendererUsage())))
        usageNames.insert(match.captured(1).toStdString());
    EXPECT_EQ(usageNames, tableNames);
    EXPECT_EQ(ManualOptions(), tableNames);
}

}  // namespace
