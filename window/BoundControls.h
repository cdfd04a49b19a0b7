// The main window's controls bound once to their fields of the settings
// record and of the plot request: the form is filled, read back and saved
// through one table. Included by the window's own source alone.
#pragma once

#include "plot/core/PlotRequest.h"
#include "settings/SettingsFile.h"
#include "ui_GraphMainForm.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>

namespace bound_controls {

inline QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// A control's value as the settings record and the plot request hold it.
inline std::string ValueOf(const QLineEdit* control)
{
    return control->text().toStdString();
}
inline std::int32_t ValueOf(const QSlider* control)
{
    return control->value();
}
inline bool ValueOf(const QAction* control)
{
    return control->isChecked();
}
inline std::string ValueOf(const QLabel* control)
{
    return control->text().toStdString();
}
inline void Show(QLineEdit* control, const std::string& value)
{
    control->setText(FromStd(value));
}
inline void Show(QSlider* control, std::int32_t value)
{
    control->setValue(value);
}
inline void Show(QAction* control, bool value)
{
    control->setChecked(value);
}
inline void Show(QLabel* control, const std::string& value)
{
    control->setText(FromStd(value));
}

// Calls `changed` whenever the user or the program changes the control.
template <class Changed>
void WatchControl(QLineEdit* control, Changed changed)
{
    QObject::connect(control, &QLineEdit::textChanged, changed);
}
template <class Changed>
void WatchControl(QSlider* control, Changed changed)
{
    QObject::connect(control, &QSlider::valueChanged, changed);
}
template <class Changed>
void WatchControl(QAction* control, Changed changed)
{
    QObject::connect(control, &QAction::toggled, changed);
}
template <class Changed>
void WatchControl(QLabel*, Changed)
{
}

// A control bound to its field of the settings record (whose key, default
// and range the settings file's key table gives), if it has one, and to its
// field of the plot request, if it has one.
template <class Control, class Value>
struct TBoundControl {
    Control* Ui_TGraphMainForm::*Widget;
    Value TSettings::*Setting;
    Value TPlotRequest::*Request;
};

template <class Control, class Value>
constexpr TBoundControl<Control, Value> Bind(Control* Ui_TGraphMainForm::*widget, Value TSettings::*setting,
                                             std::type_identity_t<Value> TPlotRequest::*request = nullptr)
{
    return {widget, setting, request};
}

template <class Control, class Value>
constexpr TBoundControl<Control, Value> Bind(Control* Ui_TGraphMainForm::*widget, std::nullptr_t,
                                             Value TPlotRequest::*request)
{
    return {widget, nullptr, request};
}

// Every control that carries a setting or a part of the plot request, once.
// The form is filled from this table, read back into each plot request and
// saved through it. z enters the request as the track bar's position in
// thousandths; the caption of the mode is no setting.
constexpr auto BoundControls = std::make_tuple(
    Bind(&Ui::TGraphMainForm::YFormula, &TSettings::YFormula, &TPlotRequest::Formula),
    Bind(&Ui::TGraphMainForm::XlowEdit, &TSettings::XLow, &TPlotRequest::XlowText),
    Bind(&Ui::TGraphMainForm::XhighEdit, &TSettings::Xhigh, &TPlotRequest::XhighText),
    Bind(&Ui::TGraphMainForm::TrackBar1, &TSettings::Z),
    Bind(&Ui::TGraphMainForm::Cartesian1, &TSettings::Cartesian, &TPlotRequest::Cartesian),
    Bind(&Ui::TGraphMainForm::Trace1, &TSettings::Trace),
    Bind(&Ui::TGraphMainForm::Label1, nullptr, &TPlotRequest::TitleCaption));

template <class Each>
void ForEachBoundControl(Each&& each)
{
    std::apply([&](const auto&... row) { (each(row), ...); }, BoundControls);
}


}  // namespace bound_controls
