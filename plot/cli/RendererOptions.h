// The command line of orvalis-plot: its options in one table, from which the
// parsing, the usage text and every usage error come, and the request a
// command line makes. Nothing here draws or writes a file.
#pragma once

#include "plot/cli/PageOptions.h"
#include "plot/core/DrawingSettings.h"
#include "plot/core/PlotRequest.h"
#include "plot/core/ViewWindow.h"
#include "plot/output/OutputFormat.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Bad usage: the message says what is wrong; a pointer to --help follows it.
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The output name that means standard output.
inline constexpr std::string_view StandardOutputName = "-";
// The largest picture by kind: the raster's memory (about 12 bytes a pixel
// while it is drawn and encoded) and the largest PDF page readers must
// show, 200 inches, at 96 pixels per inch.
inline constexpr std::int32_t MaxRasterSide = 10000;
inline constexpr std::int32_t MaxVectorSide = 19200;
inline constexpr std::int32_t MaxFrames = 100000;
inline constexpr std::int32_t MaxFrameMs = 655350;

// A sweep of z as given: its ends are read as the window reads numbers, when
// the plot runs.
struct TSweepTexts {
    std::string FromText;
    std::string ToText;
    std::int32_t Frames = 2;
};

// A table of values as given: FROM:TO:STEP split at its colons, each read
// as the window reads numbers when the run begins.
struct TTableTexts {
    std::string FromText;
    std::string ToText;
    std::string StepText;
};

// What a command line asks for. Numbers the window would read from its edits
// stay texts: their errors are plot errors, not usage errors.
struct TRendererRequest {
    std::string Formula;
    // As given; StandardOutputName for standard output.
    std::string Output;
    // --format: set only with standard output, which has no name to go by.
    std::optional<TOutputFormat> Format;
    bool Polar = false;
    std::string XlowText = "-10";
    std::string XhighText = "10";
    std::string ZText = "0.3";
    TPictureSize Size{507, 266};
    // A size in physical units instead of Size's pixels, and the resolution
    // that turns it into pixels.
    std::optional<TPhysicalSize> PhysicalSize;
    std::optional<int> DotsPerInch;
    // The labels' size, the title's in proportion.
    std::optional<double> FontPoints;
    // --background none.
    bool Transparent = false;
    bool Antialias = false;
    TDrawingSettings Drawing;
    // A window kept instead of fitted: the y extent, in polar mode with the x
    // extent.
    std::optional<std::string> XMinText, XMaxText, YMinText, YMaxText;
    std::optional<TSweepTexts> Sweep;
    int FrameMs = 40;
    // CSV instead of a picture: the table of values, or the points of
    // interest over the x range.
    std::optional<TTableTexts> Table;
    bool Points = false;
    // The formulas after the first, each a curve of its own.
    std::vector<std::string> MoreFormulas;
    // --good and --bad in their order: the colours of the first curves.
    std::vector<TColor> GoodColours, BadColours;
    // As given; top-right with several formulas, none with one.
    std::optional<TLegendPosition> Legend;
    std::optional<std::string> Title;
    // --seconds: how long a sound plays.
    std::optional<std::int32_t> SoundSeconds;
    std::optional<std::string> XTitle, YTitle;
    // A LaTeX picture as a document that compiles alone.
    bool Standalone = false;
};

// Whether the request writes CSV (--table, --points) rather than a picture.
inline bool WritesData(const TRendererRequest& request)
{
    return request.Table || request.Points;
}

// What the command line asks: a plot, or only the usage or the version.
struct TCommandLine {
    enum class TAction { Plot, Help, Version } Action = TAction::Plot;
    TRendererRequest Request;
};

// Reads the words after the program's name. Every word must be UTF-8. The
// options begin with two dashes; any other word (a formula "-x", the output
// "-") is FORMULA or OUTPUT, as is every word after "--". Raises TUsageError,
// also for an OUTPUT whose ending no format has.
TCommandLine ParseRendererArguments(const std::vector<std::string>& arguments);

// "WxH" in pixels, each side at least MinPictureSide; raises TUsageError.
TPictureSize ReadPixelSize(const std::string& text);

// The output's format: --format for standard output, else by its name's
// ending. Raises TUsageError, listing the endings, for an ending that no
// format has.
TOutputFormat RendererOutputFormat(const TRendererRequest& request);

// The checks that need the output's format (by its name, or --format for
// standard output): the size's upper limit and what a sweep can be written
// to. Raises TUsageError.
void CheckRendererOutput(const TRendererRequest& request, TOutputFormat format);

// "usage: orvalis-plot [options] FORMULA OUTPUT" and a line for each option.
const std::string& RendererUsage();
// "orvalis-plot <version>".
std::string RendererVersion();
// The options' names, in the order of the table, without the dashes.
std::vector<std::string> RendererOptionNames();

// The offset of the first byte that is not part of well-formed UTF-8, or
// nothing when the whole text is.
std::optional<std::size_t> FirstNonUtf8Byte(std::string_view text);
