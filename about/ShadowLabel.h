// A label whose text carries a light grey drop shadow: the About window's title.
#pragma once

#include <QLabel>

class TShadowLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
