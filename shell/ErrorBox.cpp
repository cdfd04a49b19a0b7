// The standard error box and the application's last guard.
#include "shell/ErrorBox.h"

#include "numeric/Exceptions.h"
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

void ShowStandardError(QWidget* parent, const std::exception& error)
{
    ShowStandardError(parent, MessageOf(error));
}

void ShowStandardError(QWidget* parent, const QString& message)
{
    ResetFpu();
    const QString text = QString::fromStdString(ErrorSentence(message.toStdString()));
    UserDialogs().ShowMessage(parent, ApplicationTitle, text, QMessageBox::Critical);
}

TOrvalisApplication::TOrvalisApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TOrvalisApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
