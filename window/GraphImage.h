// Graph: the image control of the main window. It holds the picture of the
// last plot, shows it at its top-left corner and reports the mouse in its
// own pixel coordinates.
#pragma once

#include <QImage>
#include <QWidget>

class TGraphImage : public QWidget {
    Q_OBJECT

public:
    explicit TGraphImage(QWidget* parent = nullptr);

    bool HasPicture() const { return !Picture_.isNull(); }
    const QImage& Picture() const { return Picture_; }
    // Replaces the picture shown, in one step.
    void SetPicture(QImage picture);
    // Gives the held picture the control's size, keeping what fits; the next
    // plot draws it anew in full. Without a picture there is nothing to fit.
    void FitPictureToSize(QColor fill);

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y);
    void MouseMove(Qt::KeyboardModifiers keys, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y);
    // A turn of the wheel by `angleDelta` (120 to the notch) at (x, y).
    void Wheel(int angleDelta, int x, int y);
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The picture's place in the control's coordinates.
    QRect PictureRect() const;

    QImage Picture_;
};
