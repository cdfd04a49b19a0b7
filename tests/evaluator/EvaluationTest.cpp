// Values of compiled formulas: operators, precedence, functions, variables.
#include "Outcome.h"

#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

// π to a 64-bit significand, as FLDPI loads it.
constexpr long double Pi = 3.141592653589793238462643383279502884L;

double Stored(long double value) { return RoundToDouble(value); }

} // namespace

TEST(Evaluation, ArithmeticAndPrecedence)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        {"x", 2.5, "2.5"},
        {"-x", 2.5, "-2.5"},
        {"x+1", 2, "3"},
        {"x-y-z", 10, "10"},
        {"2^3^2", 0, "512"},
        {"-2^2", 0, "4"},
        {"-x^2", 3, "9"},
        {"2^-x", 2, "0.25"},
        {"2*-3^2", 0, "18"},
        {"1+2*3-4/5", 0, "6.2000000000000002"},
        {"(x+1)*(x-1)", 3, "8"},
        {"sum(x, 1)", 4, "5"},
        {"sum(1, x)", 4, "5"},
        {"neg(x)", 4, "-4"},
        {"abs(-x)", 4, "4"},
        {"-7.5%2", 0, "-1.5"},
        {"7.5%-2", 0, "1.5"},
        {"1e300%3", 0, "0"},
        {"x%0.75", 2, "0.5"},
        {"X*Sin(0)+PI()", 1, "3.1415926535897931"},
        {"sqrt(16)", 0, "4"},
        {"log10(1000)", 0, "3"},
        {"log2(1024)", 0, "10"},
        {"ln(1)", 0, "0"},
        {"exp(0)", 0, "1"},
        {"arctg(0)", 0, "0"},
        {"arccos(1)", 0, "0"},
        {"cos(0)", 0, "1"},
        {"sec(0)", 0, "1"},
        {"x^0", 0, "1"},
        {"x^0", -3, "1"},
        {"0^0.5", 0, "0"},
        {"(-2)^3", 0, "-8"},
        {"(-2)^-1", 0, "-0.5"},
    };
    for (const auto& [formula, x, expected] : cases)
        EXPECT_EQ(Outcome(formula, x), expected) << formula << " at x = " << x;
}

TEST(Evaluation, ConstantsStayAtExtendedPrecisionInRegisters)
{
    EXPECT_EQ(ValueOf("x-pi()", 1), Stored(1.0L - Pi));
    EXPECT_EQ(ValueOf("pi()-x", 1), Stored(Pi - 1.0L));
    EXPECT_EQ(ValueOf("pi()"), Stored(Pi));
    // The first π waits on the stack as a double, the second is used at once.
    EXPECT_EQ(ValueOf("pi()+0-pi()"), Stored(Stored(Pi) - Pi));
    EXPECT_EQ(ValueOf("arcsin(1)"), Stored(Pi / 2));
    EXPECT_EQ(ValueOf("arcsin(-1)"), Stored(-Pi / 2));
    EXPECT_EQ(ValueOf("arccos(-1)"), Stored(Pi));
    EXPECT_EQ(ValueOf("arccos(-0.5)"), Stored(2 * Pi / 3));
    // 2^0.5 goes through e^(0.5 · ln 2); 2^10 through repeated squaring.
    EXPECT_EQ(ValueOf("2^0.5"), ValueOf("exp(0.5*ln(2))"));
    EXPECT_EQ(ValueOf("2^10"), 1024.0);
    EXPECT_NEAR(ValueOf("2^0.5"), std::sqrt(2.0), 4e-16);
}

