// The scanner: token kinds, values, names resolved against the tables, and
// where Position stands after each token.
#include "Probe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Probe = TRapidEvaluatorProbe;

struct TToken {
    std::uint8_t Kind;
    std::string Text;
    std::uintptr_t Value;
    int PositionAfter;

    bool operator==(const TToken&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TToken& t)
{
    return out << "{kind " << int(t.Kind) << ", \"" << t.Text << "\", value " << t.Value << ", at "
               << t.PositionAfter << "}";
}

// Every token up to the end of the text (or the first character of no class).
std::vector<TToken> Scan(const std::string& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    std::vector<TToken> tokens;
    for (int guard = 0; guard < 100; ++guard) {
        Probe::NextToken(evaluator);
        tokens.push_back({Probe::Kind(evaluator), Probe::Token(evaluator), Probe::Value(evaluator),
                          evaluator.Position()});
        if (Probe::Kind(evaluator) == tokNone || Probe::Value(evaluator) == DelimEnd)
            break;
    }
    return tokens;
}

const auto X = reinterpret_cast<std::uintptr_t>(&FormulaX);
TToken End(int position) { return {tokDelimiter, "", DelimEnd, position}; }
TToken Char(char c, int position) { return {tokDelimiter, std::string(1, c), DelimChar, position}; }
TToken Number(const std::string& text, int position) { return {tokNumber, text, 0, position}; }
TToken VariableX(const std::string& text, int position) { return {tokVariable, text, X, position}; }
TToken Function(const std::string& text, std::uintptr_t code, int position)
{
    return {tokFunction, text, code, position};
}

} // namespace

TEST(Scanner, CutsFormulasIntoTokens)
{
    struct Case {
        std::string Formula;
        std::vector<TToken> Tokens;
    };
    const Case cases[] = {
        {"x  ", {VariableX("x", 2), End(4)}},
        {"   ", {End(4)}},
        {"", {End(1)}},
        {"2.5e-3", {Number("2.5e-3", 7), End(7)}},
        {"1.2.3", {Number("1.2.3", 6), End(6)}},
        {"1e", {Number("1e", 3), End(3)}},
        {"1e+-5*", {Number("1e+-5", 6), Char('*', 7), End(7)}},
        {"2x", {Number("2", 2), VariableX("x", 3), End(3)}},
        {"Sin(X)", {Function("Sin", 200, 4), Char('(', 5), VariableX("X", 6), Char(')', 7), End(7)}},
        {"LOG10 (x)", {Function("LOG10", 215, 6), Char('(', 8), VariableX("x", 9), Char(')', 10), End(10)}},
        {"foo+1", {Function("foo", 0, 4), Char('+', 5), Number("1", 6), End(6)}},
        // A name runs up to the next delimiter, points and other characters included.
        {"x.5 x=1", {Function("x.5", 0, 4), Function("x=1", 0, 8), End(8)}},
        {"\tx\t", {VariableX("x", 3), End(4)}},
        {"%^,/", {Char('%', 2), Char('^', 3), Char(',', 4), Char('/', 5), End(5)}},
        {".5", {{tokNone, "", 0, 1}}},
        {"x#", {Function("x#", 0, 3), End(3)}},
        {"x #", {VariableX("x", 2), {tokNone, "", 0, 3}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scan(c.Formula), c.Tokens) << '"' << c.Formula << '"';
}

TEST(Scanner, LineBreaks)
{
    // A carriage return takes the next character along, whatever it is; a line
    // feed alone is a one-character delimiter.
    EXPECT_EQ(Scan("\r\nx"), (std::vector<TToken>{{tokDelimiter, "\r\n", DelimLineBreak, 3}, VariableX("x", 4), End(4)}));
    EXPECT_EQ(Scan("\rx"), (std::vector<TToken>{{tokDelimiter, "\r\n", DelimLineBreak, 3}, End(3)}));
    EXPECT_EQ(Scan("x\n"), (std::vector<TToken>{VariableX("x", 2), {tokDelimiter, "\n", DelimChar, 3}, End(3)}));
}

TEST(Scanner, KnownFunctionsCarryTheirTableEntry)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("sum(pi(), x)");
    Probe::NextToken(evaluator);
    ASSERT_NE(Probe::Entry(evaluator), nullptr);
    EXPECT_EQ(Probe::Entry(evaluator)->Name, "SUM");
    EXPECT_EQ(Probe::Entry(evaluator)->ParamCount, 2);
}

TEST(Scanner, RewindReadsTheSameTokenAgain)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula("  sin( 12.5e+3 ,x) \r\n");
    for (int guard = 0; guard < 20; ++guard) {
        Probe::NextToken(evaluator);
        const TToken first{Probe::Kind(evaluator), Probe::Token(evaluator), Probe::Value(evaluator), evaluator.Position()};
        Probe::RewindToken(evaluator);
        Probe::NextToken(evaluator);
        const TToken again{Probe::Kind(evaluator), Probe::Token(evaluator), Probe::Value(evaluator), evaluator.Position()};
        ASSERT_EQ(first, again);
        if (first.Value == DelimEnd && first.Kind == tokDelimiter)
            return;
    }
    FAIL() << "no end of text";
}
