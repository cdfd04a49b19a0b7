// The world-to-pixel mappings and back, the x range texts, the usable
// windows, and the faults of an empty window or a position beyond the
// integer range.
#include "plot/core/ViewWindow.h"

#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include "WorldWindow.h"
#include "numeric/WithSeparator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr TPictureSize StartSize{507, 266};

void ExpectFlagsClear()
{
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << "a fault flag was left set";
}

TEST(ViewMapping, ColumnsAndRowsOfTheStartWindow)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    const struct { double x; std::int32_t column; } columns[] = {
        {-10, 35}, {-5, 144}, {0, 254}, {2.5, 308}, {10, 472}};
    for (const auto& c : columns)
        EXPECT_EQ(WorldToPixelX(view, StartSize, c.x), c.column) << "x = " << c.x;
    const struct { double y; std::int32_t row; } rows[] = {{-1, 231}, {0, 133}, {1, 35}};
    for (const auto& r : rows)
        EXPECT_EQ(WorldToPixelY(view, StartSize, r.y), r.row) << "y = " << r.y;
    ExpectFlagsClear();
}

TEST(ViewMapping, RoundsHalvesUpAndTruncatesTowardZeroLeftOfThePicture)
{
    // One world unit per pixel: x maps to column x + 35.
    const TViewWindow view = Window(0, 437, 0, 196);
    EXPECT_EQ(WorldToPixelX(view, StartSize, 10.5), 46);
    EXPECT_EQ(WorldToPixelX(view, StartSize, 10.49), 45);
    // −38.7 + 35 + 0.5 = −3.2 truncates to −3, not −4.
    EXPECT_EQ(WorldToPixelX(view, StartSize, -38.7), -3);
    // −36.7 is the position −1.7, which becomes −1; −36.2 is −1.2, which becomes 0.
    EXPECT_EQ(WorldToPixelX(view, StartSize, -36.7), -1);
    EXPECT_EQ(WorldToPixelX(view, StartSize, -36.2), 0);
}

TEST(ViewMapping, PixelToWorldInvertsWithoutRounding)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    double x, y;
    PixelToWorld(view, StartSize, 35, 35, x, y);
    EXPECT_EQ(x, -10.0);
    EXPECT_EQ(y, 1.0);
    PixelToWorld(view, StartSize, 472, 231, x, y);
    EXPECT_EQ(x, 10.0);
    EXPECT_EQ(y, -1.0);
    // The margin lies outside the window.
    PixelToWorld(view, StartSize, 0, 266, x, y);
    EXPECT_DOUBLE_EQ(x, -10.0 - 35 * 20.0 / 437);
    EXPECT_DOUBLE_EQ(y, -1.0 - 35 * 2.0 / 196);
}

TEST(ViewMapping, EmptyWindowFaultsOnMappingButNotOnPixelToWorld)
{
    const TViewWindow view = Window(3, 3, 2, 2);
    EXPECT_THROW(WorldToPixelX(view, StartSize, 4), EZeroDivide);
    EXPECT_THROW(WorldToPixelX(view, StartSize, 3), EInvalidOp);  // 0 / 0
    EXPECT_THROW(WorldToPixelY(view, StartSize, 1), EZeroDivide);
    ExpectFlagsClear();
    double x, y;
    PixelToWorld(view, StartSize, 100, 100, x, y);
    EXPECT_EQ(x, 3.0);
    EXPECT_EQ(y, 2.0);
}

TEST(ViewMapping, PositionsBeyondTheIntegerRange)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    // Beyond 64 bits the conversion is an invalid operation.
    EXPECT_THROW(WorldToPixelX(view, StartSize, 1e300), EInvalidOp);
    EXPECT_THROW(WorldToPixelY(view, StartSize, -1e300), EInvalidOp);
    // Within 64 bits the low 32 bits are kept, without a fault.
    const double x = (4294967296.0 + 1000.0 - 35.0) * 20.0 / 437.0 - 10.0;
    const std::int32_t column = WorldToPixelX(view, StartSize, x);
    EXPECT_NEAR(column, 1000, 1);
    ExpectFlagsClear();
}

TEST(ViewMapping, PixelArithmeticOverflowIsAnIntegerOverflow)
{
    const TViewWindow view = Window(-10, 10, -1, 1);
    double x, y;
    EXPECT_THROW(PixelToWorld(view, StartSize, INT32_MIN, 0, x, y), EIntOverflow);
    EXPECT_THROW(PixelToWorld(view, StartSize, 0, INT32_MAX, x, y), EIntOverflow);
}

