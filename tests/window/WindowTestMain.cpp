// Entry of the window tests: Qt's offscreen platform, so no display is
// needed, and the program's floating-point control word.
#include "numeric/FloatingPoint.h"
#include "plot/ProgramFaces.h"
#include "shell/ErrorBox.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    UseProgramFaces();
    TOrvalisApplication application(argc, argv);
    ResetFpu();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
