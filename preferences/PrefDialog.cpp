// The Preferences dialog: its controls come from PrefDialog.ui; this file
// binds each drawing setting to the control its row names, moves the
// settings on and off them and runs the colour chooser.
#include "preferences/PrefDialog.h"

#include "preferences/ColorButton.h"
#include "preferences/ColorValue.h"
#include "ui_PrefDialog.h"
#include "plot/core/CurveSound.h"
#include "shell/UserDialogs.h"

#include <QAbstractButton>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

namespace {

// The Curve menu's settings are the main window's; the dialog passes them on.
bool OnDialog(const TDrawingSetting& setting)
{
    return setting.Place == TControlPlace::PreferencesDialog;
}

// The dialog's font height in pixels; Designer files can only give points.
constexpr int FontPixels = 11;

// One visitor made of a lambda for each kind of field.
template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

// The items of a whole number's group, each with the value it stands for.
std::vector<std::pair<QAbstractButton*, std::int32_t>> Items(const QWidget& group)
{
    std::vector<std::pair<QAbstractButton*, std::int32_t>> items;
    for (QAbstractButton* item : group.findChildren<QAbstractButton*>()) {
        const QVariant value = item->property(TPrefDialog::ItemValueProperty);
        if (value.isValid())
            items.emplace_back(item, value.toInt());
    }
    return items;
}

}  // namespace

TPrefDialog::TPrefDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TPrefDialogForm>())
{
    Form->setupUi(this);
    QFont dialogFont = font();
    dialogFont.setPixelSize(FontPixels);
    setFont(dialogFont);

    // A row whose control the form lacks, or of another kind, is a mistake
    // of the program that no user could get past: it stops here, by name.
    for (const TDrawingSetting& setting : DrawingSettingsTable) {
        if (!OnDialog(setting))
            continue;
        QWidget* control = Control(setting);
        const bool fits = std::visit(
            TOverloaded{[&](TColor TDrawingSettings::*) { return qobject_cast<TColorButton*>(control) != nullptr; },
                        [&](std::int32_t TDrawingSettings::*) { return !Items(*control).empty(); },
                        [&](bool TDrawingSettings::*) { return qobject_cast<QAbstractButton*>(control) != nullptr; }},
            setting.Field);
        if (!fits)
            qFatal("The Preferences form's control %s cannot show the setting %s", setting.Widget, setting.Key);
        if (auto* button = qobject_cast<TColorButton*>(control))
            connect(button, &QPushButton::clicked, this, [this, button] { ColorBtnClick(*button); });
    }
    Form->SoundSecondsBox->setRange(MinSoundSeconds, MaxSoundSeconds);
    Form->SoundSecondsBox->setValue(DefaultSoundSeconds);
}

TPrefDialog::~TPrefDialog() = default;

QWidget* TPrefDialog::Control(const TDrawingSetting& setting) const
{
    auto* control = findChild<QWidget*>(QString::fromLatin1(setting.Widget));
    if (!control)
        qFatal("The Preferences form has no control %s for the setting %s", setting.Widget, setting.Key);
    return control;
}

void TPrefDialog::Fill(const TDrawingSettings& settings)
{
    Filled = settings;
    for (const TDrawingSetting& setting : DrawingSettingsTable) {
        if (!OnDialog(setting))
            continue;
        QWidget* control = Control(setting);
        std::visit(TOverloaded{[&](TColor TDrawingSettings::*field) {
                                   qobject_cast<TColorButton*>(control)->SetColor(settings.*field);
                               },
                               [&](std::int32_t TDrawingSettings::*field) {
                                   auto items = Items(*control);
                                   std::sort(items.begin(), items.end(),
                                             [](const auto& a, const auto& b) { return a.second < b.second; });
                                   const auto fit = std::find_if(items.begin(), items.end(), [&](const auto& item) {
                                       return item.second >= settings.*field;
                                   });
                                   (fit != items.end() ? fit->first : items.back().first)->setChecked(true);
                               },
                               [&](bool TDrawingSettings::*field) {
                                   qobject_cast<QAbstractButton*>(control)->setChecked(settings.*field);
                               }},
                   setting.Field);
    }
}

TDrawingSettings TPrefDialog::Settings() const
{
    TDrawingSettings settings = Filled;
    for (const TDrawingSetting& setting : DrawingSettingsTable) {
        if (!OnDialog(setting))
            continue;
        QWidget* control = Control(setting);
        std::visit(TOverloaded{[&](TColor TDrawingSettings::*field) {
                                   settings.*field = qobject_cast<TColorButton*>(control)->Color();
                               },
                               [&](std::int32_t TDrawingSettings::*field) {
                                   for (const auto& [item, value] : Items(*control))
                                       if (item->isChecked())
                                           settings.*field = std::clamp(value, setting.Min, setting.Max);
                               },
                               [&](bool TDrawingSettings::*field) {
                                   settings.*field = qobject_cast<QAbstractButton*>(control)->isChecked();
                               }},
                   setting.Field);
    }
    return settings;
}

void TPrefDialog::FillSoundSeconds(std::int32_t seconds)
{
    Form->SoundSecondsBox->setValue(seconds);
}

std::int32_t TPrefDialog::SoundSeconds() const
{
    return Form->SoundSecondsBox->value();
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
