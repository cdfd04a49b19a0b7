// Tests of the integer reading of settings values: prefixes, signs, blanks
// and the 32-bit edges.
#include "numeric/IniInteger.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct IntegerCase {
    const char* Text;
    std::optional<std::int32_t> Value;
};

const IntegerCase IntegerCases[] = {
    {"0", 0}, {"123", 123}, {"00012", 12}, {"-5", -5}, {"+7", 7}, {"  42", 42}, {"  -42", -42},
    {"2147483647", std::numeric_limits<std::int32_t>::max()},
    {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    {"2147483648", {}}, {"-2147483649", {}}, {"99999999999999999999", {}},
    {"0xFF", 255}, {"0XfF", 255}, {"$FF", 255}, {"$ff", 255}, {"xff", 255}, {"Xff", 255},
    {"  $10", 16}, {"  0x10", 16}, {"0x7FFFFFFF", 0x7FFFFFFF}, {"0xFFFFFFFF", -1},
    {"$80000000", std::numeric_limits<std::int32_t>::min()}, {"0x00000000FF", 255},
    {"0x100000000", {}}, {"$123456789", {}},
    // No digits, a sign before a hexadecimal prefix, or anything after the digits.
    {"", {}}, {"   ", {}}, {"0x", {}}, {"0X", {}}, {"$", {}}, {"x", {}}, {"-", {}}, {"+", {}},
    {"-$5", {}}, {"-0x5", {}}, {"+x5", {}}, {"0x-5", {}}, {"0x 5", {}}, {"0xG", {}},
    {"42 ", {}}, {"12abc", {}}, {"abc", {}}, {"1.5", {}}, {"1e3", {}}, {"\t5", {}}, {"- 5", {}},
};

TEST(IniIntegerTest, ReadsDecimalAndHexadecimalFormsWithinThe32BitRange)
{
    for (const IntegerCase& c : IntegerCases)
        EXPECT_EQ(ParseIniInteger(c.Text), c.Value) << '"' << c.Text << '"';
}

} // namespace
