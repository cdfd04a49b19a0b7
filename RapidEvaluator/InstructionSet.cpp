// The sequences of the formula compiler, written as instructions of the
// table in Instructions.h: the operators, and the two encodings of the stack
// traffic around them, IA-32 and x86-64.
#include "RapidEvaluator/InstructionSet.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/FormulaPower.h"
#include "RapidEvaluator/FunctionCatalogue.h"
#include "RapidEvaluator/Instructions.h"
#include "numeric/Exceptions.h"

#include <bit>

namespace {

using namespace x86;

// ---- operators, identical in both instruction sets --------------------------

struct TOperatorRow {
    OperatorCode Operator;
    TMachineCode Instructions;
};

constexpr TOperatorRow Operators[] = {
    {opAdd, {FADDP}},
    {opSubtract, {FSUBRP}},
    {opMultiply, {FMULP}},
    {opDivide, {FDIVRP}},
    // FPREM again until C2 says the reduction is complete, then drop the divisor.
    {opModulo, {FPREM, FNSTSW_AX, {TEST_AH, 4}, {JNZ, -4}, FSTP_ST1}},
};

// ---- IA-32: 32-bit stack, absolute 32-bit addresses -------------------------

namespace ia32 {

constexpr TMachineCode Push = {{SUB_SP, 8}, FSTP_SP};
constexpr TMachineCode Pop = {FLD_SP, {ADD_SP, 8}};
constexpr TMachineCode Final = Pop + TMachineCode{RET};
constexpr TMachineCode PushPop = Push + Pop;
constexpr TMachineCode PushImm32 = {PUSH_IMM32};
constexpr TMachineCode FldAbsolute = {FLD_DISP32};
// 8 bytes for the base, then 8 for the exponent below it (PUSH EAX twice each).
constexpr TMachineCode PowerArguments = {PUSH_AX, PUSH_AX, FSTP_SP, PUSH_AX, PUSH_AX, FSTP_SP};
constexpr TMachineCode MovEaxImm32 = {MOV_AX_IMM};
constexpr TMachineCode CallEax = {CALL_AX};  // the routine pops its 16 bytes

std::uint32_t Address32(std::uintptr_t address)
{
    if constexpr (sizeof address > 4) {
        if (address > 0xFFFFFFFFu)
            throw Exception("An address beyond 4 GiB cannot be encoded in IA-32 code");
    }
    return static_cast<std::uint32_t>(address);
}

void EmitConstant(TCode& code, double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    code.EmitBytes(PushImm32);
    code.EmitDword(static_cast<std::uint32_t>(bits >> 32));
    code.EmitBytes(PushImm32);
    code.EmitDword(static_cast<std::uint32_t>(bits));
}

void EmitVariable(TCode& code, std::uintptr_t address)
{
    code.EmitBytes(FldAbsolute);
    code.EmitDword(Address32(address));
}

void EmitPowerCall(TCode& code, std::uintptr_t routine, int /*stackDepth*/)
{
    code.EmitBytes(PowerArguments);
    code.EmitBytes(MovEaxImm32);
    code.EmitDword(Address32(routine));
    code.EmitBytes(CallEax);
}

} // namespace ia32

// ---- x86-64: 64-bit stack, constants and addresses as imm64 in RAX ----------
// The stack pointer's arithmetic takes REX.W; the x87 instructions are those
// of IA-32.

namespace x64 {

constexpr TMachineCode Push = {REX_W, {SUB_SP, 8}, FSTP_SP};
constexpr TMachineCode Pop = {FLD_SP, REX_W, {ADD_SP, 8}};
constexpr TMachineCode Final = Pop + TMachineCode{RET};
constexpr TMachineCode PushPop = Push + Pop;
constexpr TMachineCode MovRaxImm64 = {REX_W, MOV_AX_IMM};
constexpr TMachineCode PushRax = {PUSH_AX};
constexpr TMachineCode FldAtRax = {FLD_AX};
// 8 bytes for the base, 8 for the exponent; then the base as the first
// argument in XMM0, the exponent as the second in XMM1.
constexpr TMachineCode PowerArguments = {PUSH_AX, FSTP_SP, PUSH_AX, FSTP_SP, MOVSD_XMM0_SP8, MOVSD_XMM1_SP};
constexpr TMachineCode AlignStack = {REX_W, {SUB_SP, 8}};
constexpr TMachineCode CallRax = {CALL_AX};  // result in ST0
constexpr TMachineCode DropArguments = {REX_W, {ADD_SP, 16}};
constexpr TMachineCode DropPaddedArguments = {REX_W, {ADD_SP, 24}};

void EmitImm64(TCode& code, std::uint64_t value)
{
    code.EmitDword(static_cast<std::uint32_t>(value));
    code.EmitDword(static_cast<std::uint32_t>(value >> 32));
}

void EmitConstant(TCode& code, double value)
{
    code.EmitBytes(MovRaxImm64);
    EmitImm64(code, std::bit_cast<std::uint64_t>(value));
    code.EmitBytes(PushRax);
}

void EmitVariable(TCode& code, std::uintptr_t address)
{
    code.EmitBytes(MovRaxImm64);
    EmitImm64(code, address);
    code.EmitBytes(FldAtRax);
}

// The routine is entered with RSP ≡ 8 (mod 16); each value on the stack moves
// it by 8, and the ABI wants RSP ≡ 0 at the CALL.
void EmitPowerCall(TCode& code, std::uintptr_t routine, int stackDepth)
{
    code.EmitBytes(PowerArguments);
    const bool pad = (stackDepth + 2) % 2 == 0;
    if (pad)
        code.EmitBytes(AlignStack);
    code.EmitBytes(MovRaxImm64);
    EmitImm64(code, routine);
    code.EmitBytes(CallRax);
    code.EmitBytes(pad ? DropPaddedArguments : DropArguments);
}

// ---- x86-64, optimized forms: constant pool, whole powers inline ------------

constexpr TMachineCode FldRipRelative = {FLD_DISP32};
// ST0 stored to the red zone and loaded again: nothing is called in between.
constexpr TMachineCode RoundToDouble = {FSTP_SP_MINUS8, FLD_SP_MINUS8};
constexpr TMachineCode Ret = {RET};
constexpr TMachineCode Padding = {INT3};  // never reached
constexpr TMachineCode FirstResult = {FLD_ST0};
// 0 + power, then the power back in ST0.
constexpr TMachineCode FirstResultPlusZero = {FLDZ, FADD_ST0_ST1, FXCH};
constexpr TMachineCode PlusZero = {FLDZ, FADDP};
constexpr TMachineCode MultiplyResult = {FMUL_ST1_ST0};
constexpr TMachineCode MultiplyResultLast = {FMULP};
constexpr TMachineCode Square = {FMUL_ST0_ST0};
constexpr TMachineCode Reciprocal = {FLD1, FDIVRP};
constexpr TMachineCode ReplaceByOne = {FSTP_ST0, FLD1};

} // namespace x64

} // namespace

