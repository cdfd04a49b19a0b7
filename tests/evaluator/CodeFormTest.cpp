// The optimized x86-64 code against the item-by-item code it replaces: the
// same result bit for bit and the same fault flags over a million inputs;
// and recompiling, which keeps the code of an unchanged command list.
#include "FormulaMaker.h"
#include "ListText.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CodeGenerator.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/OptimizedCodeGenerator.h"
#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

#if defined(__x86_64__)
namespace {

// Doubles from all of the range: specials, any bit pattern (NaNs included),
// subnormals, huge and tiny magnitudes, and ordinary values.
class TInputs {
public:
    explicit TInputs(unsigned seed) : Random(seed) {}

    double Next()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        static const double specials[] = {
            0.0, -0.0, 1, -1, 2, -2, 0.5, 16, 17, -3, DBL_MIN, -DBL_MIN, DBL_MAX, -DBL_MAX,
            DBL_TRUE_MIN, -DBL_TRUE_MIN, 1e-310, -1e-310, 1e308, 1e154, -1e154, 1e-162, 1e-300,
            inf, -inf, std::numeric_limits<double>::quiet_NaN(), 9223372036854775808.0, -1e19,
            1.5707963267948966, 3.141592653589793, 709.78, 710, -745.2, 2147483648.0,
        };
        switch (Random() % 8) {
        case 0: return specials[Random() % std::size(specials)];
        case 1: return std::bit_cast<double>(Random());
        case 2: return std::bit_cast<double>(Random() & 0x800FFFFFFFFFFFFFull);  // subnormal or zero
        case 3: {
            const int exponent = static_cast<int>(Random() % 2098) - 1074;
            const double magnitude = std::ldexp(1 + static_cast<double>(Random() >> 12) * 0x1p-52, exponent);
            return Random() % 2 ? magnitude : -magnitude;
        }
        case 4: return static_cast<double>(static_cast<int>(Random() % 41) - 20);
        default: return std::uniform_real_distribution<double>(-10, 10)(Random);
        }
    }

private:
    std::mt19937_64 Random;
};

struct TRun {
    std::uint64_t Bits;     // the result stored as a double, as Evaluate stores it
    std::uint16_t Faults;   // the fault flags after that store
};

// One run of the routine; the unit is reset after a fault, as Evaluate does.
TRun RunOnce(const TCode& code)
{
    const auto routine = reinterpret_cast<long double (*)()>(const_cast<std::uint8_t*>(code.Buffer()));
    const long double value = routine();
    double result;
    std::uint16_t status;
    asm volatile("fstpl %0\n\tfnstsw %1" : "=m"(result), "=a"(status) : "t"(value) : "st");
    status &= StatusFaults;
    if (status != 0)
        ResetFpu();
    return {std::bit_cast<std::uint64_t>(result), status};
}

// Formulas that reach each part of the optimized translation: every operator
// and function on loaded and computed operands, constants, results that wait
// for a constant or a variable, and whole powers of every inlined exponent.
std::vector<std::string> ChosenFormulas()
{
    std::vector<std::string> formulas = {
        "x", "1", "pi()", "x+1", "1-x", "x*z", "x/z", "2/x", "x%z", "x%3", "-7.5%x",
        "x^z", "z^x", "2^x", "x^0.5", "x^2.5", "x^17", "x^-17", "x^2147483647", "x^1e10",
        "sin(x)+1", "1+sin(x)", "sin(x)*x", "x*sin(x)", "sin(x)*cos(x)+x^2", "x^3+3*x^2-2",
        "2*cos(10*x)*exp(-x*x/20)", "sqrt(sin(x))*cos(20*x*z)", "cos(x)+cos(2*x)+cos(4*x)+cos(6*x)",
        "((((x*2+3)*x-4)*x+5)*x-6)*x+7", "1+(2+(3+(x*4)))", "x-(z-(x-(z-1)))", "sum(sin(x), 2)",
        "sum(2, sin(x))", "sum(x, z)", "exp(x)*0", "0*exp(x)", "exp(x)^0", "exp(x)^1", "exp(x)^-1",
        "ln(exp(x))", "x*x/x", "1e308*x", "x^2+tg(1e19*x)", "tg(x)+ctg(x)", "sec(x)-cosec(x)",
        "arcsin(x)+arccos(x)", "arctg(x)*2", "log10(x)+log2(x)-ln(x)", "abs(x)^3", "neg(x)^3",
        "2^3", "1e300^2", "0^-1", "(-0.5)^3", "(x*z)^-2", "(x+1)^16", "(x-1)^-16", "sqrt(x)^2",
        "x^2^2", "(x^2)^-3", "x^3*z^-3", "exp(x)^2", "x^(-0)", "z*x^5+x^-5",
    };
    for (int n = -17; n <= 17; ++n) {
        const std::string e = std::string(n < 0 ? "-" : "") + std::to_string(std::abs(n));
        for (const char* base : {"x", "(x*1.5)", "sin(x)", "exp(x)", "(z+x)"})
            formulas.push_back(std::string(base) + "^" + e);
    }
    return formulas;
}

} // namespace

