// The evaluator's message texts; %s is replaced by the arguments in order.
#pragma once

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
