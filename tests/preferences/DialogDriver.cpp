// Drives the Preferences dialog as a user would, from inside its event loop.
#include "DialogDriver.h"

#include "preferences/EditPreferences.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

void TFakeColorChooser::ShowMessage(QWidget*, const QString& caption, const QString& text, QMessageBox::Icon)
{
    ADD_FAILURE() << "unexpected message box " << caption.toStdString() << ": " << text.toStdString();
}

std::optional<QColor> TFakeColorChooser::ChooseColor(QWidget* parent, const QColor& initial)
{
    EXPECT_NE(parent, nullptr) << "the chooser belongs to the dialog";
    OpenedAt.push_back(initial);
    if (Answers.empty()) {
        ADD_FAILURE() << "colour chooser opened without a prepared answer";
        return std::nullopt;
    }
    const std::optional<QColor> answer = Answers.front();
    Answers.pop_front();
    return answer;
}

std::optional<TSaveChoice> TFakeColorChooser::ChooseSaveFileName(QWidget*, const QStringList&, const QString&, qsizetype)
{
    ADD_FAILURE() << "unexpected save dialog";
    return std::nullopt;
}

TEditOutcome EditAsUser(const TDrawingSettings& start, const std::function<void(QDialog&)>& user)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog is open";
            return;
        }
        ran = true;
        user(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the user's actions left the dialog open";
            dialog->reject();
        }
    });
    TEditOutcome outcome{false, start};
    TDrawingSettings& s = outcome.Settings;
    outcome.Confirmed = EditPreferences(s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ran) << "the dialog never came up";
    return outcome;
}

void Click(QDialog& dialog, const char* control)
{
    auto* widget = dialog.findChild<QWidget*>(control);
    ASSERT_NE(widget, nullptr) << control;
    // A check box or radio button takes clicks on its box and caption only,
    // not on the blank beyond the caption, where its middle may lie: the
    // user clicks the box.
    QPoint at = widget->rect().center();
    if (qobject_cast<QCheckBox*>(widget) != nullptr || qobject_cast<QRadioButton*>(widget) != nullptr) {
        const auto box = qobject_cast<QCheckBox*>(widget) != nullptr ? QStyle::PM_IndicatorWidth
                                                                      : QStyle::PM_ExclusiveIndicatorWidth;
        at.setX(widget->style()->pixelMetric(box, nullptr, widget) / 2);
    }
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void PressEnterOn(QDialog& dialog, const char* control)
{
    auto* widget = dialog.findChild<QWidget*>(control);
    ASSERT_NE(widget, nullptr) << control;
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, Qt::Key_Return);
}
