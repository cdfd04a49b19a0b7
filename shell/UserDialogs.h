// The one seam through which the program asks the user anything: message
// boxes, the colour chooser and the save-file dialog. The real dialogs are
// installed by default; tests install answers of their own, so no test ever
// waits on a modal window.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// What the save-file dialog was answered: the name exactly as chosen and the
// filter chosen, as its index in the filters offered.
struct TSaveChoice {
    QString Name;
    qsizetype Filter = 0;
};

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;

    // A modal box with one OK button, captioned `caption`, centred on the
    // screen; NoIcon for the program's own reports, Critical for errors.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                             QMessageBox::Icon icon) = 0;
    // The colour chooser, opened at `initial`; nothing when the user cancels.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
    // The save-file dialog offering `suggestedName` and the `filters`, the one
    // at `suggestedFilter` chosen, with no question before overwriting; the
    // name exactly as chosen and the filter chosen, or nothing.
    virtual std::optional<TSaveChoice> ChooseSaveFileName(QWidget* parent, const QStringList& filters,
                                                          const QString& suggestedName,
                                                          qsizetype suggestedFilter) = 0;
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
