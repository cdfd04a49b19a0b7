// The parser: postfix lists, every compile error with its message and
// position, nesting limits and numbers.
#include "ListText.h"

#include <gtest/gtest.h>

namespace {

std::string Parsed(const std::string& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    evaluator.Compile();
    return ListText(evaluator.CommandList());
}

struct TFailure {
    std::string Message;
    int Position;
    bool operator==(const TFailure&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TFailure& f)
{
    return out << "{\"" << f.Message << "\" at " << f.Position << "}";
}

TFailure Failure(const std::string& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    try {
        evaluator.Compile();
    } catch (const ESyntaxError& error) {
        EXPECT_EQ(evaluator.ErrorMessage(), error.what());
        EXPECT_EQ(evaluator.CommandList().Count(), 0) << "the list is emptied";
        return {error.what(), evaluator.Position()};
    }
    return {"(compiled)", evaluator.Position()};
}

std::string Repeat(const std::string& text, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

} // namespace

TEST(Parser, WritesPostfixLists)
{
    const std::pair<const char*, const char*> cases[] = {
        {"x+1", "x, 1, +"},
        {"x-y-z", "x, y, -, z, -"},
        {"2^3^2", "2, 3, 2, ^, ^"},
        {"-x^2", "x, NEG, 2, ^"},
        {"2^-x", "2, x, NEG, ^"},
        {"-2^2", "2, NEG, 2, ^"},
        {"2*-3^2", "2, 3, NEG, 2, ^, *"},
        {"-x*y", "x, NEG, y, *"},
        {"+x", "x"},
        {"sin(cos(x))", "x, COS, SIN"},
        {"sin(x)*cos(x)", "x, SIN, x, COS, *"},
        {"sum(1,x)", "1, x, SUM"},
        {"pi()", "PI"},
        {"NEG(x)", "x, NEG"},
        {"SIN(X)", "x, SIN"},
        {" x + 1 ", "x, 1, +"},
        {"x*-y", "x, y, NEG, *"},
        {"1+2*3-4/5", "1, 2, 3, *, +, 4, 5, /, -"},
        {"x%2*3", "x, 2, %, 3, *"},
        {"(x+1)*(y-2)", "x, 1, +, y, 2, -, *"},
        {"sum ( pi ( ) , - x )", "PI, x, NEG, SUM"},
    };
    for (const auto& [formula, list] : cases)
        EXPECT_EQ(Parsed(formula), list) << formula;
}

TEST(Parser, ReportsEveryErrorWithItsPosition)
{
    const std::pair<const char*, TFailure> cases[] = {
        {"", {"Empty expression", 1}},
        {"x+", {"Syntax error", 3}},
        {"--x", {"Syntax error", 3}},
        {"x)", {"Syntax error", 3}},
        {"x,y", {"Syntax error", 3}},
        {"sin()", {"Syntax error", 6}},
        {"()", {"Syntax error", 3}},
        {"(x", {"\")\" expected but \"\" found", 3}},
        {"sin x", {"\"(\" expected but \"x\" found", 6}},
        {"pi", {"\"(\" expected but \"\" found", 3}},
        {"sum(1)", {"\",\" expected but \")\" found", 7}},
        {"sum(1,2,3)", {"\")\" expected but \",\" found", 9}},
        {"foo(x)", {"Unknown function or variable \"foo\"", 4}},
        {"a+1", {"Unknown function or variable \"a\"", 2}},
        {"1.2.3", {"Invalid number", 6}},
        {"1..2", {"Invalid number", 5}},
        {"1e", {"Invalid number", 3}},
        {"1e+-5", {"Invalid number", 6}},
        {".5", {"Invalid expression", 1}},
        {"sin(.5)", {"Invalid expression", 5}},
        {"   ", {"Invalid expression", 4}},
        {"x .5", {"Invalid expression", 3}},
        // A second expression right after a complete one.
        {"2x", {"Syntax error", 3}},
        {"x y", {"Syntax error", 4}},
        {"x(1)", {"Syntax error", 3}},
        {"sin(x)cos(x)", {"Syntax error", 10}},
        {"(x)(y)", {"Syntax error", 5}},
        // Line breaks: where an operand is due, and where ) or , is due.
        {"x+\ny", {"Syntax error", 4}},
        {"x\r\n", {"Syntax error", 4}},
        {"(x\r\n)", {"\")\" expected but \"\r\n\" found", 5}},
    };
    for (const auto& [formula, failure] : cases)
        EXPECT_EQ(Failure(formula), failure) << '"' << formula << '"';
}

TEST(Parser, NestingIsLimited)
{
    // Parentheses, function arguments and chained ^ each count one level.
    EXPECT_EQ(Parsed(Repeat("(", 256) + "x" + Repeat(")", 256)), "x");
    EXPECT_EQ(Failure(Repeat("(", 257) + "x" + Repeat(")", 257)), (TFailure{"Formula is nested too deeply", 258}));
    EXPECT_EQ(Failure(Repeat("sin(", 300) + "x" + Repeat(")", 300)),
              (TFailure{"Formula is nested too deeply", 257 * 4 + 1}));
    EXPECT_EQ(Failure("x" + Repeat("^x", 300)), (TFailure{"Formula is nested too deeply", 1 + 257 * 2}));
    EXPECT_EQ(Failure(Repeat("-(", 300) + "x" + Repeat(")", 300)),
              (TFailure{"Formula is nested too deeply", 257 * 2 + 1}));
    // Nesting does not grow along a chain of left-associative operators.
    EXPECT_NO_THROW(Parsed("x" + Repeat("+x*(x-1)", 5000)));
}

TEST(Parser, NumbersAreWorkedOutAtExtendedPrecisionThenRounded)
{
    const std::pair<const char*, double> cases[] = {
        {"12", 12}, {"1.", 1}, {"1.5", 1.5}, {"1.e3", 1000}, {"2.5e-3", 0.0025}, {"1E+5", 1e5},
        {"0.1", 0.1}, {"1e-400", 0}, {"0e99999", 0}, {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1.7976931348623157e308", 1.7976931348623157e308}, {"4.9406564584124654e-324", 4.9406564584124654e-324},
    };
    for (const auto& [formula, value] : cases) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(formula);
        evaluator.Compile();
        ASSERT_EQ(evaluator.CommandList().Count(), 1);
        EXPECT_EQ(evaluator.CommandList()[0].Value, value) << formula;
    }
}

TEST(Parser, NumberBeyondTheDoubleRangeIsAnOverflowNotASyntaxError)
{
    for (const char* formula : {"1e309", "x+1E0500", "2*1e99999999999999999999"}) {
        TRapidEvaluator evaluator;
        evaluator.SetFormula(formula);
        EXPECT_THROW(evaluator.Compile(), EOverflow) << formula;
        EXPECT_EQ(evaluator.ErrorMessage(), "");
        EXPECT_EQ(evaluator.CommandList().Count(), 0) << "no half-parsed list stays";
        EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << "the unit is reset";
    }
}

TEST(Parser, SettingTheFormulaResetsTheState)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("x+");
    EXPECT_THROW(evaluator.Compile(), ESyntaxError);
    EXPECT_EQ(evaluator.Position(), 3);
    evaluator.SetFormula("x+");  // the same text again is no shortcut
    EXPECT_EQ(evaluator.Position(), 1);
    EXPECT_EQ(evaluator.ErrorMessage(), "");

