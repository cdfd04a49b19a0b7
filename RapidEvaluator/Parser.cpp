// The parser: recursive descent over the scanner's tokens, writing the
// formula as a postfix command list. Each rule is entered with its first
// token current and returns with the token after what it parsed current.
#include "RapidEvaluator/Parser.h"

#include "RapidEvaluator/Messages.h"
#include "numeric/FloatingPoint.h"
#include "numeric/PowerOfTen.h"

#include <algorithm>

namespace {

// A written exponent is read up to this magnitude: beyond it, together with
// any number of digits a formula can hold, the literal is equally far out of
// the double range (or below it).
constexpr long long ExponentLimit = 4LL * MaxDecimalScale;

} // namespace

// formula = argument { argument }, up to the end of the text
void TParser::Parse(TCommandList& list)
{
    List = &list;
    NestingDepth = 0;
    if (Scanner.Formula().empty())
        SyntaxError(Messages::EmptyExpression);
    do {
        ParseArgument();
        // A second expression right after a complete one (2x, x y, x(1)) would
        // leave two values; it is refused just past its first token.
        const bool secondExpression = Scanner.Kind() == tokNumber || Scanner.Kind() == tokFunction
                                      || Scanner.Kind() == tokVariable || Scanner.AtDelimiter('(');
        if (secondExpression) {
            Scanner.NextToken();
            SyntaxError(Messages::SyntaxError);
        }
    } while (!Scanner.AtEnd());
}

// argument = expression; reads its own first token, and the token after the
// expression is scanned again by whoever comes next
void TParser::ParseArgument()
{
    Scanner.NextToken();
    if (Scanner.Token().empty())
        SyntaxError(Messages::InvalidExpression);
    ParseExpression();
    Scanner.RewindToken();
}

// expression = term { ("+" | "-") term }
void TParser::ParseExpression()
{
    ParseTerm();
    while (Scanner.TokenIs('+') || Scanner.TokenIs('-')) {
        const char op = Scanner.Token()[0];
        Scanner.NextToken();
        ParseTerm();
        EmitOperator(op);
    }
}

// term = power { ("*" | "/" | "%") power }
void TParser::ParseTerm()
{
    ParsePower();
    while (Scanner.TokenIs('*') || Scanner.TokenIs('/') || Scanner.TokenIs('%')) {
        const char op = Scanner.Token()[0];
        Scanner.NextToken();
        ParsePower();
        EmitOperator(op);
    }
}

// power = signed [ "^" power ]
void TParser::ParsePower()
{
    ParseSigned();
    if (Scanner.TokenIs('^')) {
        EnterNesting();
        Scanner.NextToken();
        ParsePower();
        LeaveNesting();
        EmitOperator('^');
    }
}

// signed = [ "+" | "-" ] primary
void TParser::ParseSigned()
{
    char sign = 0;
    if (Scanner.AtDelimiter('+') || Scanner.AtDelimiter('-')) {
        sign = Scanner.Token()[0];
        Scanner.NextToken();
    }
    ParsePrimary();
    if (sign != 0)
        EmitSign(sign);
}

// primary = "(" expression ")" | factor
void TParser::ParsePrimary()
{
    if (Scanner.AtDelimiter('(')) {
        EnterNesting();
        Scanner.NextToken();
        ParseExpression();
        Scanner.RewindToken();
        Expect(")");
        Scanner.NextToken();
        LeaveNesting();
    } else {
        ParseFactor();
    }
}

// factor = number | variable | call
void TParser::ParseFactor()
{
    switch (Scanner.Kind()) {
    case tokNumber:
        List->Add(TStackItem::Constant(NumberValue()));
        Scanner.NextToken();
        break;
    case tokFunction:
        ParseCall();
        Scanner.NextToken();
        break;
    case tokVariable:
        List->Add(TStackItem::Variable(reinterpret_cast<const double*>(Scanner.Value())));
        Scanner.NextToken();
        break;
    default:
        SyntaxError(Messages::SyntaxError);
    }
}

