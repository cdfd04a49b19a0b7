// Output kinds by name, and the sweep of z.
#include "plot/output/OutputFormat.h"

#include "plot/drawing/Plotter.h"
#include "plot/core/PlotRequest.h"
#include "numeric/FloatingPoint.h"

namespace {

const QString FrameNumber = QStringLiteral("%d");

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
