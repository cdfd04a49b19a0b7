// Entry of the About and help window tests: widgets on Qt's offscreen
// platform, so no display is needed.
#include "plot/ProgramFaces.h"
#include <QApplication>

#include <gtest/gtest.h>

namespace {

QtMessageHandler StandardHandler = nullptr;

// The offscreen platform says so every time a window is raised or resized
// to its contents; that is no news to a test.
void QuietRaiseNotice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QStringLiteral("This plugin does not support ")))
        return;
    if (StandardHandler != nullptr)
        StandardHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    StandardHandler = qInstallMessageHandler(QuietRaiseNotice);
    UseProgramFaces();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
