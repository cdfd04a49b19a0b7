// The standard error box and the application's last guard.
#include "shell/ErrorBox.h"

#include "numeric/FloatingPoint.h"
#include "shell/UserDialogs.h"

#include <new>

namespace {

const QString ApplicationTitle = QStringLiteral("Orvalis");

QString MessageOf(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("Out of memory");
    return QString::fromUtf8(error.what());
}

}  // namespace

QString StandardErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > '.')
        return message + '.';
    return message;
}

void ShowStandardError(QWidget* parent, const std::exception& error)
{
    ShowStandardError(parent, MessageOf(error));
}

void ShowStandardError(QWidget* parent, const QString& message)
{
    ResetFpu();
    UserDialogs().ShowMessage(parent, ApplicationTitle, StandardErrorText(message), QMessageBox::Critical);
}

TOrvalisApplication::TOrvalisApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TOrvalisApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
