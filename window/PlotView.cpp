// The plot view's plots, its navigation and its mouse, wheel and drag input.
#include "window/PlotView.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/PlotCanvas.h"
#include "plot/core/CurveDescription.h"
#include "plot/core/FormulaCompile.h"
#include "plot/core/ViewNavigation.h"
#include "plot/core/ViewStep.h"
#include "shell/ErrorBox.h"
#include "shell/UserDialogs.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

const QString ApplicationTitle = QStringLiteral("Orvalis");
const char PositionFormat[] = "x = %8.5g,  y = %8.5g";
const double OriginLow = -10, OriginHigh = 10;

bool ReadsAsRange(const TPlotRequest& request, double& low, double& high)
{
    try {
        ReadXRange(request.XlowText, request.XhighText, low, high);
        return true;
    } catch (const std::exception&) {
        ResetFpu();
        return false;
    }
}

}  // namespace

TPlotView::TPlotView(QWidget* parent) : TGraphImage(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    // Tab reaches the picture; a click takes the keyboard only while the
    // trace offers keys, so that a click zoom leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    AnnounceTimer.setSingleShot(true);
    AnnounceTimer.setTimerType(Qt::PreciseTimer);
    connect(&AnnounceTimer, &QTimer::timeout, this, &TPlotView::SendAnnouncement);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    CreateNotice();
#endif
}

void TPlotView::Guarded(const std::function<void()>& action)
{
    if (!Holding) {
        RunGuarded(window(), action);
        return;
    }
    try {
        action();
    } catch (const std::exception& error) {
        ResetFpu();
        Report(QString::fromStdString(ErrorSentence(error.what())), QMessageBox::Critical);
    }
}

void TPlotView::Report(const QString& text, QMessageBox::Icon icon)
{
    if (!Holding) {
        UserDialogs().ShowMessage(window(), ApplicationTitle, text, icon);
        return;
    }
    // The same report from the plot at creation and the one after the first
    // resize is said once.
    if (!Held)
        Held = THeldReport{text, icon};
    else if (!Held->Text.split(QStringLiteral("\n\n")).contains(text))
        Held->Text += QStringLiteral("\n\n") + text;
}

void TPlotView::ReleaseReports()
{
    Holding = false;
    if (std::optional<THeldReport> held = std::exchange(Held, std::nullopt))
        Report(held->Text, held->Icon);
}

void TPlotView::Replot()
{
    const TPlotRequest request = Host->CurrentRequest();
    if (const std::optional<std::string> report = CompileForPlot(Evaluator, request.Formula, "\r")) {
        Report(QString::fromStdString(*report), QMessageBox::NoIcon);
        return;
    }
    SyncPictureSize();
    QImage picture;
    try {
        picture = Engine_.Plot(Evaluator, request);
    } catch (const std::exception& error) {
        // A fault of an empty range says why under its own message.
        double low, high;
        if (!ReadsAsRange(request, low, high) || low != high)
            throw;
        throw Exception(ErrorSentence(error.what()) + "\nThe x range is empty: \"" + request.XlowText + "\" and \"" +
                        request.XhighText + "\" are the same number.");
    }
    SetPicture(std::move(picture));
    Shown_ = {request, Engine_.View(), Engine_.PictureSize()};
    BaseName = QStringLiteral("Graph of %1 = %2")
                   .arg(request.Cartesian ? 'y' : 'r')
                   .arg(QString::fromStdString(request.Formula));
    FindShownPoints();
    // A point or message told before this plot is told again when it comes again.
    if (!Tracing_)
        AnnouncedText.clear();
    RetraceShown();
    setAccessibleName(BaseName);
    Describe();
    ++PlotCount_;
    emit Plotted();
}

void TPlotView::Describe()
{
    double low, high;
    if (!ReadsAsRange(Shown_.Request, low, high))
        return;
    // The points for the words are the trace's when it has them.
    const std::vector<TPointOfInterest> points =
        Tracing_ ? Points_
                 : FindPointsOfInterest(Evaluator, std::min(low, high), std::max(low, high), Shown_.Request.Z,
                                        Engine_.Samples());
    setAccessibleDescription(QString::fromStdString(
        DescribeCurve(Engine_.View(), Shown_.Request.Cartesian, low, high, Engine_.Samples(), points)));
}

void TPlotView::PlotFitted()
{
    RequestFit();
    Replot();
}

void TPlotView::SyncPictureSize()
{
    Engine_.SetPictureSize({width(), height()});
    Engine_.SetDevicePixelRatio(devicePixelRatioF());
}

void TPlotView::ReadModeXRange(const TPlotRequest& request, double& low, double& high) const
{
    if (request.Cartesian && request.XlowText == Written.LowText && request.XhighText == Written.HighText) {
        low = Written.Low;
        high = Written.High;
    } else if (request.Cartesian) {
        ReadXRange(request.XlowText, request.XhighText, low, high);
    } else {
        low = Engine_.View().XMin;
        high = Engine_.View().XMax;
    }
}

