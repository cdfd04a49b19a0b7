// Tests of the checked arithmetic: integer sums at the 32-bit edges, the
// truncation of reals, the faulting division, and the unit after a fault.
#include "numeric/CheckedArithmetic.h"

#include "numeric/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Max64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min64 = std::numeric_limits<std::int64_t>::min();
constexpr long double TwoTo63 = 9223372036854775808.0L;
constexpr long double TwoTo32 = 4294967296.0L;
const long double Infinity = std::numeric_limits<long double>::infinity();
const long double NaN = std::numeric_limits<long double>::quiet_NaN();

// A raised floating-point fault must leave the unit as after start-up, also
// when the fault interrupted code under another control word.
void ExpectUnitReset(const char* what)
{
    EXPECT_EQ(FpuControlWord(), MaskedControlWord) << what;
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << what;
}

// Calls `f` under the truncating word (as if the fault came in the middle of
// a conversion) and returns the message of the error it raised, or "".
template <typename F>
std::string FaultOf(F f)
{
    LoadFpuControlWord(TruncatingControlWord);
    try {
        f();
    } catch (const EMathError& error) {
        return error.what();
    }
    ResetFpu();
    return "";
}

const std::string InvalidOp = "Invalid floating point operation";
const std::string ZeroDivide = "Floating point division by zero";

TEST(CheckedInteger, SumsAtTheEdges)
{
    struct TCase {
        char Operation;
        std::int32_t A, B;
        std::optional<std::int32_t> Result; // none: EIntOverflow
    };
    const TCase cases[] = {
        {'+', Max32, 0, Max32},
        {'+', Max32, 1, {}},
        {'+', Max32 - 1, 1, Max32},
        {'+', Min32, -1, {}},
        {'+', Min32, Max32, -1},
        {'+', Max32, Max32, {}},
        {'+', Min32, Min32, {}},
        {'-', Min32, 1, {}},
        {'-', Min32 + 1, 1, Min32},
        {'-', 0, Min32, {}},
        {'-', -1, Min32, Max32},
        {'-', Max32, -1, {}},
        {'-', 35, 2000, -1965},
        {'n', Min32, 0, {}},
        {'n', Max32, 0, -Max32},
        {'n', Min32 + 1, 0, Max32},
        {'n', 0, 0, 0},
    };
    for (const TCase& c : cases) {
        auto compute = [&] {
            return c.Operation == '+' ? CheckedAdd(c.A, c.B) : c.Operation == '-' ? CheckedSub(c.A, c.B) : CheckedNeg(c.A);
        };
        if (c.Result) {
            EXPECT_EQ(compute(), *c.Result) << c.Operation << ' ' << c.A << ' ' << c.B;
        } else {
            try {
                compute();
                ADD_FAILURE() << c.Operation << ' ' << c.A << ' ' << c.B << " did not overflow";
            } catch (const EIntError& error) {
                EXPECT_STREQ(error.what(), "Integer overflow");
            }
        }
    }
}

TEST(TruncToInt64, TruncatesTowardZero)
{
    struct TCase {
        long double Value;
        std::int64_t Result;
    };
    const TCase cases[] = {
        {2.9L, 2}, {-2.9L, -2}, {0.5L, 0}, {-0.5L, 0}, {-0.0L, 0}, {1e-4000L, 0},
        {2.5L, 2}, {3.5L, 3}, {-3.5L, -3},          // no rounding to even
        {TwoTo63 - 1, Max64},                        // the largest extended value below 2^63
        {-TwoTo63, Min64},
        {1e18L + 0.75L, 1000000000000000000},
        {4611686018427387903.5L, 4611686018427387903}, {-4611686018427387903.5L, -4611686018427387903},
        {4611686018427387904.5L, 4611686018427387904},  // either side of 2^62
    };
    // Whatever rounding the control word asks for: nearest, down, up, toward zero.
    for (const std::uint16_t rounding : {0x000, 0x400, 0x800, 0xC00}) {
        LoadFpuControlWord(MaskedControlWord | rounding);
        for (const TCase& c : cases)
            EXPECT_EQ(TruncToInt64(c.Value), c.Result) << c.Value << " rounding " << rounding;
        LoadFpuControlWord(MaskedControlWord);
    }
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(TruncToInt64, OutsideTheRangeIsInvalid)
{
    const long double values[] = {TwoTo63, -TwoTo63 - 1, 1e19L, -1e19L, 1e4000L, Infinity, -Infinity, NaN};
    for (long double value : values) {
        EXPECT_EQ(FaultOf([&] { TruncToInt64(value); }), InvalidOp) << value;
        ExpectUnitReset("TruncToInt64");
    }
}

TEST(TruncToLow32, KeepsTheLowBits)
{
    struct TCase {
        long double Value;
        std::int32_t Result;
    };
    const TCase cases[] = {
        {TwoTo32 + 5, 5},
        {2147483648.0L, Min32},
        {-2147483649.0L, Max32},
        {3e9L, -1294967296},
        {-TwoTo32 - 7.9L, -7},
        {-1234.99L, -1234},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TruncToLow32(c.Value), c.Result) << c.Value;
    EXPECT_EQ(FaultOf([] { TruncToLow32(TwoTo63); }), InvalidOp);
    ExpectUnitReset("TruncToLow32");
}

TEST(CheckedDivide, Faults)
{
    struct TCase {
        long double A, B;
        const std::string& Fault;
    };
    const TCase cases[] = {
        {1, 0, ZeroDivide},
        {-1, 0, ZeroDivide},
        {1, -0.0L, ZeroDivide},
        {1e-4940L, 0, ZeroDivide},
        {0, 0, InvalidOp},
        {-0.0L, 0, InvalidOp},
        {0, -0.0L, InvalidOp},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FaultOf([&] { CheckedDivide(c.A, c.B); }), c.Fault) << c.A << " / " << c.B;
        ExpectUnitReset("CheckedDivide");
    }
}

TEST(CheckedDivide, Quotients)
{
    EXPECT_EQ(CheckedDivide(6, 3), 2);
    EXPECT_EQ(CheckedDivide(1, 3), 1.0L / 3.0L); // at 64-bit precision, not rounded to a double
    EXPECT_EQ(CheckedDivide(0, 5), 0);
    EXPECT_EQ(CheckedDivide(Infinity, 0), Infinity); // as the unit: no zero divide for an infinity
    EXPECT_TRUE(std::isnan(CheckedDivide(NaN, 0)));
    // A quotient beyond the double range stays an extended value; storing it faults.
    const long double large = CheckedDivide(1e300L, 1e-300L);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
    EXPECT_THROW(StoreDouble(large), EOverflow);
    ExpectUnitReset("StoreDouble");
}

} // namespace
