// The kinds of file the program writes, one row each, known by their names,
// and the sweep of z that makes a series of plots: what the outputs need
// before anything is drawn.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class TPlotter;
struct TPlotRequest;

enum class TOutputFormat { Bmp, Png, Svg, Pdf, Gif, Ppm, Wav, Tex };

// How a format's bytes are made.
enum class TOutputEncoder {
    ImageWriter,  // the picture through Qt's image writer, in the format of the row's name
    SvgPage,      // the program's own SVG canvas, without Qt's painter
    PdfPage,      // Qt's PDF writer
    GifAnimation, // giflib: one picture, or every frame of a sweep in one file
    Sound,        // the curve played as a WAV file, without Qt's painter
    TexPicture,   // a PGFPlots axis that LaTeX typesets in the document's fonts
};

// One kind of file: everything that decides by format reads its row.
struct TOutputFormatRow {
    TOutputFormat Format;
    // --format's word and, for the image writer, Qt's name of the format.
    const char* Name;
    // The name's endings, the first the one the help shows; the rest null.
    std::array<const char*, 2> Endings;
    // The filter of the window's save dialog; null when the window does not
    // offer the format.
    const char* DialogFilter;
    // A picture of pixels (the raster's size limit) or a page.
    bool Raster;
    // Drawn by Qt's painter, so the renderer loads its painter module.
    bool NeedsPainter;
    const char* MimeType;
    TOutputEncoder Encoder;
    // Holds a transparent background.
    bool Transparency;
};

// Every format, in the order the help and the save dialog list them.
std::span<const TOutputFormatRow> OutputFormats();
const TOutputFormatRow& OutputFormatRow(TOutputFormat format);

// The ending of a name: from the last dot of its last part on, unless that
// dot begins the part ("out.tar.gz" gives ".gz"; "./dir.v2/out" and
// ".hidden" none).
QString NameEnding(const QString& name);

// By the name's ending, letter case ignored; BMP for a name without an
// ending, nothing for an ending that no format has.
std::optional<TOutputFormat> OutputFormatOf(const QString& name);

// The save dialog's filters, in the table's order.
QStringList SaveDialogFilters();
// The format a save dialog's choice writes: a name ending in the ending of
// an offered format is written in that format whatever the filter; any other
// name in the format of the filter at `filter`.
TOutputFormat SaveDialogFormat(const QString& name, qsizetype filter);

// N frames with z stepped evenly from From to To, both included.
struct TZSweep {
    double From = 0;
    double To = 0;
    std::int32_t Frames = 2;
    double Z(std::int32_t frame) const;
};

// Calls `frame`(i, request) for i = 0 … N − 1 with the request's z at the z
// of frame i and, when `resetView`, ResetView set as a new z sets it in the
// window. The evaluator is not touched: the code compiled once serves every
// frame.
void SweepZ(const TZSweep& sweep, TPlotter& plotter, bool resetView, const TPlotRequest& request,
            const std::function<void(std::int32_t, const TPlotRequest&)>& frame);

// The name of frame i: the first "%d" of the pattern replaced by i.
QString FrameName(const QString& pattern, std::int32_t frame);

struct TAnimation {
    TZSweep Sweep;
    int FrameMs = 40;
};
