// The plot view's trace: the marker on the curve, its line, its keys.
#include "window/PlotView.h"

#include "plot/PlotCanvas.h"
#include "plot/core/ViewStep.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The marker: a ring of this radius in the curve's colour.
constexpr int MarkerRadius = 4;
constexpr int MarkerPenWidth = 2;
// A point of interest: a small square this far from its centre each way.
constexpr double PointMarkHalf = 2.5;
// A marker that leaves the view comes back this far inside it.
constexpr double PanInsideShare = 0.1;

}  // namespace

void TPlotView::SetTrace(bool on)
{
    if (on == Tracing_)
        return;
    Tracing_ = on;
    // A click gives the picture the keyboard only while the trace has keys.
    setFocusPolicy(on ? Qt::StrongFocus : Qt::TabFocus);
    if (!on) {
        Traced_.reset();
        Points_.clear();
        AnnouncedText.clear();
        AnnounceTimer.stop();
        Host->ShowTrace("");
        update();
        return;
    }
    FindShownPoints();
    RetraceShown();
}

void TPlotView::FindShownPoints()
{
    Points_.clear();
    double low, high;
    if (Tracing_ && HasPicture() && ShownRange(low, high))
        Points_ = FindPointsOfInterest(Evaluator, std::min(low, high), std::max(low, high), Shown_.Request.Z,
                                       Engine_.Samples());
}

void TPlotView::TraceToNextPoint(bool back)
{
    // Points a rounding away from the marker count as where it stands.
    const double x = Traced_->X, near = std::fabs(TraceStep()) * 1e-6;
    if (!back) {
        for (const TPointOfInterest& point : Points_)
            if (point.X > x + near)
                return TraceTo(point.X);
    } else {
        for (auto point = Points_.rbegin(); point != Points_.rend(); ++point)
            if (point->X < x - near)
                return TraceTo(point->X);
    }
}

bool TPlotView::ShownRange(double& low, double& high) const
{
    try {
        ReadXRange(Shown_.Request.XlowText, Shown_.Request.XhighText, low, high);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int TPlotView::TraceDigits() const
{
    const TViewWindow& view = Engine_.View();
    return DigitsToTellApart(std::max(std::fabs(view.XMin), std::fabs(view.XMax)), TraceStep());
}

double TPlotView::TraceStep() const
{
    double low, high;
    if (!Shown_.Request.Cartesian && ShownRange(low, high))
        return (high - low) / std::max(Engine_.Samples().SampleCount, 1);
    const int columns = std::max(Shown_.Size.Width - 2 * PlotMargin, 1);
    return (Engine_.View().XMax - Engine_.View().XMin) / columns;
}

void TPlotView::TraceTo(double x)
{
    if (!Tracing_ || !HasPicture())
        return;
    const TPlotRequest& request = Shown_.Request;
    const TViewWindow& view = Engine_.View();
    if (request.Cartesian && (x < view.XMin || x > view.XMax)) {
        // The view follows the marker: the window moves so that the marker
        // stands a little inside the edge it crossed.
        const double span = view.XMax - view.XMin;
        const double shift = x < view.XMin ? x - view.XMin - PanInsideShare * span
                                           : x - view.XMax + PanInsideShare * span;
        Traced_ = TracePointAt(Evaluator, x, request.Z, false);
        Step(TDragStep{-shift, 0}, true);
        return;
    }
    Traced_ = TracePointAt(Evaluator, x, request.Z, !request.Cartesian);
    RetraceShown();
}

void TPlotView::RetraceShown()
{
    if (!Tracing_ || !HasPicture())
        return;
    const TPlotRequest& request = Shown_.Request;
    double low, high;
    // A trace turned on before the first plot starts in the middle.
    if (!Traced_ && request.Cartesian)
        Traced_ = TTracedPoint{0.5 * (Engine_.View().XMin + Engine_.View().XMax)};
    else if (!Traced_ && ShownRange(low, high))
        Traced_ = TTracedPoint{0.5 * (low + high)};
    if (!Traced_)
        return;
    Traced_ = TracePointAt(Evaluator, Traced_->X, request.Z, !request.Cartesian);
    Host->ShowTrace(TraceText(*Traced_, !request.Cartesian, TraceDigits()));
    AnnounceTraced();
    update();
}

void TPlotView::PaintTrace(QPainter& painter)
{
    const TViewWindow& view = Engine_.View();
    const auto inView = [&](double x, double y) {
        return x >= view.XMin && x <= view.XMax && y >= view.YMin && y <= view.YMax;
    };
    const TDrawingSettings& drawing = Shown_.Request.Drawing;
    // Each point of interest: a small square in the axes' colour.
    painter.setPen(QPen(ToQColor(drawing.AxisColor), 1));
    for (const TPointOfInterest& point : Points_) {
        const bool polar = !Shown_.Request.Cartesian;
        const double px = polar ? point.Y * std::cos(point.X) : point.X;
        const double py = polar ? point.Y * std::sin(point.X) : point.Y;
        if (inView(px, py))
            painter.drawRect(QRectF(Engine_.WorldToPixelX(px) - PointMarkHalf, Engine_.WorldToPixelY(py) - PointMarkHalf,
                                    2 * PointMarkHalf, 2 * PointMarkHalf));
    }
    const double x = Traced_->PlaneX, y = Traced_->PlaneY;
    if (!inView(x, y))
        return;
    painter.setPen(QPen(ToQColor(Traced_->Undefined ? drawing.BadPointColor : drawing.GoodPointColor), MarkerPenWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(Engine_.WorldToPixelX(x), Engine_.WorldToPixelY(y)), MarkerRadius, MarkerRadius);
}
