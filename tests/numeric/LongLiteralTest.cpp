// Numbers of any length: the digits of a formula's number are read in one pass
// and the value is decided by its magnitude, never by the digit loop running
// out of range; a compile leaves no fault flag behind for the next formula.
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"
#include "numeric/PowerOfTen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

std::string Zeros(std::size_t n)
{
    return std::string(n, '0');
}

// The value of DecimalDigitsValue and the fault flags it left.
struct TDigitsOutcome {
    long double Value;
    std::uint16_t Flags;
};

TDigitsOutcome ReadDigits(const std::string& digits, int exponent)
{
    ClearFpuExceptions();
    long double value = DecimalDigitsValue(digits, exponent);
    asm volatile("" : "+t"(value));
    const std::uint16_t flags = FpuStatusWord() & StatusFaults;
    ClearFpuExceptions();
    return {value, flags};
}

TEST(DecimalDigitsValue, LongDigitStringsKeepTheirMagnitude)
{
    struct TCase {
        const char* Name;
        std::string Digits;
        int Exponent;
        long double Value;
        std::uint16_t Flags;
    };
    const long double infinity = HUGE_VALL;
    const TCase cases[] = {
        {"5001 digits, 10^-5000", "1" + Zeros(5000), -5000, 1.0L, 0},
        {"4941 digits, 10^-9999", "1" + Zeros(4940), -9999, 0.0L, 0},
        {"6001 digits writing 1e800", "1" + Zeros(6000), -5200, ScaleByPowerOfTen(1.0L, 800), 0},  // as "1e800" reads
        {"6001 digits writing 1e5000", "1" + Zeros(6000), -1000, infinity, StatusOverflow},
        {"a million leading zeros", Zeros(1000000) + "25", -2, 0.25L, 0},
        {"all zeros", Zeros(100000), 5000, 0.0L, 0},
        {"20 digits and zeros", "12345678901234567890" + Zeros(30000), -30000, 12345678901234567890.0L, 0},
        {"10^4933 overflows", "1" + Zeros(4933), 0, infinity, StatusOverflow},
        {"10^4932 does not", "1" + Zeros(4932), -4932, 1.0L, 0},
    };
    for (const TCase& c : cases) {
        const TDigitsOutcome outcome = ReadDigits(c.Digits, c.Exponent);
        EXPECT_EQ(outcome.Value, c.Value) << c.Name;
        EXPECT_EQ(outcome.Flags, c.Flags) << c.Name;
    }
}

TEST(DecimalDigitsValue, UpToTwentyDigitsTheDigitLoopDecides)
{
    const char* digits[] = {"7", "18446744073709551615", "18446744073709551617", "99999999999999999999",
                            "00012345678901234567891"};
    for (const char* d : digits)
        for (int exponent : {-4000, -30, 0, 17, 300})
            EXPECT_EQ(DecimalDigitsValue(d, exponent), ScaleByPowerOfTen(DigitLoopValue(d), exponent))
                << d << "e" << exponent;
}

// Beyond 20 digits the value stays within the roundings of the scaling of
// the correctly rounded value (strtold's).
TEST(DecimalDigitsValue, LongStringsStayCloseToTheCorrectValue)
{
    const std::string texts[] = {std::string(3000, '3'), "1" + std::string(40, '4') + "5",
                                 "271828182845904523536028747135266249775724709369995"};
    for (const std::string& t : texts)
        for (int exponent : {-4900, -3010, -60, 0, 100, 1000}) {
            const long double correct = std::strtold((t + "e" + std::to_string(exponent)).c_str(), nullptr);
            const long double value = DecimalDigitsValue(t, exponent);
            EXPECT_LT(std::fabs(value - correct) / correct, 1e-18L) << t.size() << " digits, e" << exponent;
        }
}

// ---- Through the compiler ----

// The literal's value, and whether the compile left a fault flag set.
struct TCompiled {
    bool Compiled;
    double Value;
    bool FlagLeft;
    std::string Error;
};

TCompiled CompileLiteral(const std::string& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    TCompiled result{false, 0, false, ""};
    try {
        evaluator.Compile();
        result.Compiled = true;
    } catch (const Exception& error) {
        result.Error = error.what();
    }
    result.FlagLeft = (FpuStatusWord() & StatusFaults) != 0;
    if (result.Compiled && !result.FlagLeft)
        result.Value = evaluator.Evaluate();
    ResetFpu();
    return result;
}

TEST(LongLiteral, CompilesToTheValueItWrites)
{
    struct TCase {
        const char* Name;
        std::string Formula;
        bool Compiles;
        double Value;
    };
    const TCase cases[] = {
        {"1 and 4940 zeros, e-9999", "1" + Zeros(4940) + "e-9999", true, 0.0},
        {"1 and 5000 zeros, e-5000", "1" + Zeros(5000) + "e-5000", true, 1.0},
        {"6001 digits writing 1e800", "1" + Zeros(800) + "." + Zeros(5200), false, 0},
        {"6001 digits writing 1e-300", "0." + Zeros(299) + "1" + Zeros(5700), true, 1e-300},
        {"a 10 MB fraction", "1." + Zeros(10000000), true, 1.0},
        {"a 10 MB integer", "1" + Zeros(10000000), false, 0},
        {"a 10 MB fraction of threes", "0." + std::string(10000000, '3'), true, 1.0 / 3.0},
        // Exponents beyond 100000, balanced by as many digits.
        {"1 and 100001 zeros, e-100001", "1" + Zeros(100001) + "e-100001", true, 1.0},
        {"0.(100001 zeros)1, e100002", "0." + Zeros(100001) + "1e100002", true, 1.0},
        {"1e1000000000000", "1e1000000000000", false, 0},
        {"1e-1000000000000", "1e-1000000000000", true, 0.0},
    };
    for (const TCase& c : cases) {
        const TCompiled compiled = CompileLiteral(c.Formula);
        EXPECT_FALSE(compiled.FlagLeft) << c.Name;
        EXPECT_EQ(compiled.Compiled, c.Compiles) << c.Name << ": " << compiled.Error;
        if (c.Compiles)
            EXPECT_EQ(compiled.Value, c.Value) << c.Name;
        else
            EXPECT_EQ(compiled.Error, "Floating point overflow") << c.Name;
    }
}

TEST(LongLiteral, NextFormulaIsUnaffected)
{
    for (const std::string& literal : {"1" + Zeros(4940) + "e-9999", "1" + Zeros(6000) + "e-5200",
                                       "1" + Zeros(5000) + "e-5000"}) {
        TRapidEvaluator first;
        first.SetFormula(literal);
        try {
            first.Compile();
        } catch (const EMathError&) {
        }
        TRapidEvaluator next;
        next.SetFormula("x+1");
        next.Compile();
        FormulaX = 2;
        EXPECT_EQ(next.Evaluate(), 3.0) << literal.size() << " characters";
    }
    FormulaX = 0;
}

} // namespace
