// Entry of the Preferences dialog tests: a widget application on Qt's
// offscreen platform, so no display is needed.
#include "plot/ProgramFaces.h"
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    UseProgramFaces();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
