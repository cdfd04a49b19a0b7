// The power routine and the integer power, called directly.
#include "RapidEvaluator/FormulaPower.h"

#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The value, or the fault flags the call left, as text; the flags are cleared.
std::string PowerOutcome(double base, double exponent)
{
    ClearFpuExceptions();
    const double value = FormulaPower(base, exponent);
    const std::uint16_t status = FpuStatusWord() & StatusFaults;
    ClearFpuExceptions();
    if (status & StatusZeroDivide) return "zero divide";
    if (status & StatusOverflow) return "overflow";
    if (status & StatusInvalid) return "invalid";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

} // namespace

TEST(FormulaPower, CasesInTheirOrder)
{
    const std::tuple<double, double, const char*> cases[] = {
        {0, 0, "1"},           {5, 0, "1"},          {std::numeric_limits<double>::infinity(), 0, "1"},
        {0, 3, "0"},           {0, 0.5, "0"},        {0, -1, "zero divide"},
        {0, -0.5, "zero divide"}, {-2, 3, "-8"},     {-2, -1, "-0.5"},
        {-2, 0.5, "invalid"},  {-1, 1e10, "invalid"}, {-1, 2147483647, "-1"},
        {-1, -2147483647, "-1"}, {2, 1023, "8.9884656743115795e+307"}, {2, 1024, "overflow"},
        {2, -1074, "4.9406564584124654e-324"}, {2, -1075, "0"}, {10, -5000, "overflow"},
        {1e-200, -2, "overflow"},
        {4, 0.5, "2"},         {1, 1e300, "1"},
    };
    for (const auto& [base, exponent, expected] : cases)
        EXPECT_EQ(PowerOutcome(base, exponent), expected) << base << " ^ " << exponent;
}

TEST(FormulaPower, IntegerPowerSquaresNoFurtherThanTheHighestBit)
{
    EXPECT_EQ(IntegerPower(3.0L, 0), 1.0L);
    EXPECT_EQ(IntegerPower(3.0L, 5), 243.0L);
    EXPECT_EQ(IntegerPower(2.0L, -3), 0.125L);
    EXPECT_EQ(IntegerPower(-1.0L, -2147483647), -1.0L);
    // 2^16383 is near the top of the extended range: a square beyond the
    // highest bit would overflow for nothing.
    ClearFpuExceptions();
    const long double big = IntegerPower(2.0L, 16383);
    EXPECT_EQ(FpuStatusWord() & StatusOverflow, 0);
    EXPECT_EQ(big, std::ldexp(1.0L, 16383));
    ClearFpuExceptions();
}

TEST(FormulaPower, NonIntegerPowersGoThroughTheLogarithm)
{
    // The result equals e^(Exponent · ln Base) computed by the LN and EXP
    // sequences, rounded to a double once.
    for (double base : {0.3, 2.0, 7.25, 1e10}) {
        for (double exponent : {0.5, -1.5, 3.3, 1e-3}) {
            const double value = FormulaPower(base, exponent);
            EXPECT_NEAR(value, std::pow(base, exponent), 1e-14 * std::pow(base, exponent)) << base << "^" << exponent;
        }
    }
}
