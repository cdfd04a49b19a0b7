// TParser: recursive descent over the scanner's tokens, writing the formula
// as a postfix command list.
#pragma once

#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/Scanner.h"
#include "RapidEvaluator/SyntaxError.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Parentheses, function calls and chained ^ nest at most this deep, so that
// neither the parser nor the generated code can exhaust the machine stack.
inline constexpr int MaxNestingDepth = 256;

class TParser {
public:
    explicit TParser(TScanner& scanner) : Scanner(scanner) {}
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    // Appends to `list` the postfix program of the scanner's whole text, read
    // from the scanner's current Position on. On a syntax error `list` is
    // emptied and ESyntaxError raised, with the scanner left where the error
    // was found; a number beyond the double range raises EOverflow.
    void Parse(TCommandList& list);

private:
    void ParseArgument();
    void ParseExpression();
    void ParseTerm();
    void ParsePower();
    void ParseSigned();
    void ParsePrimary();
    void ParseFactor();
    void ParseCall();
    void Expect(std::string_view text);
    void EmitOperator(char c);
    void EmitSign(char c);
    void EnterNesting();
    void LeaveNesting() { --NestingDepth; }
    double NumberValue();
    [[noreturn]] void SyntaxError(std::string_view message, std::initializer_list<std::string_view> args = {},
                                  std::string name = {});

    TScanner& Scanner;
    TCommandList* List = nullptr;  // where Parse writes
    int NestingDepth = 0;
};
