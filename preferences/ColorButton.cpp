// A push button without text whose face is a rounded rectangle filled with a
// colour. It draws in device pixels, with edges on whole pixels, so its
// outline stays sharp at any device pixel ratio.
#include "preferences/ColorButton.h"

#include "preferences/ColorValue.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr qreal CornerRadius = 5;    // logical pixels
constexpr qreal OutlineWidth = 1;    // logical pixels
constexpr qreal PressedOutlineWidth = 2;
constexpr qreal FocusInset = 4;      // from the outer edge to the focus frame
// Below this lightness (0..255) the focus frame is drawn in white, else black.
constexpr int DarkFaceLightness = 110;

// `rect` with each edge rounded to the nearest whole pixel.
QRectF OnWholePixels(const QRectF& rect)
{
    const qreal left = std::round(rect.left());
    const qreal top = std::round(rect.top());
    return QRectF(left, top, std::round(rect.right()) - left, std::round(rect.bottom()) - top);
}

// The outline is a whole number of device pixels wide, at least one.
qreal DevicePixels(qreal logical, qreal scale)
{
    return std::max<qreal>(1, std::round(logical * scale));
}

}  // namespace

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent)
{
    // Enter in the dialog belongs to its default button; a colour button is
    // pressed with the mouse or the space bar.
    setAutoDefault(false);
}

void TColorButton::SetColor(TColor color)
{
    if (color == Color_)
        return;
    Color_ = color;
    update();
}

void TColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // From here on, coordinates are the paint device's own pixels.
    const QTransform toDevice = painter.deviceTransform();
    const qreal scale = toDevice.m11();
    const QRectF box = OnWholePixels(toDevice.mapRect(QRectF(rect())));
    painter.setWorldTransform(toDevice.inverted());
    painter.setRenderHint(QPainter::Antialiasing, true);

    const qreal outline = DevicePixels(isDown() ? PressedOutlineWidth : OutlineWidth, scale);
    const qreal radius = CornerRadius * scale;
    const QColor face = ColorToQColor(Color_);
    const QColor edge = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Shadow);

    // The outline is the rounded box minus the face inset by its width, so
    // both stay on whole pixels along the straight edges.
    QPainterPath outer;
    outer.addRoundedRect(box, radius, radius);
    QPainterPath inner;
    const QRectF faceBox = box.adjusted(outline, outline, -outline, -outline);
    inner.addRoundedRect(faceBox, std::max<qreal>(0, radius - outline), std::max<qreal>(0, radius - outline));
    painter.fillPath(outer.subtracted(inner), edge);
    painter.fillPath(inner, face);

    if (hasFocus()) {
        const qreal inset = std::round(FocusInset * scale);
        const qreal line = DevicePixels(OutlineWidth, scale);
        QPen pen(face.lightness() < DarkFaceLightness ? Qt::white : Qt::black, line, Qt::DotLine);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRectF focus = box.adjusted(inset, inset, -inset, -inset);
        // A stroked rectangle straddles its edges: move in by half the line.
        painter.drawRect(focus.adjusted(line / 2, line / 2, -line / 2, -line / 2));
    }
}
