// Undefined points: which formulas fault at which x, with which error class,
// and that a fault never disturbs the evaluation after it.
#include "Outcome.h"
#include "X87.h"

#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Faults, UndefinedExactlyWhereTheUnitFaults)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        // Roots, logarithms and division.
        {"sqrt(x)", -1e-300, "invalid"},
        {"sqrt(x)", -0.0, "-0"},
        {"ln(x)", 0, "zero divide"},
        {"ln(x)", -0.0, "zero divide"},
        {"log10(x)", -1, "invalid"},
        {"log2(x)", 0, "zero divide"},
        {"1/x", 0, "zero divide"},
        {"x/0", 0, "invalid"},
        {"x%0", 1, "invalid"},
        // Powers.
        {"x^0", 0, "1"},
        {"0^2", 0, "0"},
        {"0^(-1)", 0, "zero divide"},
        {"0^(-0.5)", 0, "zero divide"},
        {"(-8)^(1/3)", 0, "invalid"},
        {"(-1)^10000000000", 0, "invalid"},
        {"(-1)^2147483647", 0, "-1"},
        {"10^(-400)", 0, "0"},
        {"10^(-5000)", 0, "overflow"},
        {"2^1023", 0, "8.9884656743115795e+307"},
        {"2^1024", 0, "overflow"},
        {"1e300^3", 0, "overflow"},
        // Exponentials, and which intermediates are stored as doubles.
        {"exp(710)", 0, "overflow"},
        {"exp(-1000)", 0, "0"},
        {"exp(11357)", 0, "overflow"},
        {"0*exp(1000)", 0, "0"},
        {"exp(1000)*0", 0, "overflow"},
        {"exp(1000)^0", 0, "overflow"},
        {"sqrt(1e300*1e300)", 0, "1.0000000000000001e+300"},
        {"(1e300*1e300)^0.5", 0, "overflow"},
        {"1e308*10", 0, "overflow"},
        {"x*x/x", 1e200, "overflow"},
        // Trigonometry (arguments the unit cannot reduce: below).
        {"arcsin(1.0000001)", 0, "invalid"},
        {"arccos(-1.0000001)", 0, "invalid"},
        {"ctg(x)", 0, "zero divide"},
        {"ctg(x)", -0.0, "zero divide"},
        {"cosec(x)", 0, "zero divide"},
        {"arctg(1e300)", 0, "1.5707963267948966"},
    };
    for (const auto& [formula, x, expected] : cases)
        EXPECT_EQ(Outcome(formula, x), expected) << formula << " at x = " << x;
}

