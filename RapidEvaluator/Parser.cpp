// The parser: recursive descent over the scanner's tokens, writing the
// formula as a postfix command list. Each rule is entered with its first
// token current and returns with the token after what it parsed current.
#include "RapidEvaluator/RapidEvaluator.h"

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

// Whether the current token begins with c (an empty token begins with a blank).
bool TRapidEvaluator::TokenIs(char c) const
{
    return !Token.empty() && Token[0] == c;
}

// formula = argument { argument }, up to the end of the text
void TRapidEvaluator::Parse()
{
    NestingDepth = 0;
    if (Formula_.empty())
        SyntaxError(Messages::EmptyExpression);
    do {
        ParseArgument();
        // A second expression right after a complete one (2x, x y, x(1)) would
        // leave two values; it is refused just past its first token.
        const bool secondExpression = TokenKind == tokNumber || TokenKind == tokFunction
                                      || TokenKind == tokVariable
                                      || (TokenKind == tokDelimiter && TokenIs('('));
        if (secondExpression) {
            NextToken();
            SyntaxError(Messages::SyntaxError);
        }
    } while (!(TokenKind == tokDelimiter && TokenValue == DelimEnd));
}

// argument = expression; reads its own first token, and the token after the
// expression is scanned again by whoever comes next
void TRapidEvaluator::ParseArgument()
{
    NextToken();
    if (Token.empty())
        SyntaxError(Messages::InvalidExpression);
    ParseExpression();
    RewindToken();
}

// expression = term { ("+" | "-") term }
void TRapidEvaluator::ParseExpression()
{
    ParseTerm();
    while (TokenIs('+') || TokenIs('-')) {
        const char op = Token[0];
        NextToken();
        ParseTerm();
        EmitOperator(op);
    }
}

// term = power { ("*" | "/" | "%") power }
void TRapidEvaluator::ParseTerm()
{
    ParsePower();
    while (TokenIs('*') || TokenIs('/') || TokenIs('%')) {
        const char op = Token[0];
        NextToken();
        ParsePower();
        EmitOperator(op);
    }
}

// power = signed [ "^" power ]
void TRapidEvaluator::ParsePower()
{
    ParseSigned();
    if (TokenIs('^')) {
        EnterNesting();
        NextToken();
        ParsePower();
        LeaveNesting();
        EmitOperator('^');
    }
}

// signed = [ "+" | "-" ] primary
void TRapidEvaluator::ParseSigned()
{
    char sign = 0;
    if (TokenKind == tokDelimiter && (TokenIs('+') || TokenIs('-'))) {
        sign = Token[0];
        NextToken();
    }
    ParsePrimary();
    if (sign != 0)
        EmitSign(sign);
}

// primary = "(" expression ")" | factor
void TRapidEvaluator::ParsePrimary()
{
    if (TokenKind == tokDelimiter && TokenIs('(')) {
        EnterNesting();
        NextToken();
        ParseExpression();
        RewindToken();
        Expect(")");
        NextToken();
        LeaveNesting();
    } else {
        ParseFactor();
    }
}

// factor = number | variable | call
void TRapidEvaluator::ParseFactor()
{
    switch (TokenKind) {
    case tokNumber:
        CommandList_.Add(TStackItem::Constant(NumberValue()));
        NextToken();
        break;
    case tokFunction:
        ParseCall();
        NextToken();
        break;
    case tokVariable:
        CommandList_.Add(TStackItem::Variable(reinterpret_cast<const double*>(TokenValue)));
        NextToken();
        break;
    default:
        SyntaxError(Messages::SyntaxError);
    }
}

// call = name "(" [ argument { "," argument } ] ")", with exactly ParamCount arguments
void TRapidEvaluator::ParseCall()
{
    if (TokenValue == 0)
        SyntaxError(Messages::UnknownName, {Token});
    const std::uint8_t argCount = TokenEntry->ParamCount;
    const auto code = static_cast<std::int32_t>(TokenValue);
    Expect("(");
    EnterNesting();
    for (int i = 1; i <= argCount; ++i) {
        ParseArgument();
        if (i < argCount)
            Expect(",");
    }
    Expect(")");
    LeaveNesting();
    CommandList_.Add(TStackItem::Function(code, argCount));
}

void TRapidEvaluator::Expect(std::string_view text)
{
    NextToken();
    if (!EqualNoCase(Token, text))
        SyntaxError(Messages::Expected, {text, Token});
}

void TRapidEvaluator::EmitOperator(char c)
{
    switch (c) {
    case '+': CommandList_.Add(TStackItem::MakeOperator(opAdd)); break;
    case '-': CommandList_.Add(TStackItem::MakeOperator(opSubtract)); break;
    case '*': CommandList_.Add(TStackItem::MakeOperator(opMultiply)); break;
    case '/': CommandList_.Add(TStackItem::MakeOperator(opDivide)); break;
    case '%': CommandList_.Add(TStackItem::MakeOperator(opModulo)); break;
    case '^': CommandList_.Add(TStackItem::MakeOperator(opPower)); break;
    }
}

void TRapidEvaluator::EmitSign(char c)
{
    if (c == '-')
        CommandList_.Add(TStackItem::Function(fnNeg, 1));
}

void TRapidEvaluator::EnterNesting()
{
    if (++NestingDepth > MaxNestingDepth)
        SyntaxError(Messages::NestedTooDeeply);
}

// The value of the current number token: digits [ "." digits ] [ ("E" | "e")
// [ "+" | "-" ] digits ], worked out at 64-bit precision and rounded to a
// double. Raises "Invalid number" for any other form, EOverflow beyond the
// double range.
double TRapidEvaluator::NumberValue()
{
    const std::string_view text = Token;
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