void TPlotView::WriteModeXRange(const TPlotRequest& request, double low, double high)
{
    if (request.Cartesian) {
        const auto [lowText, highText] = XRangeTexts(low, high);
        Written = {lowText, highText, low, high};
        Host->ShowXRange(lowText, highText);
    } else {
        Engine_.View().XMin = low;
        Engine_.View().XMax = high;
    }
}

void TPlotView::Step(const TViewStep& step, bool movesX)
{
    const TPlotRequest request = Host->CurrentRequest();
    TViewWindow& view = Engine_.View();
    double low = view.XMin, high = view.XMax, yLow = view.YMin, yHigh = view.YMax;
    // A pan up or down leaves the x range as it stands, typed or not.
    if (movesX)
        ReadModeXRange(request, low, high);
    StepView(low, high, yLow, yHigh, step);
    if (movesX)
        WriteModeXRange(request, low, high);
    view.YMin = yLow;
    view.YMax = yHigh;
    Replot();
}

void TPlotView::Navigate(TMove move)
{
    switch (move) {
    case TMove::Left:
        return Step(TPanStep{TPan::Left}, true);
    case TMove::Right:
        return Step(TPanStep{TPan::Right}, true);
    case TMove::Up:
        return Step(TPanStep{TPan::Up}, false);
    case TMove::Down:
        return Step(TPanStep{TPan::Down}, false);
    case TMove::Origin:
        if (Host->CurrentRequest().Cartesian) {
            const auto [low, high] = XRangeTexts(OriginLow, OriginHigh);
            Host->ShowXRange(low, high);
        }
        PlotFitted();
        return;
    }
}

void TPlotView::GraphMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y)
{
    SyncPictureSize();
    if (button == Qt::RightButton) {
        PanDragActive = true;
        PanDragStart = QPoint(X, Y);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    double wx, wy;
    Engine_.PixelToWorld(X, Y, wx, wy);
    // Ctrl held turns the zoom the other way.
    Step(TZoomStep{wx, wy, Host->ClickZoomsIn() != keys.testFlag(Qt::ControlModifier)}, true);
}

void TPlotView::GraphMouseUp(int X, int Y)
{
    if (!PanDragActive)
        return;
    PanDragActive = false;
    SyncPictureSize();
    double dx, dy;
    DragOffset(Engine_.View(), Engine_.PictureSize(), PanDragStart.x(), PanDragStart.y(), X, Y, dx, dy);
    Step(TDragStep{dx, dy}, true);
}

void TPlotView::GraphMouseMove(int X, int Y)
{
    SyncPictureSize();
    double x, y;
    ReadoutPosition(Engine_.View(), Engine_.PictureSize(), X, Y, x, y);
    Host->ShowPosition(Format(PositionFormat, {x, y}));
    if (!Tracing_ || !HasPicture())
        return;
    const TPlotRequest& request = Shown_.Request;
    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    if (request.Cartesian)
        Traced_ = TracePointAt(Evaluator, wx, request.Z, false);
    else if (ShownRange(low, high))
        Traced_ = TraceNearest(Evaluator, low, high, request.Z, Engine_.Samples(), wx, wy);
    RetraceShown();
}

void TPlotView::GraphMouseWheel(int angleDelta, int X, int Y)
{
    const int notches = TakeWheelNotches(WheelAngle, angleDelta);
    if (notches == 0)
        return;
    SyncPictureSize();
    double wx, wy;
    Engine_.PixelToWorld(X, Y, wx, wy);
    Step(TWheelStep{wx, wy, notches}, true);
}

void TPlotView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Guarded([&] { GraphMouseDown(event->button(), event->modifiers(), at.x(), at.y()); });
}

void TPlotView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Guarded([&] { GraphMouseMove(at.x(), at.y()); });
}

void TPlotView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Guarded([&] { GraphMouseUp(at.x(), at.y()); });
}

void TPlotView::wheelEvent(QWheelEvent* event)
{
    const QPoint at = event->position().toPoint();
    Guarded([&] { GraphMouseWheel(event->angleDelta().y(), at.x(), at.y()); });
    event->accept();
}

// A new size keeps what fits of the old picture until the posted plot draws
// the view anew, fitted to the new size.
void TPlotView::resizeEvent(QResizeEvent*)
{
    if (!Host)
        return;
    Guarded([&] {
        FitPictureToSize(ToQColor(Host->CurrentRequest().Drawing.BackgroundColor));
        RequestFit();
        QCoreApplication::postEvent(this, new QEvent(WM_PLOTREQUEST));
    });
}

bool TPlotView::event(QEvent* event)
{
    if (event->type() == WM_PLOTREQUEST) {
        Guarded([this] { Replot(); });
        return true;
    }
    return TGraphImage::event(event);
}
