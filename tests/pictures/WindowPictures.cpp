// Pictures of the windows as they first come up, for looking at and for
// comparing runs under different font configurations: the main window's
// client area below the menu bar, Preferences, About, and the help window.
// usage: orvalis_window_pictures FOLDER
#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "numeric/FloatingPoint.h"
#include "plot/ProgramFaces.h"
#include "preferences/PrefDialog.h"
#include "shell/ErrorBox.h"
#include "window/GraphMainForm.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <cstdio>

namespace {

bool Save(QWidget& window, QWidget& shown, const QString& file)
{
    if (!window.isVisible()) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
    }
    if (shown.grab().save(file))
        return true;
    std::fprintf(stderr, "orvalis_window_pictures: cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: orvalis_window_pictures FOLDER\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    UseProgramFaces();
    TOrvalisApplication application(argc, argv);
    ResetFpu();
    // A steady text cursor: the pictures do not depend on when they are taken.
    QApplication::setCursorFlashTime(0);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir settings;
    if (!QDir().mkpath(folder.path()) || !settings.isValid())
        return 1;

    bool saved = true;
    {
        // The client area: the menu bar has the desktop's font.
        TGraphMainForm window(settings.filePath(QStringLiteral("Orvalis.INI")).toStdString());
        saved = Save(window, *window.centralWidget(), folder.filePath(QStringLiteral("MainWindow.png"))) && saved;
    }
    {
        TPrefDialog preferences;
        TDrawingSettings drawing;
        drawing.LineWidth = 3;  // Wide
        drawing.Ticks = false;
        preferences.Fill(drawing);
        saved = Save(preferences, preferences, folder.filePath(QStringLiteral("PrefDialog.png"))) && saved;
    }
    {
        TAboutForm about;
        saved = Save(about, about, folder.filePath(QStringLiteral("AboutForm.png"))) && saved;
    }
    {
        // A document in the desktop's fonts: for looking only.
        QWidget owner;
        THelpWindow& help = ShowHelpContents(&owner);
        saved = Save(help, help, folder.filePath(QStringLiteral("HelpWindow.png"))) && saved;
        help.Browser().setSource(QUrl(THelpWindow::DocumentUrl.toString() + QStringLiteral("#errors")));
        saved = Save(help, help, folder.filePath(QStringLiteral("HelpWindowErrors.png"))) && saved;
    }
    return saved ? 0 : 1;
}
