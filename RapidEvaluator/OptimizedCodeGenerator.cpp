// The optimized x86-64 code generator: the postfix values tracked where they
// are (in ST0, on the machine stack, or not yet loaded), each loaded only by
// the item that consumes it.
#include "RapidEvaluator/OptimizedCodeGenerator.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/LookupTable.h"
#include "numeric/Exceptions.h"

#include <bit>
#include <cmath>

namespace {

constexpr int MaxInlineExponent = 16;

// A whole constant exponent of at most 16 that starts at an item: the
// constant and ^, or the constant, NEG and ^ (a signed exponent).
struct TInlinePower {
    bool Present = false;
    int Exponent = 0;
    int Items = 0;  // items it covers, the constant first
};

TInlinePower InlinePowerAt(const TCommandList& list, int index)
{
    if (index >= list.Count() || list[index].Kind != skConstant)
        return {};
    const double value = list[index].Value;
    if (!(std::fabs(value) <= MaxInlineExponent) || value != std::trunc(value))
        return {};
    const auto isPower = [&](int i) { return i < list.Count() && list[i].Kind == skOperator && list[i].Operator == opPower; };
    const int n = static_cast<int>(value);
    if (isPower(index + 1))
        return {true, n, 2};
    if (index + 1 < list.Count() && list[index + 1].Kind == skFunction
        && static_cast<std::int32_t>(list[index + 1].Address) == fnNeg && isPower(index + 2))
        return {true, -n, 3};
    return {};
}

} // namespace

void TOptimizedGenerator::Translate()
{
    Values.clear();
    Pool.clear();
    Fixups.clear();
    StackDepth = 0;
    Walk(*this);
}

// Constants and variables wait until they are consumed; an inline power
// takes its constant exponent (and its sign) along with the ^.
int TOptimizedGenerator::FusedItems(int index) const
{
    return InlinePowerAt(List(), index).Items;
}

void TOptimizedGenerator::Fuse(int index)
{
    const TInlinePower power = InlinePowerAt(List(), index);
    IntegerPower(power.Exponent, index + power.Items - 1);
}

void TOptimizedGenerator::Constant(double value, int)
{
    Values.push_back({Deferred, false, value, 0});
}

void TOptimizedGenerator::Variable(std::uintptr_t address, int)
{
    Values.push_back({DeferredVariable, false, 0, address});
}

void TOptimizedGenerator::Operator(std::span<const std::uint8_t> instructions, int index)
{
    LoadOperands(2);
    Code().EmitBytes(instructions);
    Produce(index, true);
}

void TOptimizedGenerator::Power(int index)
{
    LoadOperands(2);
    X86_64Encoding.EmitPowerCall(Code(), PowerRoutine, StackDepth);
    Produce(index, false);
}

void TOptimizedGenerator::Function(std::span<const std::uint8_t> instructions, int argCount, int index)
{
    LoadOperands(argCount);
    Code().EmitBytes(instructions);
    Produce(index, true);
}

// Base ^ n for the base on top: IntegerPower's binary exponentiation,
// lowest bit first, squaring no further than the highest bit.
void TOptimizedGenerator::IntegerPower(int n, int index)
{
    const TX86_64Forms& forms = X86_64Forms;
    const bool extended = !Values.empty() && Values.back().Extended;
    LoadOperands(1);
    if (extended)
        Code().EmitBytes(forms.RoundToDouble);  // the base is passed to the power routine as a double
    if (n == 0) {
        Code().EmitBytes(forms.ReplaceByOne);
    } else {
        bool haveResult = false;
        for (unsigned bits = static_cast<unsigned>(std::abs(n)), bit = 0; bits != 0; bits >>= 1, ++bit) {
            const bool last = (bits >> 1) == 0;
            if (bits & 1) {
                if (haveResult) {
                    Code().EmitBytes(last ? forms.MultiplyResultLast : forms.MultiplyResult);
                } else if (n > 0 && bit == 0) {
                    // The routine's 1 · power, with +0 added: exact for
                    // every base but a zero one, whose positive powers the
                    // routine gives as +0 while (-0)^odd would be -0.
                    Code().EmitBytes(last ? forms.PlusZero : forms.FirstResultPlusZero);
                } else if (!last) {
                    Code().EmitBytes(forms.FirstResult);
                }  // else the power itself is the result, already in ST0
                haveResult = true;
            }
            if (!last)
                Code().EmitBytes(forms.Square);
        }
        if (n < 0)
            Code().EmitBytes(forms.Reciprocal);
        if (n != 1)  // base + 0 is a double already
            Code().EmitBytes(forms.RoundToDouble);
    }
    Produce(index, false);
}

void TOptimizedGenerator::Finish()
{
    LoadOperands(1);  // a lone constant or variable
    Code().EmitBytes(X86_64Forms.Ret);
    while (Code().Size() % 8 != 0)
        Code().EmitByte(X86_64Forms.Padding);
    const int pool = Code().Size();
    for (double value : Pool) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        Code().EmitDword(static_cast<std::uint32_t>(bits));
        Code().EmitDword(static_cast<std::uint32_t>(bits >> 32));
    }
    for (const TFixup& fixup : Fixups)
        Code().PatchDword(fixup.At, static_cast<std::uint32_t>(pool + 8 * fixup.Slot - (fixup.At + 4)));
}

// Brings the top `count` values into the unit, the deepest in ST0 (for an
// operator the left operand in ST0 and the right one in ST1, as the
// item-by-item code has them), and takes them off the list.
inline void TOptimizedGenerator::LoadOperands(int count)
{
    for (int k = 0; k < count; ++k) {
        TValue& value = Values[Values.size() - 1 - static_cast<std::size_t>(k)];
        // Only the newest value can be in ST0 already: an older one there
        // would end up above the values loaded after it.
        if (value.Place == InST0 && k > 0)
            throw Exception("The command list uses a value out of order");
        Load(value);
    }
    Values.resize(Values.size() - static_cast<std::size_t>(count));
}

inline void TOptimizedGenerator::Load(TValue& value)
{
    switch (value.Place) {
    case InST0:
        break;
    case OnStack:
        Code().EmitBytes(X86_64Encoding.Pop);
        --StackDepth;
        break;
    case Deferred:
        Code().EmitBytes(X86_64Forms.FldRipRelative);
        Fixups.push_back({Code().Size(), static_cast<int>(Pool.size())});
        Pool.push_back(value.Constant);
        Code().EmitDword(0);
        break;
    case DeferredVariable:
        X86_64Encoding.EmitVariable(Code(), value.Address);
        break;
    }
    value.Place = InST0;
}

// The item at `index` has left its result in ST0; it is stored to the
// machine stack unless what comes next consumes it at once: the next item, an
// inline power (which takes its base from ST0), or the final load and the
// caller's store.
inline void TOptimizedGenerator::Produce(int index, bool extended)
{
    const int next = index + 1;
    if (next >= List().Count() || ConsumedAtOnce(List(), next) || InlinePowerAt(List(), next).Present) {
        Values.push_back({InST0, extended, 0, 0});
        return;
    }
    Code().EmitBytes(X86_64Encoding.Push);
    ++StackDepth;
    Values.push_back({OnStack, false, 0, 0});
}

void GenerateOptimizedCode(const TCommandList& list, TCode& code, std::uintptr_t powerRoutine)
{
    TOptimizedGenerator(powerRoutine).Generate(list, code);
}
