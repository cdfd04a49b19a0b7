// The scanner: cuts the formula into tokens at Position and resolves every
// name against the function and variable tables.
#include "RapidEvaluator/Scanner.h"

#include <array>
#include <string_view>

namespace {

// The characters that end a name and form one-character tokens: NUL, tab,
// line feed, carriage return, space and % ( ) * + , - / ^.
constexpr std::array<bool, 256> MakeDelimiters()
{
    std::array<bool, 256> set{};
    for (unsigned char c : {0, 9, 10, 13, 32})
        set[c] = true;
    for (unsigned char c : std::string_view("%()*+,-/^"))
        set[c] = true;
    return set;
}
constexpr std::array<bool, 256> Delimiters = MakeDelimiters();

bool IsDelimiter(char c) { return Delimiters[static_cast<unsigned char>(c)]; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

} // namespace

void TScanner::NextToken()
{
    Kind_ = tokNone;
    Value_ = 0;
    Token_.clear();

    // The text does not change while a token is read.
    const std::string_view text = Text;
    const std::int32_t length = static_cast<std::int32_t>(text.size());
    // The character at the 1-based position p.
    auto at = [text](std::int32_t p) { return text[static_cast<std::size_t>(p - 1)]; };

    while (Position_ <= length && IsBlank(at(Position_)))
        ++Position_;
    if (Position_ > length) {
        Kind_ = tokDelimiter;
        Value_ = DelimEnd;
        return;
    }

    const char c = at(Position_);
    if (c == '\r') {
        // A carriage return takes the character after it along, whatever it is.
        Position_ += 2;
        Token_ = "\r\n";
        Kind_ = tokDelimiter;
        Value_ = DelimLineBreak;
    } else if (IsDelimiter(c)) {
        Token_ = c;
        ++Position_;
        Kind_ = tokDelimiter;
        Value_ = DelimChar;
    } else if (IsDigit(c)) {
        // Takes more than valid numbers (1.2.3, 1e, 1e+-5); the parser checks the form.
        while (Position_ <= length && (IsDigit(at(Position_)) || at(Position_) == '.'))
            Token_ += at(Position_++);
        if (Position_ <= length && (at(Position_) == 'E' || at(Position_) == 'e')) {
            Token_ += at(Position_++);
            while (Position_ <= length && (at(Position_) == '+' || at(Position_) == '-'))
                Token_ += at(Position_++);
            while (Position_ <= length && IsDigit(at(Position_)))
                Token_ += at(Position_++);
        }
        Kind_ = tokNumber;
    } else if (IsLetter(c)) {
        while (Position_ <= length && !IsDelimiter(at(Position_)))
            Token_ += at(Position_++);
        if (const TIntFunction* function = Functions.Find(Token_)) {
            Kind_ = tokFunction;
            Value_ = static_cast<std::uintptr_t>(function->Code);
            Entry_ = function;
        } else if (const TExtPointer* variable = Variables.Find(Token_)) {
            Kind_ = tokVariable;
            Value_ = reinterpret_cast<std::uintptr_t>(variable->Address);
        } else {
            Kind_ = tokFunction;  // unknown: reported when the parser uses it
        }
    }
    // Any other character: tokNone, and Position stays on it.
}
