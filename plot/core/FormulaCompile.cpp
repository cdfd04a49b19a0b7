// The compile of a plot and its one report text.
#include "plot/core/FormulaCompile.h"

#include "RapidEvaluator/OtherNotations.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

namespace {

std::string Report(const TRapidEvaluator& evaluator, std::string_view lineBreak, const std::string& reason)
{
    ResetFpu();
    std::string report = "The formula is not valid at character " + std::to_string(evaluator.Position()) + "." +
                         std::string(lineBreak) + reason;
    // A name from another notation gets the program's own spelling on a line of its own.
    if (const std::string_view hint = OtherNotationHint(evaluator.ErrorName()); !hint.empty())
        report += std::string(lineBreak) + std::string(hint);
    return report;
}

}  // namespace

std::optional<std::string> CompileForPlot(TRapidEvaluator& evaluator, const std::string& formula,
                                          std::string_view lineBreak)
{
    try {
        evaluator.SetFormula(formula);
        evaluator.Compile();
        return std::nullopt;
    } catch (const std::exception& error) {
        return Report(evaluator, lineBreak, CompileErrorReason(evaluator, error));
    } catch (...) {
        return Report(evaluator, lineBreak, evaluator.ErrorMessage());
    }
}
