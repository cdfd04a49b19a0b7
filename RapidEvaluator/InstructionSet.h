// The machine code the formula compiler emits: the x87 code of every
// operator and built-in function (FunctionCatalogue.h), the same in both
// instruction sets, and the two encodings of the stack traffic around it,
// IA-32 and x86-64. Every sequence is written as instructions of
// Instructions.h.
#pragma once

#include <cstdint>
#include <span>

class TCode;

// x87 code of an operator other than ^, or of a built-in function; empty when
// the code is in no table. When it starts, the unit holds only the operands:
// the left one (or the only argument) in ST0, the right one in ST1.
std::span<const std::uint8_t> OperatorInstructions(std::uint8_t op);
std::span<const std::uint8_t> FunctionInstructions(std::int32_t code);

// How one instruction set moves values between the machine stack and the
// x87 unit, loads constants and variables, and calls the power routine.
struct TEncoding {
    const char* Name;
    std::span<const std::uint8_t> Push;   // ST0 onto the machine stack, as a double
    std::span<const std::uint8_t> Pop;    // the double on top of the machine stack into ST0
    std::span<const std::uint8_t> Final;  // Pop, then return
    std::span<const std::uint8_t> PushPopPattern;  // Push followed by Pop: removed after generation
    void (*EmitConstant)(TCode& code, double value);          // leaves the double on the machine stack
    void (*EmitVariable)(TCode& code, std::uintptr_t address); // loads the double into ST0
    // Base in ST0, exponent in ST1 → the power routine's result in ST0.
    // `stackDepth` counts the 8-byte values the routine has on the machine
    // stack at this point, for the call's stack alignment.
    void (*EmitPowerCall)(TCode& code, std::uintptr_t routine, int stackDepth);
};

extern const TEncoding IA32Encoding;
extern const TEncoding X86_64Encoding;

// The faster x86-64 forms of the optimized code (OptimizedCodeGenerator.h):
// the same x87 operations on the same values, fewer trips through memory.
struct TX86_64Forms {
    std::span<const std::uint8_t> FldRipRelative;  // FLD qword [RIP+disp32]; the disp32 follows
    std::span<const std::uint8_t> RoundToDouble;   // ST0 stored as a double and loaded again
    std::span<const std::uint8_t> Ret;
    std::uint8_t Padding;                          // between the code and its constant pool
    // The steps of binary exponentiation, power in ST0 and result in ST1.
    std::span<const std::uint8_t> FirstResult;          // result := power
    std::span<const std::uint8_t> FirstResultPlusZero;  // result := power + 0
    std::span<const std::uint8_t> PlusZero;             // ST0 := ST0 + 0, power and result at once
    std::span<const std::uint8_t> MultiplyResult;       // result := result · power
    std::span<const std::uint8_t> MultiplyResultLast;   // the same, power dropped: result in ST0
    std::span<const std::uint8_t> Square;               // power := power · power
    std::span<const std::uint8_t> Reciprocal;           // ST0 := 1 / ST0
    std::span<const std::uint8_t> ReplaceByOne;         // ST0 := 1
};

extern const TX86_64Forms X86_64Forms;

// The encoding of the processor this program runs on, and the address of the
// power routine entry that code in that encoding calls.
const TEncoding& HostEncoding();
std::uintptr_t HostPowerRoutine();
