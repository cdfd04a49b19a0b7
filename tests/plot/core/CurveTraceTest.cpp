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

namespace {

// What a screen reader says: short values, the kind of point where the
// marker stands on one, and large values not cut to an exponent.
TEST(CurveTrace, TheAnnouncementSaysThePointShortly)
{
    const TTracedPoint point{1.5, std::sin(1.5), 1.5, std::sin(1.5), false};
    EXPECT_EQ(TraceAnnouncement(point, false, 6, nullptr), "x 1.5, y 0.997");
    EXPECT_EQ(TraceAnnouncement({2, 0, 0, 0, true}, false, 6, nullptr), "x 2, undefined");
    EXPECT_EQ(TraceAnnouncement({0.5, 2, 0, 0, false}, true, 6, nullptr), "angle 0.5, r 2");
    EXPECT_EQ(TraceAnnouncement({1, 123456.7, 0, 0, false}, false, 6, nullptr), "x 1, y 123457");
    const TPointOfInterest root{TPointKind::Root, M_PI, 0}, top{TPointKind::Maximum, M_PI / 2, 1};
    EXPECT_EQ(TraceAnnouncement({M_PI, 1e-16, 0, 0, false}, false, 6, &root), "root at x 3.14159");
    EXPECT_EQ(TraceAnnouncement({M_PI / 2, 1, 0, 0, false}, false, 6, &top), "maximum at x 1.5708, y 1");
}

}  // namespace
