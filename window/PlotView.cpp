// The plot view's plots, its navigation and its mouse, wheel and drag input.
#include "window/PlotView.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/PlotCanvas.h"
#include "plot/core/FormulaCompile.h"
#include "plot/core/ViewNavigation.h"
#include "shell/ErrorBox.h"
#include "shell/UserDialogs.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>

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
    setAccessibleName(QStringLiteral("Graph of %1 = %2")
                          .arg(request.Cartesian ? 'y' : 'r')
                          .arg(QString::fromStdString(request.Formula)));
    ++PlotCount_;
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
    if (request.Cartesian) {
        ReadXRange(request.XlowText, request.XhighText, low, high);
    } else {
        low = Engine_.View().XMin;
        high = Engine_.View().XMax;
    }
}

void TPlotView::WriteModeXRange(const TPlotRequest& request, double low, double high)
{
    if (request.Cartesian) {
        Host->ShowXRange(XRangeText(low), XRangeText(high));
    } else {
        Engine_.View().XMin = low;
        Engine_.View().XMax = high;
    }
}

void TPlotView::Navigate(TMove move)
{
    TViewWindow& view = Engine_.View();
    const TPlotRequest request = Host->CurrentRequest();
    switch (move) {
    case TMove::Left:
    case TMove::Right: {
        double low, high;
        ReadModeXRange(request, low, high);
        (move == TMove::Left ? PanLeft : PanRight)(low, high);
        WriteModeXRange(request, low, high);
        break;
    }
    case TMove::Up:
        PanUp(view.YMin, view.YMax);
        break;
    case TMove::Down:
        PanDown(view.YMin, view.YMax);
        break;
    case TMove::Origin:
        if (request.Cartesian)
            Host->ShowXRange(XRangeText(OriginLow), XRangeText(OriginHigh));
        view.ResetView = true;
        break;
    }
    Replot();
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

    const TPlotRequest request = Host->CurrentRequest();
    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(request, low, high);
    const bool zoomIn = Host->ClickZoomsIn() != keys.testFlag(Qt::ControlModifier);
    ZoomAbout(low, high, wx, zoomIn);
    WriteModeXRange(request, low, high);
    ZoomAbout(Engine_.View().YMin, Engine_.View().YMax, wy, zoomIn);
    Replot();
}

void TPlotView::GraphMouseUp(int X, int Y)
{
    if (!PanDragActive)
        return;
    PanDragActive = false;
    SyncPictureSize();
    const TPlotRequest request = Host->CurrentRequest();
    double dx, dy, low, high;
    DragOffset(Engine_.View(), Engine_.PictureSize(), PanDragStart.x(), PanDragStart.y(), X, Y, dx, dy);
    ReadModeXRange(request, low, high);
    DragBy(low, high, dx);
    WriteModeXRange(request, low, high);
    DragBy(Engine_.View().YMin, Engine_.View().YMax, dy);
    Replot();
}

void TPlotView::GraphMouseMove(int X, int Y)
{
    SyncPictureSize();
    double x, y;
    ReadoutPosition(Engine_.View(), Engine_.PictureSize(), X, Y, x, y);
    Host->ShowPosition(Format(PositionFormat, {x, y}));
}

void TPlotView::GraphMouseWheel(int angleDelta, int X, int Y)
{
    const int notches = TakeWheelNotches(WheelAngle, angleDelta);
    if (notches == 0)
        return;
    SyncPictureSize();
    const TPlotRequest request = Host->CurrentRequest();
    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(request, low, high);
    WheelZoomAbout(low, high, wx, notches);
    WriteModeXRange(request, low, high);
    WheelZoomAbout(Engine_.View().YMin, Engine_.View().YMax, wy, notches);
    Replot();
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
