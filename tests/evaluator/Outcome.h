// Compiling and evaluating a formula in one call, for the value and fault tests.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"

#include <cstdio>
#include <string>

// The value as "%.17g" text, or the fault: "invalid", "zero divide", "overflow".
inline std::string Outcome(TRapidEvaluator& evaluator, double x)
{
    FormulaX = x;
    try {
        const double value = evaluator.Evaluate();
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", value);
        return text;
    } catch (const EZeroDivide&) {
        return "zero divide";
    } catch (const EOverflow&) {
        return "overflow";
    } catch (const EInvalidOp&) {
        return "invalid";
    }
}

inline std::string Outcome(const std::string& formula, double x = 0)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    evaluator.Compile();
    return Outcome(evaluator, x);
}

inline double ValueOf(const std::string& formula, double x = 0)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    evaluator.Compile();
    FormulaX = x;
    return evaluator.Evaluate();
}
