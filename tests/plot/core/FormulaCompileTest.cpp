// The compile report of a plot: the line with the program's own spelling
// after a name from another notation, and no such line for any other failure.
#include "plot/core/FormulaCompile.h"

#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

TEST(FormulaCompile, NamesOfOtherNotationsGetTheProgramsSpelling)
{
    const struct { const char* formula; const char* report; } cases[] = {
        {"tan(x)", "The formula is not valid at character 4.|Unknown function or variable \"tan\"|"
                   "Orvalis writes the tangent as tg(x)."},
        {"log(x)", "The formula is not valid at character 4.|Unknown function or variable \"log\"|"
                   "Orvalis writes the common logarithm as log10(x) and the natural logarithm as ln(x)."},
        {"ARCTAN(x)", "The formula is not valid at character 7.|Unknown function or variable \"ARCTAN\"|"
                      "Orvalis writes the arctangent as arctg(x)."},
        {"1/cot(x)", "The formula is not valid at character 6.|Unknown function or variable \"cot\"|"
                     "Orvalis writes the cotangent as ctg(x)."},
        // pi is a function of the language, named here without its parenthesis.
        {"pi*x", "The formula is not valid at character 4.|\"(\" expected but \"*\" found|"
                 "Orvalis writes the number pi as pi()."},
        {"2*Pi", "The formula is not valid at character 5.|\"(\" expected but \"\" found|"
                 "Orvalis writes the number pi as pi()."},
        {"e^x", "The formula is not valid at character 2.|Unknown function or variable \"e\"|"
                "Orvalis writes the number e as exp(1)."},
        // Names that have no other spelling, and failures that are no name's.
        {"sinh(x)", "The formula is not valid at character 5.|Unknown function or variable \"sinh\""},
        {"tangent(x)", "The formula is not valid at character 8.|Unknown function or variable \"tangent\""},
        {"sin x", "The formula is not valid at character 6.|\"(\" expected but \"x\" found"},
        {"x+", "The formula is not valid at character 3.|Syntax error"},
        {"(tan", "The formula is not valid at character 5.|Unknown function or variable \"tan\"|"
                 "Orvalis writes the tangent as tg(x)."},
    };
    TRapidEvaluator evaluator;
    for (const auto& c : cases) {
        EXPECT_EQ(CompileForPlot(evaluator, c.formula, "|").value_or("compiled"), c.report) << c.formula;
        // The hint belongs to the failed compile only.
        EXPECT_EQ(CompileForPlot(evaluator, "tg(x)", "|"), std::nullopt);
    }
}

// Every spelling a hint names is one the language really has.
TEST(FormulaCompile, EverySpellingAHintNamesCompiles)
{
    TRapidEvaluator evaluator;
    const std::regex spelling(R"( as ([a-z0-9]+\([x1]?\)))");
    for (const char* name : {"tan", "cot", "cotan", "csc", "arctan", "atan", "asin", "acos", "log", "lg", "pi", "e"}) {
        const std::string report = CompileForPlot(evaluator, std::string(name) + "+1", "|").value_or("");
        const std::string hint = report.substr(report.rfind('|') + 1);
        ASSERT_EQ(hint.rfind("Orvalis writes ", 0), 0u) << name << ": " << report;
        int spellings = 0;
        for (std::sregex_iterator m(hint.begin(), hint.end(), spelling), end; m != end; ++m, ++spellings)
            EXPECT_EQ(CompileForPlot(evaluator, (*m)[1].str(), "|"), std::nullopt) << (*m)[1].str();
        EXPECT_GE(spellings, 1) << hint;
    }
}

} // namespace
