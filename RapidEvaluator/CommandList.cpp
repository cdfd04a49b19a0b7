// Constructors and comparison of the command list's items.
#include "RapidEvaluator/CommandList.h"

#include <bit>

TStackItem TStackItem::Constant(double value)
{
    TStackItem item;
    item.Kind = skConstant;
    item.Value = value;
    return item;
}

TStackItem TStackItem::Variable(const double* address)
{
    TStackItem item;
    item.Kind = skVariable;
    item.Address = reinterpret_cast<std::uintptr_t>(address);
    return item;
}

TStackItem TStackItem::MakeOperator(OperatorCode code)
{
    TStackItem item;
    item.Kind = skOperator;
    item.Operator = code;
    return item;
}

TStackItem TStackItem::Function(std::int32_t code, std::uint8_t argCount)
{
    TStackItem item;
    item.Kind = skFunction;
    item.Address = static_cast<std::uintptr_t>(code);
    item.ArgCount = argCount;
    return item;
}

bool TStackItem::operator==(const TStackItem& other) const
{
    return Kind == other.Kind && std::bit_cast<std::uint64_t>(Value) == std::bit_cast<std::uint64_t>(other.Value)
           && Address == other.Address && Operator == other.Operator && ArgCount == other.ArgCount;
}
