// The Preferences dialog: the drawing settings shown and edited on the
// dialog's own controls, each found by the object name its row gives.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <QDialog>

#include <cstdint>

#include <memory>

namespace Ui {
class TPrefDialogForm;
}
class TColorButton;

class TPrefDialog : public QDialog {
    Q_OBJECT

public:
    // The dynamic property that gives the value an item of a group of radio
    // buttons stands for (Narrow 1, Wide 3), set in the form.
    static constexpr char ItemValueProperty[] = "settingValue";

    explicit TPrefDialog(QWidget* parent = nullptr);
    ~TPrefDialog() override;

    // Puts `settings` on the controls: a colour on its button's face, a flag
    // on its check box, a whole number on the item of its group that stands
    // for the smallest value not below it (the largest item when none is):
    // "Wide" for a line width above 1, "Narrow" otherwise.
    void Fill(const TDrawingSettings& settings);
    // What the controls show now; a whole number is the checked item's value,
    // kept within its setting's limits. A setting with no control here (the
    // Curve menu's) is as Fill last gave it.
    TDrawingSettings Settings() const;
    // How long the window plays the curve as sound, in its spin box, which
    // keeps it within MinSoundSeconds..MaxSoundSeconds.
    void FillSoundSeconds(std::int32_t seconds);
    std::int32_t SoundSeconds() const;

    // Lets the user choose a new face colour for `button` with the colour
    // chooser, opened at its present colour; a cancelled chooser changes
    // nothing.
    void ColorBtnClick(TColorButton& button);

    void setVisible(bool visible) override;

private:
    QWidget* Control(const TDrawingSetting& setting) const;

    std::unique_ptr<Ui::TPrefDialogForm> Form;
    TDrawingSettings Filled;
};
