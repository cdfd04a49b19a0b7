// Navigation: the pan buttons, "Goto origin", click zoom about a point, the
// right-button drag and the position readout. Each step changes the window
// and replots it as it is, without a fit.
#include "window/GraphImage.h"
#include "window/GraphMainForm.h"
#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "ui_GraphMainForm.h"

#include <cmath>

namespace {

// A pan moves by this part of the span.
constexpr long double PanFraction = 5;
// Zooming in halves the spans about the clicked point (a quarter each
// side); zooming out doubles them.
constexpr long double ZoomInHalfSpan = 4;
constexpr long double ZoomOutHalfSpan = 1;

const char PositionFormat[] = "x = %8.5g,  y = %8.5g";

constexpr int WheelNotch = 120;
constexpr long double WheelZoomFactor = 1.25;

}  // namespace

void TGraphMainForm::ReadModeXRange(double& low, double& high) const
{
    if (IsCartesian()) {
        Engine_.ReadXRange(low, high);
    } else {
        low = Engine_.View().XMin;
        high = Engine_.View().XMax;
    }
}

void TGraphMainForm::WriteModeXRange(double low, double high)
{
    if (IsCartesian()) {
        Engine_.WriteXRange(low, high);
    } else {
        Engine_.View().XMin = low;
        Engine_.View().XMax = high;
    }
}

void TGraphMainForm::LeftBtnClick()
{
    double low, high;
    ReadModeXRange(low, high);
    const double span = StoreDouble(static_cast<long double>(high) - low);
    low = StoreDouble(low - span / PanFraction);
    WriteModeXRange(low, StoreDouble(static_cast<long double>(low) + span));
    PlotRequest();
}

void TGraphMainForm::RightBtnClick()
{
    double low, high;
    ReadModeXRange(low, high);
    const double span = StoreDouble(static_cast<long double>(high) - low);
    high = StoreDouble(high + span / PanFraction);
    WriteModeXRange(StoreDouble(static_cast<long double>(high) - span), high);
    PlotRequest();
}

void TGraphMainForm::UpBtnClick()
{
    TViewWindow& view = Engine_.View();
    const double span = StoreDouble(static_cast<long double>(view.YMax) - view.YMin);
    view.YMin = StoreDouble(view.YMin + span / PanFraction);
    view.YMax = StoreDouble(static_cast<long double>(view.YMin) + span);
    PlotRequest();
}

void TGraphMainForm::DownBtnClick()
{
    TViewWindow& view = Engine_.View();
    const double span = StoreDouble(static_cast<long double>(view.YMax) - view.YMin);
    view.YMin = StoreDouble(view.YMin - span / PanFraction);
    view.YMax = StoreDouble(static_cast<long double>(view.YMin) + span);
    PlotRequest();
}

void TGraphMainForm::OriginBtnClick()
{
    if (IsCartesian())
        Engine_.WriteXRange(-10, 10);
    Engine_.View().ResetView = true;
    PlotRequest();
}

void TGraphMainForm::GraphMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y)
{
    SyncPictureSize();
    if (button == Qt::RightButton) {
        PanDragActive = true;
        PanDragStart = QPoint(X, Y);
        return;
    }
    if (button != Qt::LeftButton)
        return;

    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(low, high);
    const double sx = StoreDouble(static_cast<long double>(high) - low);
    const bool ctrl = keys.testFlag(Qt::ControlModifier);
    const bool zoomIn = Ui_->ZoomInBtn->isChecked() != ctrl;
    const long double halfSpan = zoomIn ? ZoomInHalfSpan : ZoomOutHalfSpan;
    WriteModeXRange(StoreDouble(wx - sx / halfSpan), StoreDouble(wx + sx / halfSpan));
    TViewWindow& view = Engine_.View();
    const double sy = StoreDouble(static_cast<long double>(view.YMax) - view.YMin);
    view.YMax = StoreDouble(wy + sy / halfSpan);
    view.YMin = StoreDouble(wy - sy / halfSpan);
    PlotRequest();
}

void TGraphMainForm::GraphMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (!PanDragActive)
        return;
    PanDragActive = false;
    SyncPictureSize();
    double x0, y0, x1, y1, low, high;
    Engine_.PixelToWorld(PanDragStart.x(), PanDragStart.y(), x0, y0);
    Engine_.PixelToWorld(X, Y, x1, y1);
    const double dx = StoreDouble(static_cast<long double>(x1) - x0);
    const double dy = StoreDouble(static_cast<long double>(y1) - y0);
    ReadModeXRange(low, high);
    WriteModeXRange(StoreDouble(static_cast<long double>(low) - dx), StoreDouble(static_cast<long double>(high) - dx));
    TViewWindow& view = Engine_.View();
    view.YMax = StoreDouble(static_cast<long double>(view.YMax) - dy);
    view.YMin = StoreDouble(static_cast<long double>(view.YMin) - dy);
    PlotRequest();
}

void TGraphMainForm::GraphMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    SyncPictureSize();
    double x, y, xa, ya, xb, yb;
    Engine_.PixelToWorld(X, Y, x, y);
    Engine_.PixelToWorld(CheckedSub(X, 1), CheckedSub(Y, 1), xa, ya);
    Engine_.PixelToWorld(CheckedAdd(X, 1), CheckedAdd(Y, 1), xb, yb);
    // Where the neighbouring pixels lie on both sides of an axis, the pixel
    // shows exactly 0 rather than a small remainder.
    if (static_cast<long double>(xa) * xb < 0)
        x = 0;
    if (static_cast<long double>(ya) * yb < 0)
        y = 0;
    Ui_->mousePosition->setText(QString::fromStdString(Format(PositionFormat, {x, y})));
}

void TGraphMainForm::GraphMouseWheel(int angleDelta, int X, int Y)
{
    WheelAngle += angleDelta;
    const int notches = WheelAngle / WheelNotch;
    if (notches == 0)
        return;
    WheelAngle -= notches * WheelNotch;
    SyncPictureSize();
    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(low, high);
    // Forward shrinks the spans: the world point keeps its place in them.
    const long double scale = std::pow(WheelZoomFactor, static_cast<long double>(-notches));
    WriteModeXRange(StoreDouble(wx - (wx - static_cast<long double>(low)) * scale),
                    StoreDouble(wx + (high - static_cast<long double>(wx)) * scale));
    TViewWindow& view = Engine_.View();
    view.YMin = StoreDouble(wy - (wy - static_cast<long double>(view.YMin)) * scale);
    view.YMax = StoreDouble(wy + (view.YMax - static_cast<long double>(wy)) * scale);
    PlotRequest();
}