    evaluator.SetFormula("x+1");
    evaluator.Compile();
    const int position = evaluator.Position();
    evaluator.Compile();  // compiled already: returns at once
    EXPECT_EQ(evaluator.Position(), position);
    EXPECT_EQ(ListText(evaluator.CommandList()), "x, 1, +");
    evaluator.SetFormula("x*2");
    EXPECT_EQ(evaluator.CommandList().Count(), 0);
}

TEST(Parser, AutoCompileRestoresThePreviousTextOnFailure)
{
    TRapidEvaluator evaluator;
    evaluator.SetAutoCompile(true);
    evaluator.SetFormula("x*2");
    EXPECT_EQ(ListText(evaluator.CommandList()), "x, 2, *");
    EXPECT_THROW(evaluator.SetFormula("x*"), ESyntaxError);
    EXPECT_EQ(evaluator.Formula(), "x*2");
    EXPECT_EQ(evaluator.ErrorMessage(), "Syntax error");
    EXPECT_EQ(evaluator.Position(), 3);

    // Nothing runs after the failed compile; setting the text again makes
    // it runnable.
    FormulaX = 4;
    EXPECT_THROW(evaluator.Evaluate(), Exception);
    evaluator.SetFormula("x*2");
    EXPECT_EQ(evaluator.Evaluate(), 8.0);
}