TEST(XRangeText, WritesSixSignificantDigitsAndReadsThemBack)
{
    EXPECT_EQ(XRangeText(-10), "-10");
    EXPECT_EQ(XRangeText(10), "10");
    EXPECT_EQ(XRangeText(60), "60");
    EXPECT_EQ(XRangeText(1.2345678), "1.23457");
    double low, high;
    ReadXRange(XRangeText(1.2345678), XRangeText(-0.000123456789), low, high);
    EXPECT_EQ(low, 1.23457);
    EXPECT_EQ(high, -0.000123457);
    // Two ends that agree in six digits come back equal.
    ReadXRange(XRangeText(1.0000001), XRangeText(1.0000002), low, high);
    EXPECT_EQ(low, high);
}

TEST(XRangeText, ReadingFailsBeforeAnythingIsStored)
{
    double low = 7, high = 8;
    try {
        ReadXRange("abc", "def", low, high);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        // The low end is read first.
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_THROW(ReadXRange("1", "1e400", low, high), EOverflow);
    EXPECT_EQ(low, 7);
    EXPECT_EQ(high, 8);
    ReadXRange("1e-400", " 2 ", low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 2.0);
    ExpectFlagsClear();
}

TEST(XRangeTexts, SixDigitsUntilTheEndsWouldMoveThenAsManyAsNeeded)
{
    const struct { double low, high; const char* lowText; const char* highText; } cases[] = {
        {-10, 10, "-10", "10"},
        {1.2345678, 2.3456789, "1.23457", "2.34568"},
        {-1e300, std::numeric_limits<double>::max(), "-1E300", "1.79769E308"},
        // Six digits would make both "-14.0503".
        {-14.05031234, -14.05029876, "-14.05031234", "-14.05029876"},
        {1e6 - 3e-5, 1e6 + 3e-5, "999999.99997", "1000000.00003"},
        // A collapsed range gets no more digits than reading back exactly needs.
        {0.1, 0.1, "0.1", "0.1"},
        {1.0 / 3, 1.0 / 3, "0.3333333333333333", "0.3333333333333333"},
    };
    for (const auto& c : cases) {
        const auto [lowText, highText] = XRangeTexts(c.low, c.high);
        EXPECT_EQ(lowText, c.lowText) << c.low << " .. " << c.high;
        EXPECT_EQ(highText, c.highText) << c.low << " .. " << c.high;
    }
    const WithSeparator comma(',');
    EXPECT_EQ(XRangeTexts(2.5, 2.5000001), std::make_pair(std::string("2,5"), std::string("2,5000001")));
    ExpectFlagsClear();
}

TEST(XRangeTexts, EveryUsableRangeReadsBackUsableWithItsEndsInPlace)
{
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> exponent(-300, 300), fraction(-1, 1), relativeSpan(-11, 0);
    for (int i = 0; i < 20000; ++i) {
        const double centre = fraction(random) * std::pow(10.0, exponent(random));
        const double span = std::max(std::fabs(centre), 1e-290) * std::pow(10.0, relativeSpan(random));
        const double low = centre - span / 2, high = centre + span / 2;
        if (!IsUsableRange(low, high))
            continue;
        const auto [lowText, highText] = XRangeTexts(low, high);
        double readLow = 0, readHigh = 0;
        ASSERT_TRUE(ReadUsableXRange(lowText, highText, readLow, readHigh)) << lowText << " .. " << highText;
        const long double tolerance = (static_cast<long double>(high) - low) / 1000;
        ASSERT_LE(std::fabs(readLow - static_cast<long double>(low)), tolerance) << lowText;
        ASSERT_LE(std::fabs(readHigh - static_cast<long double>(high)), tolerance) << highText;
    }
    ExpectFlagsClear();
}

TEST(UsableRange, OnlyRangesThatCanBePlottedAndNavigated)
{
    const double inf = std::numeric_limits<double>::infinity(), tiny = std::numeric_limits<double>::min();
    const struct { double low, high; bool usable; } ranges[] = {
        {-10, 10, true},       {10, -10, false},        {5, 5, false},       {-inf, 0, false},
        {0, std::nan(""), false}, {-1e300, 1e300, true}, {-1.01e300, 0, false}, {1, 1 + 2e-11, true},
        {1, 1 + 5e-12, false}, {0, 2 * tiny, true},     {-tiny / 4, tiny / 4, false},
    };
    for (const auto& r : ranges)
        EXPECT_EQ(IsUsableRange(r.low, r.high), r.usable) << r.low << " .. " << r.high;

    // The texts kept in the boxes, read as the window reads them.
    const struct { const char* low; const char* high; bool usable; } texts[] = {
        {"-10", "10", true}, {"10", "-10", true}, {"-10", "1e400", false}, {"1e-400", "0", false},
        {"5", "5", false},   {"abc", "1", false}, {"1", "1e309", false},   {"-1e301", "1", false},
    };
    for (const auto& t : texts) {
        double low = 7, high = 8;
        EXPECT_EQ(ReadUsableXRange(t.low, t.high, low, high), t.usable) << t.low << " .. " << t.high;
        EXPECT_TRUE(t.usable || (low == 7 && high == 8)) << t.low << " .. " << t.high;
        ExpectFlagsClear();
    }
}

}  // namespace
