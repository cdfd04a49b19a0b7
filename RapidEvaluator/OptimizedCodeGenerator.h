// Translation of a postfix command list into x86-64 code that computes, bit
// for bit and fault for fault, what the item-by-item translation computes.
#pragma once

#include "RapidEvaluator/CodeForm.h"
#include "RapidEvaluator/CodeGenerator.h"

#include <cstdint>
#include <vector>

// The optimized translation: a routine called and returning as the item-by-item
// one is, in which
// - constants are read from a pool after the code (FLD qword [RIP+d]), and
//   constants and variables are loaded only when they are consumed, instead
//   of waiting on the machine stack: they are doubles either way;
// - a whole constant exponent n with |n| <= 16 is multiplied out inline as
//   the power routine's integer power multiplies it: the base rounded to a
//   double, the same products in the same order, 1 / result for n < 0, the
//   result rounded to a double;
// - every other value is stored to the machine stack exactly where the
//   item-by-item code stores it, since that rounding is part of the result.
// The values of the postfix program are tracked where they are (in ST0, on
// the machine stack, or not yet loaded), each loaded only by the item that
// consumes it.
class TOptimizedGenerator final : public TCodeGenerator {
public:
    explicit TOptimizedGenerator(std::uintptr_t powerRoutine) : PowerRoutine(powerRoutine) {}

private:
    enum TPlace : std::uint8_t { InST0, OnStack, Deferred, DeferredVariable };
    struct TValue {
        TPlace Place;
        bool Extended;  // in ST0 at the unit's precision, not (yet) a double
        double Constant;
        std::uintptr_t Address;
    };
    struct TFixup {
        int At;    // offset of a disp32 in the code
        int Slot;  // index into the pool
    };

    friend class TCodeGenerator;  // the walk calls the steps

    void Translate() override;
    int FusedItems(int index) const;
    void Fuse(int index);
    void Constant(double value, int index);
    void Variable(std::uintptr_t address, int index);
    void Operator(std::span<const std::uint8_t> instructions, int index);
    void Power(int index);
    void Function(std::span<const std::uint8_t> instructions, int argCount, int index);
    void Finish();

    void IntegerPower(int n, int index);
    void LoadOperands(int count);
    void Load(TValue& value);
    void Produce(int index, bool extended);

    std::uintptr_t PowerRoutine;
    std::vector<TValue> Values;
    std::vector<double> Pool;
    std::vector<TFixup> Fixups;
    int StackDepth = 0;  // 8-byte values on the machine stack, for the alignment of calls
};

// TOptimizedGenerator(powerRoutine).Generate(list, code).
void GenerateOptimizedCode(const TCommandList& list, TCode& code, std::uintptr_t powerRoutine);
