// The picture part of the plot view: painting the held picture.
#include "window/GraphImage.h"

#include <QPainter>

TGraphImage::TGraphImage(QWidget* parent) : QWidget(parent)
{
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
