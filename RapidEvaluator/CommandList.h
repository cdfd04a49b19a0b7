// The postfix program of a parsed formula: operands before the operation that
// uses them, as the code generator translates it item by item.
#pragma once

#include <cstdint>
#include <vector>

enum StackItemKind : std::uint8_t {
    skConstant = 0,
    skVariable = 1,
    skOperator = 2,
    skFunction = 3,
};

enum OperatorCode : std::uint8_t {
    opAdd = 1,
    opSubtract = 2,
    opMultiply = 3,
    opDivide = 4,
    opModulo = 5,  // remainder with the sign of the left operand, as C's fmod
    opPower = 6,
};

struct TStackItem {
    std::uint8_t Kind = skConstant;
    double Value = 0.0;            // skConstant: the number
    std::uintptr_t Address = 0;    // skVariable: the variable's address; skFunction: its code
    std::uint8_t Operator = 0;     // skOperator: the operator code
    std::uint8_t ArgCount = 0;     // skFunction: the number of arguments

    static TStackItem Constant(double value);
    static TStackItem Variable(const double* address);
    static TStackItem MakeOperator(OperatorCode code);
    static TStackItem Function(std::int32_t code, std::uint8_t argCount);

    // The same item: constants compared bit for bit.
    bool operator==(const TStackItem& other) const;
};

class TCommandList {
public:
    void Add(const TStackItem& item) { Items.push_back(item); }
    int Count() const { return static_cast<int>(Items.size()); }
    const TStackItem& operator[](int index) const { return Items[static_cast<std::size_t>(index)]; }
    void Clear() { Items.clear(); }
    bool operator==(const TCommandList& other) const = default;

private:
    std::vector<TStackItem> Items;
};
