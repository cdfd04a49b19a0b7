// The image control: painting the held picture and passing on the mouse.
#include "window/GraphImage.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

TGraphImage::TGraphImage(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphImage::SetPicture(QImage picture)
{
    Picture_ = std::move(picture);
    update();
}

void TGraphImage::FitPictureToSize(QColor fill)
{
    const qreal ratio = devicePixelRatioF();
    if (Picture_.isNull() || (PictureRect().size() == size() && Picture_.devicePixelRatio() == ratio))
        return;
    QImage fitted(size() * ratio, Picture_.format());
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(fill);
    QPainter(&fitted).drawImage(0, 0, Picture_);
    Picture_ = std::move(fitted);
    update();
}

QRect TGraphImage::PictureRect() const
{
    return QRect(QPoint(0, 0), Picture_.deviceIndependentSize().toSize());
}

void TGraphImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (Picture_.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawImage(0, 0, Picture_);
    // Beside a picture smaller than the control (a resize not yet replotted).
    const QRegion rest = QRegion(rect()) - QRegion(PictureRect());
    for (const QRect& part : rest)
        painter.fillRect(part, palette().window());
}

void TGraphImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TGraphImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseMove(event->modifiers(), at.x(), at.y());
}

void TGraphImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void TGraphImage::wheelEvent(QWheelEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit Wheel(event->angleDelta().y(), at.x(), at.y());
    event->accept();
}

void TGraphImage::resizeEvent(QResizeEvent*)
{
    emit Resized();
}
