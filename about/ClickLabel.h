// A label that reports a click on it: the About window's web and mail links.
#pragma once

#include <QLabel>

class TClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    // A left button pressed and released over the label.
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Pressed = false;
};
