// Translation of a postfix command list into x86-64 code that computes, bit
// for bit and fault for fault, what the item-by-item translation computes.
#pragma once

#include <cstdint>

class TCode;
class TCommandList;

// Which translation the evaluator uses on x86-64. IA-32 code is always made
// item by item.
enum class TCodeForm : std::uint8_t {
    ItemByItem,  // GenerateCode with X86_64Encoding
    Optimized,   // GenerateOptimizedCode
};

// Writes into `code` (from offset 0) a routine called, and returning its
// value, as GenerateCode's is, in which
// - constants are read from a pool after the code (FLD qword [RIP+d]), and
//   constants and variables are loaded only when they are consumed, instead
//   of waiting on the machine stack: they are doubles either way;
// - a whole constant exponent n with |n| <= 16 is multiplied out inline as
//   the power routine's integer power multiplies it: the base rounded to a
//   double, the same products in the same order, 1 / result for n < 0, the
//   result rounded to a double;
// - every other value is stored to the machine stack exactly where the
//   item-by-item code stores it, since that rounding is part of the result.
// Raises what GenerateCode raises.
void GenerateOptimizedCode(const TCommandList& list, TCode& code, std::uintptr_t powerRoutine);