TEST(Faults, TrigonometryOfUnreducibleArgumentsIsInvalid)
{
    // Tested by the code itself (C2 after FSIN, FCOS and FPTAN), not left to
    // a read of an empty register, so emulated units without register-stack
    // faults agree. Just below 2^63 the unit reduces the argument, and the
    // value is its own.
    const double below = 9223372036854773760.0;  // 2^63 - 2048, the last double below 2^63
    const double twoTo63 = 9223372036854775808.0;
    const struct {
        const char* Formula;
        long double (*Value)(long double);
    } functions[] = {
        {"sin(x)", [](long double v) { return x87::Sin(v); }},
        {"cos(x)", [](long double v) { return x87::Cos(v); }},
        {"sec(x)", [](long double v) { return 1 / x87::Cos(v); }},
        {"cosec(x)", [](long double v) { return 1 / x87::Sin(v); }},
        {"tg(x)", [](long double v) { return x87::Tan(v); }},
        {"ctg(x)", [](long double v) { return 1 / x87::Tan(v); }},
    };
    const bool refusesTwoTo63 = x87::ReductionRefusesTwoTo63();
    for (const TCodeForm form : {TCodeForm::ItemByItem, TCodeForm::Optimized}) {
        for (const auto& function : functions) {
            TRapidEvaluator evaluator;
            evaluator.SetCodeForm(form);
            evaluator.SetFormula(function.Formula);
            evaluator.Compile();
            for (double x : {1e19, -1e19, -2 * twoTo63, 1e300})
                EXPECT_EQ(Outcome(evaluator, x), "invalid") << function.Formula << " at " << x;
            if (refusesTwoTo63) {
                EXPECT_EQ(Outcome(evaluator, twoTo63), "invalid") << function.Formula;
                EXPECT_EQ(Outcome(evaluator, -twoTo63), "invalid") << function.Formula;
            }
            for (double x : {below, -below}) {
                FormulaX = x;
                EXPECT_EQ(evaluator.Evaluate(), static_cast<double>(function.Value(x))) << function.Formula << " at " << x;
            }
        }
    }
    for (const char* formula : {"1+tg(1e19)", "neg(tg(-1e19))", "x+ctg(-2^64)", "sum(ctg(1e19), 2)*tg(-1e308)",
                                "1+sin(1e19)", "cos(2^64)*0", "sum(sec(1e19), cosec(1))"})
        EXPECT_EQ(Outcome(formula, 0), "invalid") << formula;

    // Operands below the tangent keep their values: every other sample is whole.
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x^2 + tg(1e19*(x%2)) - x*x + 7");
    evaluator.Compile();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(Outcome(evaluator, i), i % 2 ? "invalid" : "7") << i;
}

TEST(Faults, LargeButDefined)
{
    EXPECT_NEAR(ValueOf("exp(709)"), 8.2184074615549724e307, 1e293);
    EXPECT_NEAR(ValueOf("ln(exp(1000))"), 1000, 1e-12);
    const double nearPole = ValueOf("tg(1.5707963267948966)");
    EXPECT_GT(nearPole, 1.6e16);
    EXPECT_LT(nearPole, 1.7e16);
}

TEST(Faults, SqrtOverARangeIsUndefinedExactlyBelowZero)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("sqrt(x)");
    evaluator.Compile();
    int undefined = 0;
    for (int i = 0; i <= 2000; ++i) {
        const double x = -10 + 20.0 * i / 2000;
        const std::string outcome = Outcome(evaluator, x);
        EXPECT_EQ(outcome == "invalid", x < 0) << x;
        undefined += outcome == "invalid";
    }
    EXPECT_EQ(undefined, 1000);
}

TEST(Faults, AFaultNeverDisturbsTheNextEvaluation)
{
    // Every other sample faults in the middle of a long formula; the others stay exact.
    struct Case {
        const char* Formula;
        const char* OddFault;
        double (*Even)(double);
    };
    const Case cases[] = {
        {"sum(1, 2*(x + ln(1 - x%2) * 3) + 4) - sum(x, x^2)", "zero divide", [](double x) { return 5 + x - x * x; }},
        {"x^2 + arcsin(1e19*(x%2)) - x*x + 7", "invalid", [](double) { return 7.0; }},
        {"x^2 + sin(1e19*(x%2)) - x*x + 7", "invalid", [](double) { return 7.0; }},
        {"x^2 + sec(1e19*(x%2)) - x*x + 6", "invalid", [](double) { return 7.0; }},
        {"sqrt(-(x%2)) + sqrt(x*x)", "invalid", [](double x) { return x; }},
    };
    for (const Case& c : cases) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(c.Formula);
        evaluator.Compile();
        for (int i = 0; i < 100; ++i) {
            const std::string outcome = Outcome(evaluator, i);
            if (i % 2 == 1) {
                EXPECT_EQ(outcome, c.OddFault) << c.Formula << " at " << i;
            } else {
                FormulaX = i;
                EXPECT_EQ(evaluator.Evaluate(), c.Even(i)) << c.Formula << " at " << i;
            }
            ASSERT_EQ(FpuStatusWord() & StatusFaults, 0);
            ASSERT_EQ(FpuControlWord(), MaskedControlWord);
        }
    }
}
