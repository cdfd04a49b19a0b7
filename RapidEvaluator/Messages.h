// The evaluator's message texts; %s is replaced by the arguments in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace Messages {

// Compile errors, raised as ESyntaxError.
inline constexpr std::string_view EmptyExpression = "Empty expression";
inline constexpr std::string_view SyntaxError = "Syntax error";
inline constexpr std::string_view InvalidExpression = "Invalid expression";
inline constexpr std::string_view InvalidNumber = "Invalid number";
inline constexpr std::string_view UnknownName = "Unknown function or variable \"%s\"";
inline constexpr std::string_view Expected = "\"%s\" expected but \"%s\" found";
inline constexpr std::string_view NestedTooDeeply = "Formula is nested too deeply";

// Registration errors, raised as Exception.
inline constexpr std::string_view FunctionExists = "Internal function \"%s\" already exists";
inline constexpr std::string_view VariableExists = "Variable \"%s\" already exists";

} // namespace Messages

// The template with each %s replaced, in order, by the next argument;
// arguments beyond the placeholders are ignored.
inline std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string text;
    auto arg = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && arg != args.end()) {
            text += *arg++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
