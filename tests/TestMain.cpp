// Test entry: the tests run under the program's floating-point control word.
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ResetFpu();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