// call = name "(" [ argument { "," argument } ] ")", with exactly ParamCount arguments
void TParser::ParseCall()
{
    if (Scanner.Value() == 0)
        SyntaxError(Messages::UnknownName, {Scanner.Token()}, Scanner.Token());
    const std::uint8_t argCount = Scanner.Entry()->ParamCount;
    const auto code = static_cast<std::int32_t>(Scanner.Value());
    // A function named without its parenthesis (pi for pi()) is reported with
    // its name, for the hint of the notation the user came from.
    const std::string name = Scanner.Token();
    Scanner.NextToken();
    if (!EqualNoCase(Scanner.Token(), "("))
        SyntaxError(Messages::Expected, {"(", Scanner.Token()}, name);
    EnterNesting();
    for (int i = 1; i <= argCount; ++i) {
        ParseArgument();
        if (i < argCount)
            Expect(",");
    }
    Expect(")");
    LeaveNesting();
    List->Add(TStackItem::Function(code, argCount));
}

// Reads the next token and requires it to be `text`.
void TParser::Expect(std::string_view text)
{
    Scanner.NextToken();
    if (!EqualNoCase(Scanner.Token(), text))
        SyntaxError(Messages::Expected, {text, Scanner.Token()});
}

void TParser::EmitOperator(char c)
{
    switch (c) {
    case '+': List->Add(TStackItem::MakeOperator(opAdd)); break;
    case '-': List->Add(TStackItem::MakeOperator(opSubtract)); break;
    case '*': List->Add(TStackItem::MakeOperator(opMultiply)); break;
    case '/': List->Add(TStackItem::MakeOperator(opDivide)); break;
    case '%': List->Add(TStackItem::MakeOperator(opModulo)); break;
    case '^': List->Add(TStackItem::MakeOperator(opPower)); break;
    }
}

void TParser::EmitSign(char c)
{
    if (c == '-')
        List->Add(TStackItem::Function(fnNeg, 1));
}

// Everything parsed so far is dropped: a failed parse leaves no list behind.
void TParser::SyntaxError(std::string_view message, std::initializer_list<std::string_view> args,
                          std::string name)
{
    List->Clear();
    throw ESyntaxError(FormatMessage(message, args), std::move(name));
}

void TParser::EnterNesting()
{
    if (++NestingDepth > MaxNestingDepth)
        SyntaxError(Messages::NestedTooDeeply);
}

// The value of the current number token: digits [ "." digits ] [ ("E" | "e")
// [ "+" | "-" ] digits ], worked out at 64-bit precision and rounded to a
// double. Raises "Invalid number" for any other form, EOverflow beyond the
// double range.
double TParser::NumberValue()
{
    const std::string_view text = Scanner.Token();
    std::size_t i = 0;
    auto digitsFrom = [&](std::size_t start) {
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return text.substr(start, i - start);
    };
    const std::string_view integerDigits = digitsFrom(0);
    std::string_view fractionDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        fractionDigits = digitsFrom(i);
    }
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::string_view exponentDigits = digitsFrom(i);
        if (exponentDigits.empty())
            SyntaxError(Messages::InvalidNumber);
        for (char c : exponentDigits)
            exponent = std::min(exponent * 10 + (c - '0'), ExponentLimit);
        if (negative)
            exponent = -exponent;
    }
    if (integerDigits.empty() || i != text.size())
        SyntaxError(Messages::InvalidNumber);

    std::string digits;
    digits.reserve(integerDigits.size() + fractionDigits.size());
    digits.append(integerDigits).append(fractionDigits);
    const long long scale = std::clamp<long long>(exponent - static_cast<long long>(fractionDigits.size()),
                                                  -MaxDecimalScale, MaxDecimalScale);
    return StoreDouble(DecimalDigitsValue(digits, static_cast<int>(scale)));
}
