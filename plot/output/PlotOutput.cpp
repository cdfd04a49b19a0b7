// The renderer's outputs: pictures encoded by Qt's image writers, SVG pages
// by the program's own canvas, PDF pages by Qt's PDF writer, animations by
// giflib; every file goes through the one file writer, numbered frames
// committed only once all are written.
#include "plot/output/PlotOutput.h"

#include "plot/output/GifWriter.h"
#include "plot/PlotCanvas.h"
#include "plot/output/PictureFile.h"
#include "plot/PlotEngine.h"
#include "plot/drawing/SvgCanvas.h"
#include "plot/drawing/TexPicture.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "files/SafeFile.h"
#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>

#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

constexpr int DotsPerInch = 96;

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// A PDF page through Qt's PDF writer, of the picture's geometry at 96 pixels
// per inch.
QByteArray PlotPdfPage(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request)
{
    const TPictureSize size = engine.PictureSize();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(DotsPerInch);
    const TPageLook& look = engine.PageLook();
    // A page of a physical size has it exactly; the drawing's 96 units per
    // inch then span it up to the rounding of its pixels.
    const QPageSize page =
        look.WidthMm > 0.0
            ? QPageSize(QSizeF(look.WidthMm, look.HeightMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch)
            : QPageSize(QSizeF(qreal(size.Width) / DotsPerInch, qreal(size.Height) / DotsPerInch), QPageSize::Inch,
                        QString(), QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    writer.setCreator(QStringLiteral("orvalis-plot"));
    TPlotCanvas canvas(size, writer, nullptr, look);
    engine.Plot(evaluator, request, canvas);
    canvas.Finish();
    return bytes;
}

// Unnamed staged frames hold a descriptor each until the commit: the limit
// on open files is raised as far as the frames need, and where it cannot go
// that far the frames are staged under names of their own.
TStaging StagingForFrames(std::int32_t frames)
{
    constexpr rlim_t Spare = 64; // the program's own descriptors
    const rlim_t needed = static_cast<rlim_t>(frames) + Spare;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return TStaging::Named;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed &&
        (limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= needed)) {
        limit.rlim_cur = needed;
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            return TStaging::Named;
    }
    return limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed ? TStaging::Unnamed : TStaging::Named;
}

// A name's format; an ending that no format has is refused before anything
// is drawn.
TOutputFormat FormatOfName(const QString& name)
{
    if (const std::optional<TOutputFormat> format = OutputFormatOf(name))
        return *format;
    throw Exception("Cannot write " + name.toStdString() + ": no output format has the ending " +
                    NameEnding(name).toStdString());
}

// Files written in full before any takes its name. A failure before the
// commit leaves no staged file; one during it takes back the files already
// in place, so a failed sweep leaves none of its frames.
class TStagedFiles {
public:
    explicit TStagedFiles(std::int32_t files) : Staging(StagingForFrames(files)) {}

    void Add(const QString& name, const QByteArray& bytes)
    {
        Files.push_back(std::make_unique<TFileWriter>(LocalFileName(name), Staging));
        Files.back()->Write(View(bytes));
        Files.back()->Finish();
    }

    void Commit()
    {
        for (std::size_t i = 0; i < Files.size(); ++i) {
            try {
                Files[i]->Commit();
            } catch (...) {
                for (std::size_t done = 0; done < i; ++done)
                    if (!Files[done]->InPlace())
                        ::unlink(Files[done]->FileName().c_str());
                throw;
            }
        }
    }

private:
    TStaging Staging;
    std::vector<std::unique_ptr<TFileWriter>> Files;
};

}  // namespace

QByteArray PlotFile(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                    TOutputFormat format)
{
    const TOutputFormatRow& row = OutputFormatRow(format);
    switch (row.Encoder) {
    case TOutputEncoder::SvgPage:
        return PlotSvgPage(engine, evaluator, request);
    case TOutputEncoder::PdfPage:
        return PlotPdfPage(engine, evaluator, request);
    case TOutputEncoder::GifAnimation: {
        const QImage picture = engine.Plot(evaluator, request);
        QByteArray bytes;
        TGifWriter gif(picture.size(), 0, [&bytes](std::string_view part) { bytes.append(part.data(), part.size()); });
        gif.AddFrame(picture);
        gif.Finish();
        return bytes;
    }
    case TOutputEncoder::TexPicture:
        return PlotTexPicture(engine, evaluator, request);
    case TOutputEncoder::ImageWriter:
        break;
    case TOutputEncoder::Sound:
        // The renderer writes the sound itself; the window saves pictures.
        throw std::logic_error("a sound is no picture");
    }
    return EncodePicture(engine.Plot(evaluator, request), row.Name);
}

void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, const std::optional<TAnimation>& animation)
{
    WritePlotOutput(engine, evaluator, request, name, FormatOfName(name), animation);
}

void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, TOutputFormat format, const std::optional<TAnimation>& animation)
{
    if (!animation) {
        const QByteArray bytes = PlotFile(engine, evaluator, request, format);
        WriteWholeFile(name, bytes);
        return;
    }
    // A window given by the caller is kept for every frame; otherwise each
    // frame is fitted as the window fits it when z changes.
    const bool resetView = engine.View().ResetView;
    if (OutputFormatRow(format).Encoder == TOutputEncoder::GifAnimation) {
        // Each frame goes to the file as it is made.
        const TPictureSize device = engine.PageLook().DevicePixels;
        const TPictureSize size = device.Width > 0 ? device : engine.PictureSize();
        TFileWriter file(LocalFileName(name));
        TGifWriter gif(QSize(size.Width, size.Height), animation->FrameMs,
                       [&file](std::string_view part) { file.Write(part); });
        SweepZ(animation->Sweep, engine, resetView, request, [&](std::int32_t, const TPlotRequest& frame) {
            gif.AddFrame(engine.Plot(evaluator, frame));
        });
        gif.Finish();
        file.Commit();
        return;
    }
    TStagedFiles files(animation->Sweep.Frames);
    SweepZ(animation->Sweep, engine, resetView, request, [&](std::int32_t i, const TPlotRequest& frame) {
        const QString frameName = FrameName(name, i);
        files.Add(frameName, PlotFile(engine, evaluator, frame, FormatOfName(frameName)));
    });
    files.Commit();
}
