// The Preferences dialog: the four colours, the line width and the two
// drawing options, shown and edited on the dialog's own controls.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TPrefDialogForm;
}
class TColorButton;

class TPrefDialog : public QDialog {
    Q_OBJECT

public:
    // Line widths the two items stand for.
    static constexpr std::int32_t NarrowLineWidth = 1;
    static constexpr std::int32_t WideLineWidth = 3;

    explicit TPrefDialog(QWidget* parent = nullptr);
    ~TPrefDialog() override;

    // Puts `settings` on the controls: the colours on the buttons' faces,
    // "Wide" for a line width above 1 and "Narrow" otherwise, the two checks.
    void Fill(const TDrawingSettings& settings);
    // What the controls show now, the line width as 1 (Narrow) or 3 (Wide).
    TDrawingSettings Settings() const;

    // Lets the user choose a new face colour for `button` with the colour
    // chooser, opened at its present colour; a cancelled chooser changes
    // nothing.
    void ColorBtnClick(TColorButton& button);

    void setVisible(bool visible) override;

private:
    std::unique_ptr<Ui::TPrefDialogForm> Form;
};
