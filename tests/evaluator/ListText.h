// Command lists written as text for the tests: "x, 1, +", "2, NEG, 2, ^".
#pragma once

#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/FunctionCatalogue.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <sstream>

inline std::string ItemText(const TStackItem& item)
{
    std::ostringstream out;
    switch (item.Kind) {
    case skConstant:
        out << item.Value;
        break;
    case skVariable:
        if (item.Address == reinterpret_cast<std::uintptr_t>(&FormulaX)) out << "x";
        else if (item.Address == reinterpret_cast<std::uintptr_t>(&FormulaY)) out << "y";
        else if (item.Address == reinterpret_cast<std::uintptr_t>(&FormulaZ)) out << "z";
        else out << "var@" << item.Address;
        break;
    case skOperator:
        out << " +-*/%^"[item.Operator < 7 ? item.Operator : 0];
        break;
    case skFunction:
        if (const TBuiltInFunction* function = FindBuiltInFunction(static_cast<std::int32_t>(item.Address)))
            out << function->Name;
        break;
    }
    return out.str();
}

inline std::string ListText(const TCommandList& list)
{
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += (i ? ", " : "") + ItemText(list[i]);
    return text;
}
