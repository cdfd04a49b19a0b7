// The picture part of the plot view: it holds the picture of the last plot
// and shows it at its top-left corner.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture's place in the control's coordinates.
    QRect PictureRect() const;

    QImage Picture_;
};
