// The shadow is the same text drawn first, offset down and to the right.
#include "about/ShadowLabel.h"

#include <QPainter>

namespace {

constexpr QRgb ShadowColor = 0xBCBCBC;
constexpr int ShadowOffset = 3;

} // namespace

void TShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    const int flags = static_cast<int>(alignment()) | Qt::TextSingleLine;
    painter.setPen(QColor(ShadowColor));
    painter.drawText(area.translated(ShadowOffset, ShadowOffset), flags, text());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, flags, text());
}
