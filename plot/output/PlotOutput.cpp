// The renderer's outputs: pictures encoded by Qt's image writers, pages by
// its SVG generator and PDF writer, animations by giflib; files replaced
// only once everything has been drawn and written beside them.
#include "plot/output/PlotOutput.h"

#include "plot/output/GifWriter.h"
#include "plot/PlotCanvas.h"
#include "plot/PictureFile.h"
#include "plot/PlotEngine.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int DotsPerInch = 96;
const QString FrameNumber = QStringLiteral("%d");

[[noreturn]] void CannotCreate(const QString& name)
{
    throw Exception("Cannot create file " + name.toStdString());
}

QByteArray EncodePicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, format).write(picture))
        throw Exception(std::string("Cannot encode the picture as ") + format);
    return bytes;
}

QByteArray PlotPage(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                    TOutputFormat format)
{
    const TPictureSize size = engine.PictureSize();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == TOutputFormat::Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(size.Width, size.Height));
        generator.setViewBox(QRect(0, 0, size.Width, size.Height));
        generator.setResolution(DotsPerInch);
        TPlotCanvas canvas(size, generator);
        engine.Plot(evaluator, request, canvas);
        canvas.Finish();
    } else {
        QPdfWriter writer(&buffer);
        writer.setResolution(DotsPerInch);
        const QSizeF inches(qreal(size.Width) / DotsPerInch, qreal(size.Height) / DotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF()));
        writer.setCreator(QStringLiteral("orvalis-plot"));
        TPlotCanvas canvas(size, writer);
        engine.Plot(evaluator, request, canvas);
        canvas.Finish();
    }
    return bytes;
}

mode_t Umask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Files written beside their names and renamed over them once all are there.
class TStagedFiles {
public:
    ~TStagedFiles()
    {
        for (const TStaged& file : Files)
            QFile::remove(file.Temporary);
    }

    void Add(const QString& name, const QByteArray& bytes)
    {
        QTemporaryFile file(name + QStringLiteral(".XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open())
            CannotCreate(name);
        Files.push_back({file.fileName(), name});
        // A temporary file is the owner's alone; a frame gets the permissions
        // of any new file.
        if (file.write(bytes) != bytes.size() || !file.flush() || ::fchmod(file.handle(), 0666 & ~Umask()) != 0)
            CannotCreate(name);
    }

    // A failed rename takes back the files already renamed.
    void Commit()
    {
        for (std::size_t i = 0; i < Files.size(); ++i) {
            if (std::rename(QFile::encodeName(Files[i].Temporary).constData(),
                            QFile::encodeName(Files[i].Name).constData()) != 0) {
                for (std::size_t done = 0; done < i; ++done)
                    QFile::remove(Files[done].Name);
                Files.erase(Files.begin(), Files.begin() + static_cast<std::ptrdiff_t>(i));
                CannotCreate(Files.front().Name);
            }
        }
        Files.clear();
    }

private:
    struct TStaged {
        QString Temporary;
        QString Name;
    };
    std::vector<TStaged> Files;
};

}  // namespace

TOutputFormat OutputFormatOf(const QString& name)
{
    const struct { const char* Ending; TOutputFormat Format; } endings[] = {
        {".png", TOutputFormat::Png}, {".svg", TOutputFormat::Svg}, {".pdf", TOutputFormat::Pdf},
        {".gif", TOutputFormat::Gif}};
    for (const auto& ending : endings)
        if (name.endsWith(QLatin1String(ending.Ending), Qt::CaseInsensitive))
            return ending.Format;
    return TOutputFormat::Bmp;
}

QByteArray PlotFile(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                    TOutputFormat format)
{
    switch (format) {
    case TOutputFormat::Svg:
    case TOutputFormat::Pdf:
        return PlotPage(engine, evaluator, request, format);
    case TOutputFormat::Gif: {
        const QImage picture = engine.Plot(evaluator, request);
        TGifWriter gif(picture.size(), 0);
        gif.AddFrame(picture);
        return gif.Finish();
    }
    case TOutputFormat::Png:
        return EncodePicture(engine.Plot(evaluator, request), "png");
    case TOutputFormat::Bmp:
        break;
    }
    return EncodePicture(engine.Plot(evaluator, request), "bmp");
}

double TZSweep::Z(std::int32_t frame) const
{
    if (frame >= Frames - 1)
        return To;
    return StoreDouble(From + (static_cast<long double>(To) - From) * frame / (Frames - 1));
}

void SweepZ(const TZSweep& sweep, TPlotEngine& engine, bool resetView, const std::function<void(std::int32_t)>& frame)
{
    for (std::int32_t i = 0; i < sweep.Frames; ++i) {
        FormulaZ = sweep.Z(i);
        if (resetView)
            engine.View().ResetView = true;
        frame(i);
    }
}

QString FrameName(const QString& pattern, std::int32_t frame)
{
    QString name = pattern;
    const qsizetype at = name.indexOf(FrameNumber);
    return at < 0 ? name : name.replace(at, FrameNumber.size(), QString::number(frame));
}

void WritePlotOutput(TPlotEngine& engine, const TRapidEvaluator& evaluator, const TPlotRequest& request,
                     const QString& name, const std::optional<TAnimation>& animation)
{
    const TOutputFormat format = OutputFormatOf(name);
    if (!animation) {
        WriteWholeFile(name, PlotFile(engine, evaluator, request, format));
        return;
    }
    // A window given by the caller is kept for every frame; otherwise each
    // frame is fitted as the window fits it when z changes.
    const bool resetView = engine.View().ResetView;
    if (format == TOutputFormat::Gif) {
        const TPictureSize size = engine.PictureSize();
        TGifWriter gif(QSize(size.Width, size.Height), animation->FrameMs);
        SweepZ(animation->Sweep, engine, resetView, [&](std::int32_t) { gif.AddFrame(engine.Plot(evaluator, request)); });
        WriteWholeFile(name, gif.Finish());
        return;
    }
    TStagedFiles files;
    SweepZ(animation->Sweep, engine, resetView, [&](std::int32_t i) {
        const QString frameName = FrameName(name, i);
        files.Add(frameName, PlotFile(engine, evaluator, request, OutputFormatOf(frameName)));
    });
    files.Commit();
}
