// Symbol table entries, and the scanner's table of built-in functions.
#include "RapidEvaluator/LookupTable.h"

#include "numeric/Exceptions.h"

TIntFunction::TIntFunction(std::string name, std::int32_t code, int paramCount)
    : TAbstractFunction(std::move(name), 0), Code(code)
{
    if (paramCount > MaxParamCount || paramCount < 0)
        throw Exception("Too many parameters. ParamCount must be 5 or less");
    ParamCount = static_cast<std::uint8_t>(paramCount);
}

void AddBuiltInFunctions(TLookupTable<TIntFunction>& functions)
{
    for (const TBuiltInFunction& function : BuiltInFunctions)
        functions.Add(std::make_unique<TIntFunction>(function.Name, function.Code, function.ParamCount));
}
