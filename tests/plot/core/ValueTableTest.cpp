// The table of values: the checks of from, to and step, the rows it makes
// and their CSV text.
#include "plot/core/ValueTable.h"

#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ValueTable, BadInputNamesItsField)
{
    const struct { const char *from, *to, *step, *field; } cases[] = {
        {"abc", "1", "1", "from"},   {"0", "", "1", "to"},        {"0", "1", "1,5x", "step"},
        {"1e400", "1", "1", "from"}, {"0", "1", "0", "step"},      {"0", "1", "-0.5", "step"},
        {"1", "0", "0.5", "step"},   {"0", "1e7", "1", "step"},    {"0", "1", "1e-300", "step"},
    };
    for (const auto& c : cases) {
        try {
            ReadTableRange(c.from, c.to, c.step);
            ADD_FAILURE() << c.from << ":" << c.to << ":" << c.step << " was taken";
        } catch (const ETableInput& error) {
            EXPECT_EQ(error.Field(), c.field) << c.from << ":" << c.to << ":" << c.step;
            EXPECT_EQ(error.Message().rfind(std::string(c.field) + ": ", 0), 0u) << error.Message();
        }
    }
    EXPECT_THROW(MakeTableRange(0, INFINITY, 1), ETableInput);
    EXPECT_THROW(MakeTableRange(0, 1, NAN), ETableInput);
}

TEST(ValueTable, RowsReachTheEndWithinRounding)
{
    const struct { double from, to, step; std::int64_t rows; double last; } cases[] = {
        {-1, 1, 0.5, 5, 1},          {0, 0.3, 0.1, 4, 0.3},   {1, -1, -0.5, 5, -1},
        {2, 2, 1, 1, 2},             {0, 1, 0.3, 4, 0.9},     {0, 9999999, 1, 10000000, 9999999},
        {-10, 10, 0.01, 2001, 10},
    };
    for (const auto& c : cases) {
        const TTableRange range = MakeTableRange(c.from, c.to, c.step);
        EXPECT_EQ(range.RowCount, c.rows) << c.from << ":" << c.to << ":" << c.step;
        EXPECT_EQ(TableX(range, 0), c.from);
        EXPECT_NEAR(TableX(range, range.RowCount - 1), c.last, 1e-15 * std::fabs(c.last));
    }
    EXPECT_EQ(TableX(MakeTableRange(0, 0.3, 0.1), 3), 0.3);
}

TEST(ValueTable, RowsAnywhereWithoutTheOthersAndTheirCsv)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("sqrt(x)*z");
    evaluator.Compile();
    const TTableRange range = MakeTableRange(-1, 4, 0.25);
    TTableRow rows[3];
    // A window of rows from the middle, the last one cut at the table's end.
    ASSERT_EQ(TableRows(evaluator, range, 2.0, false, 19, 3, rows), 2);
    EXPECT_EQ(rows[0].X, 3.75);
    EXPECT_EQ(rows[1].X, 4.0);
    EXPECT_EQ(rows[1].Value, 4.0);
    ASSERT_EQ(TableRows(evaluator, range, 2.0, true, 0, 1, rows), 1);
    EXPECT_TRUE(rows[0].Undefined);
    EXPECT_EQ(TableRows(evaluator, range, 2.0, false, range.RowCount, 1, rows), 0);

    std::string text;
    WriteTableCsv(evaluator, MakeTableRange(-1, 1, 1), 0.1, false, [&](std::string_view block) { text += block; });
    EXPECT_EQ(text, "x,y\r\n-1,\r\n0,0\r\n1,0.1\r\n");
    text.clear();
    evaluator.SetFormula("1");
    evaluator.Compile();
    WriteTableCsv(evaluator, MakeTableRange(0, 3.14159265358979323846 / 2, 3.14159265358979323846 / 2), 0, true,
                  [&](std::string_view block) { text += block; });
    // x = r cos(angle) is the x87 unit's cosine near π/2: some 6e-17.
    EXPECT_EQ(text.substr(0, 45), "angle,r,x,y\r\n0,1,1,0\r\n1.5707963267948966,1,6.");
    EXPECT_EQ(text.substr(text.size() - 8), "e-17,1\r\n");
}

}  // namespace
