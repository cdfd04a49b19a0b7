// Random formulas from the grammar: the parser must produce the postfix list
// of the formula's tree, and the compiled code must agree bit for bit with
// the reference interpreter, undefined points included.
#include "FormulaMaker.h"
#include "ListText.h"
#include "Outcome.h"
#include "ReferenceInterpreter.h"
#include "X87.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint64_t Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

TEST(Property, RandomFormulasAgreeWithTheReferenceInterpreter)
{
    TFormulaMaker maker(20261209);
    // Both translations, and on x86-64 the optimized one through the block
    // path of sampling as well.
    TRapidEvaluator itemByItem, optimized;
    itemByItem.SetCodeForm(TCodeForm::ItemByItem);
    TRapidEvaluator* const evaluators[] = {&itemByItem, &optimized};
    const bool stackFaults = x87::StackFaultsReported();
    int defined = 0, undefined = 0, blockSamples = 0;
    for (int round = 0; round < 5000; ++round) {
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
            if (expected.ByStackFault && !stackFaults)
                continue;
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
        bool unreported = false;
        for (int k = 0; k < Count; ++k) {
            FormulaX = x[k] = maker.Argument();
            expected[k] = Interpret(list);
            unreported = unreported || (expected[k].ByStackFault && !stackFaults);
        }
        if (unreported)  // the emulated unit would not tell the block to start again
            continue;
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
    EXPECT_GT(defined, 8000);
    EXPECT_GT(undefined, 3000);
    EXPECT_GT(blockSamples, 30000);
}
