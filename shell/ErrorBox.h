// The standard error box: what the user sees of an error that ends a user
// action, and the guard that turns an escaping error into it.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>

class QWidget;

// Resets the floating-point unit, then shows the error's message with its
// closing period (ErrorSentence) in a modal box captioned "Orvalis" with the
// stop icon and one OK button.
void ShowStandardError(QWidget* parent, const std::exception& error);
void ShowStandardError(QWidget* parent, const QString& message);

// Runs one user action; an error that escapes it ends the action there and
// is shown in the standard error box. Whatever the action changed before
// the error stays changed.
template <class Action>
void RunGuarded(QWidget* parent, Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        ShowStandardError(parent, error);
    } catch (...) {
        ShowStandardError(parent, QStringLiteral("Unknown error"));
    }
}

// The application object, whose event delivery is the last guard: an error
// that escapes any event handler is shown in the standard error box. It
// names the program to the desktop and gives every window its icon.
class TOrvalisApplication : public QApplication {
public:
    TOrvalisApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
