// Vector drawings of the navigation buttons' pictures on a 22-unit grid.
#include "window/FlatButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int PictureSide = 22;
const qreal DevicePixelRatios[] = {1.0, 1.25, 1.5, 2.0, 3.0};
const QColor SquareBlue(0x1F, 0x4F, 0xA8);
const QColor SquareEdge(0x14, 0x36, 0x78);
const QColor GlassRim(0x30, 0x30, 0x30);
const QColor GlassFill(0xDD, 0xEE, 0xFF);
const QColor HandleBrown(0x7A, 0x4A, 0x1E);

void DrawSquare(QPainter& painter)
{
    painter.setPen(QPen(SquareEdge, 1));
    painter.setBrush(SquareBlue);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 19, 19), 3, 3);
}

// A white arrow pointing up, turned by `degrees` about the centre.
void DrawArrow(QPainter& painter, qreal degrees)
{
    DrawSquare(painter);
    painter.save();
    painter.translate(11, 11);
    painter.rotate(degrees);
    QPainterPath arrow;
    arrow.moveTo(0, -7);
    arrow.lineTo(6, 0);
    arrow.lineTo(2.2, 0);
    arrow.lineTo(2.2, 7);
    arrow.lineTo(-2.2, 7);
    arrow.lineTo(-2.2, 0);
    arrow.lineTo(-6, 0);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(arrow);
    painter.restore();
}

void DrawOrigin(QPainter& painter)
{
    DrawSquare(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9.75, 2, 2.5, 18));
    painter.drawRect(QRectF(2, 9.75, 18, 2.5));
}

void DrawMagnifier(QPainter& painter, bool plus)
{
    painter.setPen(QPen(HandleBrown, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
    painter.setPen(QPen(GlassRim, 1.6));
    painter.setBrush(GlassFill);
    painter.drawEllipse(QPointF(9, 9), 7, 7);
    painter.setPen(QPen(GlassRim, 1.8, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(5.5, 9), QPointF(12.5, 9));
    if (plus)
        painter.drawLine(QPointF(9, 5.5), QPointF(9, 12.5));
}

QPixmap Draw(TFlatPicture picture, qreal ratio)
{
    const int side = qRound(PictureSide * ratio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case TFlatPicture::ArrowUp: DrawArrow(painter, 0); break;
    case TFlatPicture::ArrowRight: DrawArrow(painter, 90); break;
    case TFlatPicture::ArrowDown: DrawArrow(painter, 180); break;
    case TFlatPicture::ArrowLeft: DrawArrow(painter, 270); break;
    case TFlatPicture::Origin: DrawOrigin(painter); break;
    case TFlatPicture::ZoomOut: DrawMagnifier(painter, false); break;
    case TFlatPicture::ZoomIn: DrawMagnifier(painter, true); break;
    }
    return pixmap;
}

}  // namespace

QIcon FlatButtonIcon(TFlatPicture picture)
{
    QIcon icon;
    for (const qreal ratio : DevicePixelRatios)
        icon.addPixmap(Draw(picture, ratio));
    return icon;
}