TEST(Evaluation, FunctionsAgreeWithTheLibrary)
{
    struct Case {
        const char* Formula;
        long double (*Expected)(long double);
    };
    const Case cases[] = {
        {"sin(x)", [](long double v) { return std::sin(v); }},
        {"cos(x)", [](long double v) { return std::cos(v); }},
        {"tg(x)", [](long double v) { return std::tan(v); }},
        {"ctg(x)", [](long double v) { return 1 / std::tan(v); }},
        {"sec(x)", [](long double v) { return 1 / std::cos(v); }},
        {"cosec(x)", [](long double v) { return 1 / std::sin(v); }},
        {"arctg(x)", [](long double v) { return std::atan(v); }},
        {"arcsin(x/4)", [](long double v) { return std::asin(v / 4); }},
        {"arccos(x/4)", [](long double v) { return std::acos(v / 4); }},
        {"exp(x)", [](long double v) { return std::exp(v); }},
        {"sqrt(x+4)", [](long double v) { return std::sqrt(v + 4); }},
        {"ln(x+4)", [](long double v) { return std::log(v + 4); }},
        {"log10(x+4)", [](long double v) { return std::log10(v + 4); }},
        {"log2(x+4)", [](long double v) { return std::log2(v + 4); }},
        {"(x+4)^3.5", [](long double v) { return std::pow(v + 4, 3.5L); }},
    };
    for (const Case& c : cases) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(c.Formula);
        evaluator.Compile();
        for (double x = -3.9; x < 4; x += 0.37) {
            const long double expected = c.Expected(x);
            FormulaX = x;
            EXPECT_NEAR(evaluator.Evaluate(), static_cast<double>(expected), 1e-15 * std::fabs(static_cast<double>(expected)) + 1e-300)
                << c.Formula << " at x = " << x;
        }
    }
}

TEST(Evaluation, VariablesAreReadThroughTheirAddressesEachTime)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x*10+y+z*100");
    evaluator.Compile();
    FormulaZ = 0.5;
    EXPECT_EQ(Outcome(evaluator, 2), "70");
    FormulaZ = 0.25;
    EXPECT_EQ(Outcome(evaluator, 3), "55");
    FormulaZ = 0;
    EXPECT_EQ(FormulaY, 0.0);  // nobody writes y
}

TEST(Evaluation, LongAndDeepFormulas)
{
    // 100,000 characters: a long chain, compiled in linear time.
    std::string chain = "x";
    for (int i = 1; i < 50000; ++i)
        chain += "+x";
    EXPECT_EQ(ValueOf(chain, 0.5), 25000.0);

    // The deepest nesting allowed, with values waiting on the stack at every level.
    std::string deep;
    for (int i = 1; i <= 256; ++i)
        deep += std::to_string(i) + "+(";
    deep += "x";
    deep += std::string(256, ')');
    EXPECT_EQ(ValueOf(deep, 1000), 256 * 257 / 2 + 1000.0);

    std::string powers = "x";
    for (int i = 0; i < 256; ++i)
        powers += "^1";
    EXPECT_EQ(ValueOf(powers, 7), 7.0);
}

TEST(Evaluation, AfterAFailedCompileThereIsNothingToRun)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x*100");
    evaluator.Compile();
    FormulaX = 2;
    EXPECT_EQ(evaluator.Evaluate(), 200.0);
    evaluator.SetFormula("x+");
    EXPECT_THROW(evaluator.Compile(), ESyntaxError);
    try {
        evaluator.Evaluate();
        FAIL() << "the code of x*100 ran";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "No formula has been compiled");
    }
    double value = 0;
    bool undefined = false;
    evaluator.EvaluateSamples(&FormulaX, 1, &value, &undefined);
    EXPECT_TRUE(undefined);
    // A new text not yet compiled is not runnable either; compiled, it is.
    evaluator.SetFormula("x*100");
    EXPECT_THROW(evaluator.Evaluate(), Exception);
    evaluator.Compile();
    EXPECT_EQ(evaluator.Evaluate(), 200.0);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST(Evaluation, NothingCompiledIsAnErrorNotACrash)
{
    TRapidEvaluator evaluator;
    EXPECT_THROW(evaluator.Evaluate(), Exception);
    evaluator.SetFormula("x+");
    EXPECT_THROW(evaluator.Compile(), ESyntaxError);
    EXPECT_THROW(evaluator.Evaluate(), Exception);
}

TEST(Evaluation, EachCompileRunsItsOwnCode)
{
    // One evaluator, new code over old at the same address, mostly of the
    // same length: a processor emulator that kept its translation of the
    // code before would give the earlier formula's value.
    TRapidEvaluator evaluator;
    FormulaX = 2;
    const std::pair<const char*, double> formulas[] = {
        {"sin(x)", std::sin(2.0)}, {"x+1", 3}, {"x+2", 4}, {"x*3", 6}, {"x-1", 1}, {"x+1", 3}, {"cos(x)", std::cos(2.0)},
    };
    for (int round = 0; round < 3; ++round)
        for (const auto& [formula, value] : formulas) {
            evaluator.SetFormula(formula);
            evaluator.Compile();
            ASSERT_NEAR(evaluator.Evaluate(), value, 1e-15) << formula << " in round " << round;
        }
    FormulaX = 0;
}
