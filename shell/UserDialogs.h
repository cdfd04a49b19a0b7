// The one seam through which the program asks the user anything: message
// boxes, the colour chooser and the save-file dialog. The real dialogs are
// installed by default; tests install answers of their own, so no test ever
// waits on a modal window.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;

    // A modal box with one OK button, captioned `caption`, centred on the
    // screen; NoIcon for the program's own reports, Critical for errors.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                             QMessageBox::Icon icon) = 0;
    // The colour chooser, opened at `initial`; nothing when the user cancels.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
    // The save-file dialog offering `suggestedName`, with one filter and no
    // question before overwriting; the name exactly as chosen, or nothing.
    virtual std::optional<QString> ChooseSaveFileName(QWidget* parent, const QString& filter,
                                                      const QString& suggestedName) = 0;
};

// The dialogs in use.
TUserDialogs& UserDialogs();

// Makes `dialogs` the ones in use until the returned guard is destroyed.
class TUserDialogsOverride {
public:
    explicit TUserDialogsOverride(TUserDialogs& dialogs);
    ~TUserDialogsOverride();
    TUserDialogsOverride(const TUserDialogsOverride&) = delete;
    TUserDialogsOverride& operator=(const TUserDialogsOverride&) = delete;

private:
    TUserDialogs* Previous;
};
