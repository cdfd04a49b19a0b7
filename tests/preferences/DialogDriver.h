// Drives the Preferences dialog as a user would: EditPreferences runs for
// real, and a callback acts on the open dialog from inside its event loop.
#pragma once

#include "plot/core/DrawingSettings.h"
#include "shell/UserDialogs.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers the colour chooser from a queue (nothing = the user cancels) and
// records the colour it was opened at; any other dialog fails the test.
class TFakeColorChooser : public TUserDialogs {
public:
    std::deque<std::optional<QColor>> Answers;
    std::vector<QColor> OpenedAt;

    void ShowMessage(QWidget*, const QString& caption, const QString& text, QMessageBox::Icon) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<TSaveChoice> ChooseSaveFileName(QWidget*, const QStringList&, const QString&, qsizetype) override;
};

struct TEditOutcome {
    bool Confirmed = false;
    TDrawingSettings Settings;
};

// Calls EditPreferences on a copy of `start` and, once the dialog is up,
// runs `user` on it; `user` must close it. The dialog is released before
// this returns.
TEditOutcome EditAsUser(const TDrawingSettings& start, const std::function<void(QDialog&)>& user);

// User actions on the open dialog, each naming its control.
void Click(QDialog& dialog, const char* control);
void PressEnterOn(QDialog& dialog, const char* control);
