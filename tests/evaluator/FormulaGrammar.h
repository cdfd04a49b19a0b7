// The formula language as the formula generators see it: the precedence
// levels of the grammar and the built-in functions with their argument counts.
#pragma once

#include "RapidEvaluator/FunctionCatalogue.h"

#include <array>
#include <iterator>

// Precedence levels of the grammar, loosest first.
enum Level { ExpressionLevel = 1, TermLevel, PowerLevel, SignedLevel, PrimaryLevel };

struct TFunctionInfo {
    const char* Name;
    int Args;
};
// The built-in functions of the catalogue.
constexpr auto Functions = [] {
    std::array<TFunctionInfo, std::size(BuiltInFunctions)> functions{};
    for (std::size_t i = 0; i < functions.size(); ++i)
        functions[i] = {BuiltInFunctions[i].Name, BuiltInFunctions[i].ParamCount};
    return functions;
}();
