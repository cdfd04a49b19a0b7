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

namespace {

// The icon's pictures compiled into the program, one per size a desktop asks for.
QIcon BuiltInIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/org.orvalis.Orvalis-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

TOrvalisApplication::TOrvalisApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ApplicationTitle);
    // The desktop matches the windows with the menu entry of this name (the
    // Wayland app_id), and every window without an icon of its own shows
    // the program's: the installed theme's, else the one built in.
    setDesktopFileName(QStringLiteral("org.orvalis.Orvalis"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.orvalis.Orvalis"), BuiltInIcon()));
}

bool TOrvalisApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