TEST(CodeForm, OptimizedCodeEqualsItemByItemCodeBitForBit)
{
    std::vector<std::string> formulas = ChosenFormulas();
    TFormulaMaker maker(20261210);
    for (int i = 0; i < 400; ++i)
        formulas.push_back(maker.Text(*maker.Make(1 + i % 6), ExpressionLevel));

    const long total = 1000000;
    const long perFormula = (total + static_cast<long>(formulas.size()) - 1) / static_cast<long>(formulas.size());
    TInputs inputs(20261209);
    TRapidEvaluator parser;
    TCode itemByItem, optimized;
    long runs = 0, faulted = 0, defined = 0;
    for (const std::string& formula : formulas) {
        parser.SetFormula(formula);
        ASSERT_NO_THROW(parser.Compile()) << formula;
        GenerateCode(parser.CommandList(), itemByItem, X86_64Encoding, HostPowerRoutine());
        GenerateOptimizedCode(parser.CommandList(), optimized, HostPowerRoutine());
        itemByItem.MakeExecutable();
        optimized.MakeExecutable();
        for (long k = 0; k < perFormula; ++k) {
            FormulaX = inputs.Next();
            FormulaZ = k % 4 == 0 ? inputs.Next() : 0.5;
            const TRun expected = RunOnce(itemByItem);
            const TRun actual = RunOnce(optimized);
            ASSERT_EQ(actual.Faults, expected.Faults) << formula << " at x = " << FormulaX << ", z = " << FormulaZ;
            if (expected.Faults == 0) {
                ASSERT_EQ(actual.Bits, expected.Bits)
                    << formula << " at x = " << FormulaX << ", z = " << FormulaZ << ": "
                    << std::bit_cast<double>(actual.Bits) << " vs " << std::bit_cast<double>(expected.Bits);
                ++defined;
            } else {
                ++faulted;
            }
            ++runs;
        }
    }
    FormulaX = FormulaZ = 0;
    EXPECT_GE(runs, total);
    EXPECT_GT(faulted, total / 10);
    EXPECT_GT(defined, total / 2);
}
#else
TEST(CodeForm, OptimizedCodeEqualsItemByItemCodeBitForBit)
{
    GTEST_SKIP() << "optimized code is made and run on x86-64 only";
}
#endif

TEST(CodeForm, RecompilingAnUnchangedListKeepsTheCode)
{
    // The same list written differently compiles to the same code; any other
    // list, or the other code form, to new code: never a stale routine.
    const std::pair<const char*, double> steps[] = {
        {"x+1", 3}, {"x + 1", 3}, {"(x)+(1)", 3}, {"x+2", 4}, {"x^2", 4}, {"x^3", 8},
        {"z+1", 1}, {"x+1", 3}, {"x+1.0", 3}, {"x*1", 2},
    };
    TRapidEvaluator evaluator;
    std::vector<std::uint8_t> previous;
    std::string previousList;
    FormulaX = 2;
    FormulaZ = 0;
    for (const auto& [text, value] : steps) {
        evaluator.SetFormula(text);
        evaluator.Compile();
        EXPECT_EQ(evaluator.Evaluate(), value) << text;
        const std::vector<std::uint8_t> code(evaluator.CodeBuffer().Buffer(),
                                             evaluator.CodeBuffer().Buffer() + evaluator.CodeBuffer().Size());
        if (ListText(evaluator.CommandList()) == previousList) {
            EXPECT_EQ(code, previous) << text;
        }
        previous = code;
        previousList = ListText(evaluator.CommandList());
    }
    // A failed compile in between leaves the code of the last good one.
    evaluator.SetFormula("x+");
    EXPECT_THROW(evaluator.Compile(), ESyntaxError);
    evaluator.SetFormula("x*3");
    evaluator.Compile();
    EXPECT_EQ(evaluator.Evaluate(), 6.0);

    if (&HostEncoding() == &X86_64Encoding) {
        evaluator.SetCodeForm(TCodeForm::ItemByItem);
        EXPECT_THROW(evaluator.Evaluate(), Exception);  // nothing compiled in the new form yet
        evaluator.Compile();
        const std::vector<std::uint8_t> code(evaluator.CodeBuffer().Buffer(),
                                             evaluator.CodeBuffer().Buffer() + evaluator.CodeBuffer().Size());
        EXPECT_NE(code, previous);
        EXPECT_EQ(evaluator.Evaluate(), 6.0);
    }
    FormulaX = 0;
}
