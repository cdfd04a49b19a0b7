// The x87 floating-point environment of Orvalis: the control words, the reset
// of the unit, and the turning of the unit's fault flags into error objects.
//
// Orvalis runs with all x87 exceptions masked and reads the status flags
// where a fault would have been raised: an invalid operation, a division by
// zero or an overflow leaves its sticky flag set, and the code that must
// report it reads the status word once and raises the error of its class.
// So that one status read suffices, the three fault flags are kept clear
// outside the moment between a fault and its report: every routine that
// raises one of the fault classes resets the unit first.
#pragma once

#include <cstdint>

// The control word the program's floating-point code is written for:
// invalid operation, zero divide and overflow unmasked, 64-bit significand,
// round to nearest. Orvalis loads it with those three faults masked.
inline constexpr std::uint16_t DefaultControlWord = 0x1332;
inline constexpr std::uint16_t FaultMaskBits = 0x000D;
inline constexpr std::uint16_t MaskedControlWord = DefaultControlWord | FaultMaskBits;  // 0x133F
// Rounding toward zero, for the conversion of a real to an integer.
inline constexpr std::uint16_t TruncatingControlWord = 0x1F3F;

// Exception flags of the x87 status word.
inline constexpr std::uint16_t StatusInvalid = 0x0001;
inline constexpr std::uint16_t StatusZeroDivide = 0x0004;
inline constexpr std::uint16_t StatusOverflow = 0x0008;
inline constexpr std::uint16_t StatusFaults = StatusInvalid | StatusZeroDivide | StatusOverflow;

// Initialises the unit (all registers empty, status word cleared) and loads
// MaskedControlWord.
void ResetFpu();

inline std::uint16_t FpuStatusWord()
{
    std::uint16_t status;
    asm volatile("fnstsw %0" : "=a"(status));
    return status;
}

// The control word in force, without its reserved bits (bit 6 reads as 1).
inline std::uint16_t FpuControlWord()
{
    std::uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word & 0x1F3F;
}

// Loads a control word; the routines that need another word for a moment
// load the word they found again before they return.
inline void LoadFpuControlWord(std::uint16_t word)
{
    asm volatile("fldcw %0" : : "m"(word));
}

inline void ClearFpuExceptions()
{
    asm volatile("fnclex");
}

// Resets the unit and raises the error class of the fault flags in `status`:
// a division by zero or an overflow before an invalid operation, since an
// infinity left by either makes later operations invalid too.
[[noreturn]] void RaiseFpuFault(std::uint16_t status);

// Raises the fault recorded in the status word, if any.
inline void CheckFpuFaults()
{
    const std::uint16_t status = FpuStatusWord();
    if (status & StatusFaults)
        RaiseFpuFault(status);
}

// Stores an extended value as a double through the x87 unit, exactly as a
// store instruction does: rounded to nearest, with the overflow flag set when
// the rounded magnitude exceeds the double range. For code whose faults are
// read from the status word afterwards (the power routine).
inline double RoundToDouble(long double value)
{
    double result;
    asm volatile("fstl %0" : "=m"(result) : "t"(value));
    return result;
}

// The checked store of the program's own arithmetic: the value rounded to a
// double, or EOverflow when that is infinite.
double StoreDouble(long double value);
