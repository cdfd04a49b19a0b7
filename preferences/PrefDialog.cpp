// The Preferences dialog: its controls come from PrefDialog.ui; this file
// moves the settings on and off them and runs the colour chooser.
#include "preferences/PrefDialog.h"

#include "preferences/ColorValue.h"
#include "ui_PrefDialog.h"
#include "shell/UserDialogs.h"

#include <QScreen>

namespace {

// The dialog's font height in pixels; Designer files can only give points.
constexpr int FontPixels = 11;

}  // namespace

TPrefDialog::TPrefDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TPrefDialogForm>())
{
    Form->setupUi(this);
    QFont dialogFont = font();
    dialogFont.setPixelSize(FontPixels);
    setFont(dialogFont);

    for (TColorButton* button : {Form->BackBtn, Form->AxesBtn, Form->GoodBtn, Form->BadBtn})
        connect(button, &QPushButton::clicked, this, [this, button] { ColorBtnClick(*button); });
}

TPrefDialog::~TPrefDialog() = default;

void TPrefDialog::Fill(const TDrawingSettings& settings)
{
    Form->BackBtn->SetColor(settings.BackgroundColor);
    Form->AxesBtn->SetColor(settings.AxisColor);
    Form->GoodBtn->SetColor(settings.GoodPointColor);
    Form->BadBtn->SetColor(settings.BadPointColor);
    (settings.LineWidth > NarrowLineWidth ? Form->WideItem : Form->NarrowItem)->setChecked(true);
    Form->BoundaryItem->setChecked(settings.Boundary);
    Form->TicksItem->setChecked(settings.Ticks);
}

TDrawingSettings TPrefDialog::Settings() const
{
    TDrawingSettings settings;
    settings.BackgroundColor = Form->BackBtn->Color();
    settings.AxisColor = Form->AxesBtn->Color();
    settings.GoodPointColor = Form->GoodBtn->Color();
    settings.BadPointColor = Form->BadBtn->Color();
    settings.LineWidth = Form->NarrowItem->isChecked() ? NarrowLineWidth : WideLineWidth;
    settings.Boundary = Form->BoundaryItem->isChecked();
    settings.Ticks = Form->TicksItem->isChecked();
    return settings;
}

void TPrefDialog::ColorBtnClick(TColorButton& button)
{
    if (const std::optional<QColor> chosen = UserDialogs().ChooseColor(this, ColorToQColor(button.Color())))
        button.SetColor(QColorToColor(*chosen));
}

void TPrefDialog::setVisible(bool visible)
{
    // Centred on the screen, not over the window that opened it. Before the
    // first show the frame is not known yet, so the window manager's frame
    // shifts the dialog by half its size at most.
    if (visible && !isVisible() && !testAttribute(Qt::WA_Moved)) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::setVisible(visible);
}
