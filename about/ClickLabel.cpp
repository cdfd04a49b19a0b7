// A click is a press and a release of the left button both over the label,
// as with a button: sliding off before releasing cancels it.
#include "about/ClickLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

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

void TClickLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return QLabel::keyPressEvent(event);
    event->accept();
    emit Clicked();
}

void TClickLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}
