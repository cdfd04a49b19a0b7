// The formula language as the formula generators see it: the precedence
// levels of the grammar and the built-in functions with their argument counts.
#pragma once

// Precedence levels of the grammar, loosest first.
enum Level { ExpressionLevel = 1, TermLevel, PowerLevel, SignedLevel, PrimaryLevel };

struct TFunctionInfo {
    const char* Name;
    int Args;
};
constexpr TFunctionInfo Functions[] = {
    {"sin", 1}, {"cos", 1}, {"tg", 1}, {"ctg", 1}, {"sec", 1}, {"cosec", 1}, {"arcsin", 1},
    {"arccos", 1}, {"arctg", 1}, {"exp", 1}, {"sqrt", 1}, {"ln", 1}, {"log10", 1}, {"log2", 1},
    {"neg", 1}, {"abs", 1}, {"pi", 0}, {"sum", 2},
};
