// Output kinds by name, and the sweep of z.
#include "plot/output/OutputFormat.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "plot/drawing/Plotter.h"
#include "plot/core/PlotRequest.h"
#include "numeric/FloatingPoint.h"

namespace {

const QString FrameNumber = QStringLiteral("%d");

using enum TOutputEncoder;
constexpr bool Raster = true, Page = false;
constexpr bool Painter = true, NoPainter = false;
constexpr bool Transparency = true, Opaque = false;

// BMP first: the save dialog offers it first, and a name without an ending
// is written as BMP.
constexpr TOutputFormatRow FormatTable[] = {
    {TOutputFormat::Bmp, "bmp", {".bmp"}, "Bitmaps (*.bmp)", Raster, Painter, "image/bmp", ImageWriter, Opaque},
    {TOutputFormat::Png, "png", {".png"}, "PNG pictures (*.png)", Raster, Painter, "image/png", ImageWriter, Transparency},
    {TOutputFormat::Svg, "svg", {".svg"}, "SVG drawings (*.svg)", Page, NoPainter, "image/svg+xml", SvgPage, Transparency},
    {TOutputFormat::Pdf, "pdf", {".pdf"}, "PDF documents (*.pdf)", Page, Painter, "application/pdf", PdfPage, Transparency},
    {TOutputFormat::Gif, "gif", {".gif"}, nullptr, Raster, Painter, "image/gif", GifAnimation, Opaque},
    {TOutputFormat::Ppm, "ppm", {".ppm"}, nullptr, Raster, Painter, "image/x-portable-pixmap", ImageWriter, Opaque},
    {TOutputFormat::Wav, "wav", {".wav"}, nullptr, Page, NoPainter, "audio/x-wav", Sound, Opaque},
    {TOutputFormat::Tex, "tex", {".tex"}, nullptr, Page, NoPainter, "text/x-tex", TexPicture, Opaque},
};

bool EndsInEndingOf(const QString& name, const TOutputFormatRow& row)
{
    return std::any_of(row.Endings.begin(), row.Endings.end(), [&](const char* ending) {
        return ending && name.endsWith(QLatin1StringView(ending), Qt::CaseInsensitive);
    });
}

}  // namespace

std::span<const TOutputFormatRow> OutputFormats()
{
    return FormatTable;
}

const TOutputFormatRow& OutputFormatRow(TOutputFormat format)
{
    for (const TOutputFormatRow& row : FormatTable)
        if (row.Format == format)
            return row;
    throw std::logic_error("an output format without its row");
}

QString NameEnding(const QString& name)
{
    const QString part = name.mid(name.lastIndexOf(u'/') + 1);
    const qsizetype dot = part.lastIndexOf(u'.');
    return dot > 0 ? part.mid(dot) : QString();
}

std::optional<TOutputFormat> OutputFormatOf(const QString& name)
{
    // A known ending counts even where it is the whole last part (".png").
    for (const TOutputFormatRow& row : FormatTable)
        if (EndsInEndingOf(name, row))
            return row.Format;
    if (!NameEnding(name).isEmpty())
        return std::nullopt;
    return TOutputFormat::Bmp;
}

QStringList SaveDialogFilters()
{
    QStringList filters;
    for (const TOutputFormatRow& row : FormatTable)
        if (row.DialogFilter)
            filters << QString::fromLatin1(row.DialogFilter);
    return filters;
}

TOutputFormat SaveDialogFormat(const QString& name, qsizetype filter)
{
    std::vector<const TOutputFormatRow*> offered;
    for (const TOutputFormatRow& row : FormatTable)
        if (row.DialogFilter)
            offered.push_back(&row);
    for (const TOutputFormatRow* row : offered)
        if (EndsInEndingOf(name, *row))
            return row->Format;
    return offered[std::clamp<qsizetype>(filter, 0, static_cast<qsizetype>(offered.size()) - 1)]->Format;
}

double TZSweep::Z(std::int32_t frame) const
{
    if (frame >= Frames - 1)
        return To;
    return StoreDouble(From + (static_cast<long double>(To) - From) * frame / (Frames - 1));
}

void SweepZ(const TZSweep& sweep, TPlotter& plotter, bool resetView, const TPlotRequest& request,
            const std::function<void(std::int32_t, const TPlotRequest&)>& frame)
{
    TPlotRequest each = request;
    for (std::int32_t i = 0; i < sweep.Frames; ++i) {
        each.Z = sweep.Z(i);
        if (resetView)
            plotter.View().ResetView = true;
        frame(i, each);
    }
}

QString FrameName(const QString& pattern, std::int32_t frame)
{
    QString name = pattern;
    const qsizetype at = name.indexOf(FrameNumber);
    return at < 0 ? name : name.replace(at, FrameNumber.size(), QString::number(frame));
}
