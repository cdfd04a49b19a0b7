// A push button without text whose face is a rounded rectangle filled with a
// colour: the colour rows of the Preferences dialog.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <QPushButton>

class TColorButton : public QPushButton {
    Q_OBJECT

public:
    explicit TColorButton(QWidget* parent = nullptr);

    // The face colour, all 32 bits as given: the top byte is kept, so a colour
    // the user did not change comes back exactly as it went in.
    TColor Color() const { return Color_; }
    void SetColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor Color_ = 0;
};
