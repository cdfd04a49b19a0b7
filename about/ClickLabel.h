// A label that reports a click on it: the About window's web and mail links.
// Tab reaches it, a frame shows its focus, and Enter or Space clicks it.
#pragma once

#include <QLabel>

class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent = nullptr);

signals:
    // A left button pressed and released over the label.
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool Pressed = false;
};
