// Random formulas from the grammar: the parser must produce the postfix list
// of the formula's tree, and the compiled code must agree bit for bit with
// the reference interpreter, undefined points included.
#include "FormulaMaker.h"
#include "ListText.h"
#include "Outcome.h"
#include "ReferenceInterpreter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A positive whole number from the environment, or the default when unset.
unsigned FromEnvironment(const char* name, unsigned fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    const bool valid = *end == '\0' && value > 0 && value <= INT_MAX;
    if (!valid)
        ADD_FAILURE() << name << " must be a whole number from 1 to " << INT_MAX << ", not \"" << text << "\"";
    return valid ? static_cast<unsigned>(value) : fallback;
}

std::uint64_t Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

// ORVALIS_PROPERTY_SEED and ORVALIS_PROPERTY_ROUNDS set a longer or other run
// without an edit; the seed is printed so that any failure reproduces.
TEST(Property, RandomFormulasAgreeWithTheReferenceInterpreter)
{
    const unsigned seed = FromEnvironment("ORVALIS_PROPERTY_SEED", 20261209);
    const int rounds = static_cast<int>(FromEnvironment("ORVALIS_PROPERTY_ROUNDS", 5000));
    SCOPED_TRACE("seed " + std::to_string(seed));
    TFormulaMaker maker(seed);
    // Both translations, and on x86-64 the optimized one through the block
    // path of sampling as well.
    TRapidEvaluator itemByItem, optimized;
    itemByItem.SetCodeForm(TCodeForm::ItemByItem);
    TRapidEvaluator* const evaluators[] = {&itemByItem, &optimized};
    int defined = 0, undefined = 0, blockSamples = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto tree = maker.Make(1 + round % 6);
        const std::string formula = maker.Text(*tree, ExpressionLevel);
        for (TRapidEvaluator* evaluator : evaluators) {
            evaluator->SetFormula(formula);
            ASSERT_NO_THROW(evaluator->Compile()) << formula;
        }
        const TCommandList& list = optimized.CommandList();
        ASSERT_EQ(ListText(list), TFormulaMaker::List(*tree)) << formula;

        for (int sample = 0; sample < 6; ++sample) {
            FormulaX = maker.Argument();
            FormulaZ = maker.Argument();
            const TReferenceResult expected = Interpret(list);
            for (TRapidEvaluator* evaluator : evaluators) {
                const char* form = evaluator == &optimized ? " (optimized)" : " (item by item)";
                std::string fault;
                double value = 0;
                try {
                    value = evaluator->Evaluate();
                } catch (const EMathError& error) {
                    fault = error.what();
                }
                ASSERT_EQ(fault.empty(), expected.Defined)
                    << formula << form << " at x = " << FormulaX << ", z = " << FormulaZ << ": " << fault;
                if (expected.Defined) {
                    ASSERT_EQ(Bits(value), Bits(expected.Value))
                        << formula << form << " at x = " << FormulaX << ", z = " << FormulaZ << ": " << value
                        << " vs " << expected.Value;
                }
            }
            ++(expected.Defined ? defined : undefined);
        }

        // Eight abscissas with one z through the block path.
        constexpr int Count = 8;
        double x[Count], values[Count];
        bool blockUndefined[Count];
        TReferenceResult expected[Count];
        FormulaZ = maker.Argument();
        for (int k = 0; k < Count; ++k) {
            FormulaX = x[k] = maker.Argument();
            expected[k] = Interpret(list);
        }
        optimized.EvaluateSamples(x, Count, values, blockUndefined);
        for (int k = 0; k < Count; ++k) {
            ASSERT_EQ(!blockUndefined[k], expected[k].Defined) << formula << " in a block at x = " << x[k] << ", z = " << FormulaZ;
            ASSERT_EQ(Bits(values[k]), Bits(expected[k].Defined ? expected[k].Value : 0.0))
                << formula << " in a block at x = " << x[k] << ", z = " << FormulaZ;
        }
        blockSamples += Count;
    }
    FormulaX = FormulaZ = 0;
    // Both kinds of points must be well represented for the agreement to mean much.
    EXPECT_GT(defined, rounds * 8 / 5);
    EXPECT_GT(undefined, rounds * 3 / 5);
    EXPECT_GT(blockSamples, rounds * 6);
}
