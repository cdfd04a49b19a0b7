// Symbol table entries and the catalogue of built-in functions.
#include "RapidEvaluator/LookupTable.h"

#include "numeric/Exceptions.h"

namespace {

struct CatalogueEntry {
    const char* Name;
    int ParamCount;
    FunctionCode Code;
};

// The order of this list is the order of the Functions table.
constexpr CatalogueEntry Catalogue[] = {
    {"SIN", 1, fnSin},       {"COS", 1, fnCos},       {"TG", 1, fnTg},
    {"CTG", 1, fnCtg},       {"SEC", 1, fnSec},       {"COSEC", 1, fnCosec},
    {"ARCSIN", 1, fnArcsin}, {"ARCCOS", 1, fnArccos}, {"ARCTG", 1, fnArctg},
    {"EXP", 1, fnExp},       {"SQRT", 1, fnSqrt},     {"LN", 1, fnLn},
    {"LOG10", 1, fnLog10},   {"LOG2", 1, fnLog2},     {"NEG", 1, fnNeg},
    {"ABS", 1, fnAbs},       {"PI", 0, fnPi},         {"SUM", 2, fnSum},
};

} // namespace

TIntFunction::TIntFunction(std::string name, std::int32_t code, int paramCount)
    : TAbstractFunction(std::move(name), 0), Code(code)
{
    if (paramCount > MaxParamCount || paramCount < 0)
        throw Exception("Too many parameters. ParamCount must be 5 or less");
    ParamCount = static_cast<std::uint8_t>(paramCount);
}

void AddBuiltInFunctions(TLookupTable<TIntFunction>& functions)
{
    for (const CatalogueEntry& entry : Catalogue)
        functions.Add(std::make_unique<TIntFunction>(entry.Name, entry.Code, entry.ParamCount));
}