std::span<const std::uint8_t> OperatorInstructions(std::uint8_t op)
{
    for (const TOperatorRow& row : Operators)
        if (row.Operator == op)
            return row.Instructions;
    return {};
}

std::span<const std::uint8_t> FunctionInstructions(std::int32_t code)
{
    if (const TBuiltInFunction* function = FindBuiltInFunction(code))
        return function->Instructions;
    return {};
}

const TEncoding IA32Encoding = {
    "IA-32", ia32::Push, ia32::Pop, ia32::Final, ia32::PushPop,
    ia32::EmitConstant, ia32::EmitVariable, ia32::EmitPowerCall,
};

const TEncoding X86_64Encoding = {
    "x86-64", x64::Push, x64::Pop, x64::Final, x64::PushPop,
    x64::EmitConstant, x64::EmitVariable, x64::EmitPowerCall,
};

const TX86_64Forms X86_64Forms = {
    x64::FldRipRelative, x64::RoundToDouble, x64::Ret, x64::Padding.Bytes()[0],
    x64::FirstResult, x64::FirstResultPlusZero, x64::PlusZero, x64::MultiplyResult,
    x64::MultiplyResultLast, x64::Square, x64::Reciprocal, x64::ReplaceByOne,
};

const TEncoding& HostEncoding()
{
#if defined(__x86_64__)
    return X86_64Encoding;
#elif defined(__i386__)
    return IA32Encoding;
#else
#error "Formula code is generated for x86-64 and IA-32 only"
#endif
}

std::uintptr_t HostPowerRoutine()
{
    return reinterpret_cast<std::uintptr_t>(&FormulaPowerEntry);
}
