// A click is a press and a release of the left button both over the label,
// as with a button: sliding off before releasing cancels it.
#include "about/ClickLabel.h"

#include <QMouseEvent>

void TClickLabel::mousePressEvent(QMouseEvent* event)
{
    Pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    event->accept();
    if (click)
        emit Clicked();
}
