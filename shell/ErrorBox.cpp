// The standard error box and the application's last guard.
#include "shell/ErrorBox.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "shell/UserDialogs.h"

#include <QIcon>

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

TOrvalisApplication::TOrvalisApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ApplicationTitle);
    // The desktop matches the windows with the menu entry of this name (the
    // Wayland app_id), and every window without an icon of its own shows
    // the program's: the installed theme's, else the one built in.
    setDesktopFileName(QStringLiteral("org.orvalis.Orvalis"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.orvalis.Orvalis"),
                                   QIcon(QStringLiteral(":/icons/org.orvalis.Orvalis.svg"))));
}

bool TOrvalisApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
