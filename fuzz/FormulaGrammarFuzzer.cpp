// Fuzz target: the input drives a generator of valid formulas (every function
// and operator, long chains, nesting to the compiler's limit and past it),
// each compared with the reference interpreter.
#include "FormulaCheck.h"

#include "evaluator/FormulaGrammar.h"

#include "RapidEvaluator/Parser.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double Constants[] = {0, 1, 2, 3, 0.5, 0.1, 10, 100, 1e19, 1e300, 1e-300, 710, 2147483648.0, 1e308};

// Keeps one formula to a size that runs many times a second.
constexpr int NodeBudget = 3000;
constexpr int MaxChain = 300;

// A piece of formula text and the deepest nesting the parser counts in it:
// one per parenthesis, per function call and per "^" whose right side it is.
struct TText {
    std::string Text;
    int Nesting = 0;
};

class TFormulaGenerator {
public:
    explicit TFormulaGenerator(FuzzedDataProvider& data) : Data(data) {}

    // A formula in the grammar's `level` context.
    TText Make(int level)
    {
        if (--Budget <= 0 || Data.remaining_bytes() == 0)
            return Wrap(Leaf(), PrimaryLevel, level);
        switch (Data.ConsumeIntegralInRange(0, 9)) {
        case 0: case 1: return Wrap(Leaf(), PrimaryLevel, level);
        case 2: return Chain(level);
        case 3: return Binary("+-"[Data.ConsumeBool()], ExpressionLevel, level);
        case 4: return Binary("*/%"[Data.ConsumeIntegralInRange(0, 2)], TermLevel, level);
        case 5: return Power(level);
        case 6: {
            TText child = Make(PrimaryLevel);
            child.Text = (Data.ConsumeBool() ? "-" : "+") + Blank() + child.Text;
            return Wrap(child, SignedLevel, level);
        }
        case 7: return Deep(level);
        default: return Wrap(Call(Functions[Data.ConsumeIntegralInRange<std::size_t>(0, std::size(Functions) - 1)]), PrimaryLevel, level);
        }
    }

private:
    std::string Blank() { return Data.ConsumeIntegralInRange(0, 7) == 0 ? " " : ""; }

    // Parentheses where the grammar needs them, and now and then elsewhere.
    TText Wrap(TText text, int own, int level)
    {
        if (own < level || Data.ConsumeIntegralInRange(0, 15) == 0) {
            text.Text = "(" + Blank() + text.Text + Blank() + ")";
            ++text.Nesting;
        }
        return text;
    }

    TText Leaf()
    {
        switch (Data.ConsumeIntegralInRange(0, 3)) {
        case 0: return {std::string(1, "xXyzZx"[Data.ConsumeIntegralInRange(0, 5)])};
        case 1: {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", Constants[Data.ConsumeIntegralInRange<std::size_t>(0, std::size(Constants) - 1)]);
            return {buffer};
        }
        default: {
            const double value = std::fabs(Data.ConsumeFloatingPoint<double>());
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, Data.ConsumeBool() ? "%.17g" : "%.3f", std::isfinite(value) ? value : 1.0);
            return {buffer};
        }
        }
    }

    TText Binary(char op, int own, int level)
    {
        TText left = Make(own), right = Make(own + 1);
        return Wrap({left.Text + Blank() + op + Blank() + right.Text, std::max(left.Nesting, right.Nesting)}, own, level);
    }

    // signed "^" power: the right side is one level deeper.
    TText Power(int level)
    {
        TText base = Make(SignedLevel), exponent = Make(PowerLevel);
        return Wrap({base.Text + "^" + exponent.Text, std::max(base.Nesting, exponent.Nesting + 1)}, PowerLevel, level);
    }

    // A long flat chain of one level's operators: long formulas, no nesting.
    TText Chain(int level)
    {
        const bool sums = Data.ConsumeBool();
        const int count = Data.ConsumeIntegralInRange(2, MaxChain);
        TText chain = Make(sums ? ExpressionLevel : TermLevel);
        for (int i = 1; i < count && Budget > 0; ++i) {
            TText next = Wrap(Leaf(), PrimaryLevel, PrimaryLevel);
            --Budget;
            chain.Text += (sums ? "+-" : "*/")[Data.ConsumeBool()] + next.Text;
            chain.Nesting = std::max(chain.Nesting, next.Nesting);
        }
        return Wrap(chain, sums ? ExpressionLevel : TermLevel, level);
    }

    TText Call(const TFunctionInfo& function)
    {
        std::string name = function.Name;
        if (Data.ConsumeIntegralInRange(0, 3) == 0)
            std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
        TText call{name + Blank() + "(", 0};
        for (int i = 0; i < function.Args; ++i) {
            TText argument = Make(ExpressionLevel);
            call.Text += (i ? "," : "") + Blank() + argument.Text + Blank();
            call.Nesting = std::max(call.Nesting, argument.Nesting);
        }
        call.Text += ")";
        ++call.Nesting;
        return call;
    }

    // A chain of n wrappers around one formula: parentheses, one-argument
    // calls and powers taken on their right side, to reach the nesting limit.
    TText Deep(int level)
    {
        const int n = Data.ConsumeIntegralInRange(1, MaxChain);
        const unsigned kinds = Data.ConsumeIntegral<std::uint8_t>() % 3 + 1;  // which wrappers to mix
        std::string open, close;
        for (int i = 0; i < n; ++i) {
            const unsigned kind = kinds == 3 ? Data.ConsumeIntegralInRange(0, 2) : kinds - 1;
            if (kind == 0) {
                open += "(";
                close += ")";
            } else if (kind == 1) {
                open += std::string(Functions[i % 16].Name) + "(";
                close += ")";
            } else {
                open += "2^(";  // the power's nesting and the parenthesis's
                close += ")";
            }
        }
        int nesting = 0;
        for (std::size_t i = 0; i < open.size(); ++i)
            nesting += open[i] == '(' ? 1 : open[i] == '^';
        TText inner = Make(ExpressionLevel);
        return Wrap({open + inner.Text + close, nesting + inner.Nesting}, PrimaryLevel, level);
    }

    FuzzedDataProvider& Data;
    int Budget = NodeBudget;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    TFormulaGenerator generator(provider);
    const TText formula = generator.Make(ExpressionLevel);
    CheckFormula(formula.Text, formula.Nesting <= MaxNestingDepth ? TExpectation::Compiles : TExpectation::NestedTooDeeply);
    return 0;
}
