// The trace's line: digits enough to tell neighbouring pixel columns apart
// however deep the zoom, and the undefined point said as such.
#include "plot/core/CurveTrace.h"

#include "numeric/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CurveTrace, NeighbouringColumnsReadApartAtEveryDepth)
{
    const int columns = 437;
    for (const double width : {20.0, 1e-4, 1e-9}) {
        const double left = M_PI - width / 2, step = width / columns;
        const int digits = DigitsToTellApart(M_PI, step);
        for (int column = 0; column < columns; ++column) {
            const double x = left + column * step;
            ASSERT_NE(FormatGeneral(x, digits), FormatGeneral(x + step, digits))
                << "a view " << width << " wide, column " << column << ", " << digits << " digits";
        }
    }
    EXPECT_EQ(DigitsToTellApart(M_PI, 20.0 / columns), 6) << "the readout's six digits while they do";
}

TEST(CurveTrace, TheLineSaysUndefinedWhereTheFormulaIs)
{
    TTracedPoint point{2.5, 0, 0, 0, true};
    EXPECT_EQ(TraceText(point, false, 6), "curve: x = 2.5,  y = undefined");
    EXPECT_EQ(TraceText(point, true, 6), "curve: angle = 2.5,  r = undefined");
    point = {0.5, 2, 2 * std::cos(0.5), 2 * std::sin(0.5), false};
    EXPECT_EQ(TraceText(point, true, 4), "curve: angle = 0.5,  r = 2,  x = 1.755,  y = 0.9589");
}

}  // namespace
