// Instruction bytes of the formula compiler, each next to its meaning.
#include "RapidEvaluator/InstructionSet.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/FormulaPower.h"
#include "RapidEvaluator/LookupTable.h"
#include "numeric/Exceptions.h"

#include <bit>

namespace {

using Bytes = std::span<const std::uint8_t>;

// ---- x87 sequences, identical in both instruction sets ----------------------

constexpr std::uint8_t Add[] = {0xDE, 0xC1};       // FADDP ST(1), ST(0)
constexpr std::uint8_t Subtract[] = {0xDE, 0xE1};  // FSUBRP ST(1), ST(0)   ST0 - ST1
constexpr std::uint8_t Multiply[] = {0xDE, 0xC9};  // FMULP ST(1), ST(0)
constexpr std::uint8_t Divide[] = {0xDE, 0xF1};    // FDIVRP ST(1), ST(0)   ST0 / ST1
constexpr std::uint8_t Modulo[] = {
    0xD9, 0xF8,        // again: FPREM          partial remainder of ST0 / ST1
    0xDF, 0xE0,        //        FNSTSW AX
    0xF6, 0xC4, 0x04,  //        TEST AH, 4     C2: reduction incomplete
    0x75, 0xF7,        //        JNZ again
    0xDD, 0xD9,        //        FSTP ST(1)
};

constexpr std::uint8_t Neg[] = {0xD9, 0xE0};  // FCHS
constexpr std::uint8_t Sin[] = {0xD9, 0xFE};  // FSIN
constexpr std::uint8_t Cos[] = {0xD9, 0xFF};  // FCOS
// FPTAN leaves an argument of magnitude 2^63 or more unreduced (C2 set) and
// pushes nothing: such an argument is replaced by 0 / 0, an invalid operation,
// so that the register stack holds what it holds after any other function.
constexpr std::uint8_t Tg[] = {
    0xD9, 0xF2,        // FPTAN                pushes 1.0 above the tangent
    0xDF, 0xE0,        // FNSTSW AX
    0xDD, 0xD8,        // FSTP ST(0)           drops the 1.0, or the unreduced argument
    0xF6, 0xC4, 0x04,  // TEST AH, 4           C2: argument out of range
    0x74, 0x04,        // JZ done
    0xD9, 0xEE,        // FLDZ
    0xD8, 0xF0,        // FDIV ST(0), ST(0)    0 / 0: invalid
};                     // done:
constexpr std::uint8_t Ctg[] = {
    0xD9, 0xF2,        // FPTAN
    0xDF, 0xE0,        // FNSTSW AX
    0xF6, 0xC4, 0x04,  // TEST AH, 4           C2: argument out of range
    0x74, 0x06,        // JZ reduced
    0xDD, 0xD8,        // FSTP ST(0)           drops the unreduced argument
    0xD9, 0xEE,        // FLDZ
    0xD9, 0xEE,        // FLDZ                 0 / 0 below: invalid
    0xDE, 0xF1,        // reduced: FDIVRP ST(1), ST(0)  1 / tangent
};
constexpr std::uint8_t Sec[] = {
    0xD9, 0xFF,  // FCOS
    0xD9, 0xE8,  // FLD1
    0xDE, 0xF1,  // FDIVRP ST(1), ST(0)
};
constexpr std::uint8_t Cosec[] = {
    0xD9, 0xFE,  // FSIN
    0xD9, 0xE8,  // FLD1
    0xDE, 0xF1,  // FDIVRP ST(1), ST(0)
};
constexpr std::uint8_t Arctg[] = {
    0xD9, 0xE8,  // FLD1
    0xD9, 0xF3,  // FPATAN               angle of (1, x)
};
constexpr std::uint8_t Arcsin[] = {
    0xDD, 0xD1,  // FST ST(1)
    0xD8, 0xC8,  // FMUL ST(0), ST(0)
    0xD9, 0xE8,  // FLD1
    0xDE, 0xE1,  // FSUBRP ST(1), ST(0)  1 - x²
    0xD9, 0xFA,  // FSQRT
    0xD9, 0xF3,  // FPATAN               angle of (√(1 - x²), x)
};
constexpr std::uint8_t Arccos[] = {
    0xDD, 0xD1,  // FST ST(1)
    0xD8, 0xC8,  // FMUL ST(0), ST(0)
    0xD9, 0xE8,  // FLD1
    0xDE, 0xE1,  // FSUBRP ST(1), ST(0)
    0xD9, 0xFA,  // FSQRT
    0xD9, 0xC9,  // FXCH ST(1)
    0xD9, 0xF3,  // FPATAN               angle of (x, √(1 - x²))
};
constexpr std::uint8_t Abs[] = {0xD9, 0xE1};  // FABS
constexpr std::uint8_t Ln[] = {
    0xD9, 0xED,  // FLDLN2
    0xD9, 0xC9,  // FXCH ST(1)
    0xD9, 0xF1,  // FYL2X                ln 2 · log2 x
};
constexpr std::uint8_t Log10[] = {
    0xD9, 0xEC,  // FLDLG2
    0xD9, 0xC9,  // FXCH ST(1)
    0xD9, 0xF1,  // FYL2X
};
constexpr std::uint8_t Log2[] = {
    0xD9, 0xE8,  // FLD1
    0xD9, 0xC9,  // FXCH ST(1)
    0xD9, 0xF1,  // FYL2X
};
constexpr std::uint8_t Sqrt[] = {0xD9, 0xFA};  // FSQRT
constexpr std::uint8_t Pi[] = {0xD9, 0xEB};    // FLDPI
constexpr std::uint8_t Exp[] = {
    0xD9, 0xEA,  // FLDL2E
    0xDE, 0xC9,  // FMULP ST(1), ST(0)   t = x · log2 e
    0xD9, 0xC0,  // FLD ST(0)
    0xD9, 0xFC,  // FRNDINT              n = t rounded
    0xDC, 0xE9,  // FSUB ST(1), ST(0)    f = t - n
    0xD9, 0xC9,  // FXCH ST(1)
    0xD9, 0xF0,  // F2XM1                2^f - 1
    0xD9, 0xE8,  // FLD1
    0xDE, 0xC1,  // FADDP ST(1), ST(0)   2^f
    0xD9, 0xFD,  // FSCALE               2^f · 2^n
    0xDD, 0xD9,  // FSTP ST(1)
};
constexpr std::uint8_t Sum[] = {0xDE, 0xC1};  // FADDP ST(1), ST(0)

// ---- IA-32: 32-bit stack, absolute 32-bit addresses -------------------------

namespace ia32 {

constexpr std::uint8_t Push[] = {
    0x83, 0xEC, 0x08,  // SUB ESP, 8
    0xDD, 0x1C, 0x24,  // FSTP qword [ESP]
};
constexpr std::uint8_t Pop[] = {
    0xDD, 0x04, 0x24,  // FLD qword [ESP]
    0x83, 0xC4, 0x08,  // ADD ESP, 8
};
constexpr std::uint8_t Final[] = {
    0xDD, 0x04, 0x24,  // FLD qword [ESP]
    0x83, 0xC4, 0x08,  // ADD ESP, 8
    0xC3,              // RET
};
constexpr std::uint8_t PushPop[] = {
    0x83, 0xEC, 0x08, 0xDD, 0x1C, 0x24,  // Push
    0xDD, 0x04, 0x24, 0x83, 0xC4, 0x08,  // Pop
};
constexpr std::uint8_t PushImm32 = 0x68;            // PUSH imm32
constexpr std::uint8_t FldAbsolute[] = {0xDD, 0x05}; // FLD qword [addr32]
constexpr std::uint8_t PowerArguments[] = {
    0x50, 0x50,        // PUSH EAX; PUSH EAX     8 bytes for the base
    0xDD, 0x1C, 0x24,  // FSTP qword [ESP]
    0x50, 0x50,        // PUSH EAX; PUSH EAX     8 bytes for the exponent, below it
    0xDD, 0x1C, 0x24,  // FSTP qword [ESP]
};
constexpr std::uint8_t MovEaxImm32 = 0xB8;          // MOV EAX, imm32
constexpr std::uint8_t CallEax[] = {0xFF, 0xD0};    // CALL EAX    the routine pops its 16 bytes

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
    code.EmitByte(PushImm32);
    code.EmitDword(static_cast<std::uint32_t>(bits >> 32));
    code.EmitByte(PushImm32);
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
    code.EmitByte(MovEaxImm32);
    code.EmitDword(Address32(routine));
    code.EmitBytes(CallEax);
}

} // namespace ia32

// ---- x86-64: 64-bit stack, constants and addresses as imm64 in RAX ----------

namespace x64 {

constexpr std::uint8_t Push[] = {
    0x48, 0x83, 0xEC, 0x08,  // SUB RSP, 8
    0xDD, 0x1C, 0x24,        // FSTP qword [RSP]
};
constexpr std::uint8_t Pop[] = {
    0xDD, 0x04, 0x24,        // FLD qword [RSP]
    0x48, 0x83, 0xC4, 0x08,  // ADD RSP, 8
};
constexpr std::uint8_t Final[] = {
    0xDD, 0x04, 0x24,        // FLD qword [RSP]
    0x48, 0x83, 0xC4, 0x08,  // ADD RSP, 8
    0xC3,                    // RET
};
constexpr std::uint8_t PushPop[] = {
    0x48, 0x83, 0xEC, 0x08, 0xDD, 0x1C, 0x24,  // Push
    0xDD, 0x04, 0x24, 0x48, 0x83, 0xC4, 0x08,  // Pop
};
constexpr std::uint8_t MovRaxImm64[] = {0x48, 0xB8};  // MOV RAX, imm64
constexpr std::uint8_t PushRax = 0x50;                // PUSH RAX
constexpr std::uint8_t FldAtRax[] = {0xDD, 0x00};     // FLD qword [RAX]
constexpr std::uint8_t PowerArguments[] = {
    0x50,                                // PUSH RAX               8 bytes for the base
    0xDD, 0x1C, 0x24,                    // FSTP qword [RSP]
    0x50,                                // PUSH RAX               8 bytes for the exponent
    0xDD, 0x1C, 0x24,                    // FSTP qword [RSP]
    0xF2, 0x0F, 0x10, 0x44, 0x24, 0x08,  // MOVSD XMM0, [RSP+8]    base: first argument
    0xF2, 0x0F, 0x10, 0x0C, 0x24,        // MOVSD XMM1, [RSP]      exponent: second argument
};
constexpr std::uint8_t AlignStack[] = {0x48, 0x83, 0xEC, 0x08};  // SUB RSP, 8
constexpr std::uint8_t CallRax[] = {0xFF, 0xD0};                 // CALL RAX    result in ST0
constexpr std::uint8_t DropArguments[] = {0x48, 0x83, 0xC4};     // ADD RSP, imm8

void EmitImm64(TCode& code, std::uint64_t value)
{
    code.EmitDword(static_cast<std::uint32_t>(value));
    code.EmitDword(static_cast<std::uint32_t>(value >> 32));
}

void EmitConstant(TCode& code, double value)
{
    code.EmitBytes(MovRaxImm64);
    EmitImm64(code, std::bit_cast<std::uint64_t>(value));
    code.EmitByte(PushRax);
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
    code.EmitBytes(DropArguments);
    code.EmitByte(pad ? 24 : 16);
}

// ---- x86-64, optimized forms: constant pool, whole powers inline ------------

constexpr std::uint8_t FldRipRelative[] = {0xDD, 0x05};  // FLD qword [RIP+disp32]
constexpr std::uint8_t RoundToDouble[] = {
    0xDD, 0x5C, 0x24, 0xF8,  // FSTP qword [RSP-8]    the red zone: nothing is called in between
    0xDD, 0x44, 0x24, 0xF8,  // FLD qword [RSP-8]
};
constexpr std::uint8_t Ret[] = {0xC3};          // RET
constexpr std::uint8_t Int3 = 0xCC;             // INT3, never reached
constexpr std::uint8_t FirstResult[] = {0xD9, 0xC0};  // FLD ST(0)
constexpr std::uint8_t FirstResultPlusZero[] = {
    0xD9, 0xEE,  // FLDZ
    0xD8, 0xC1,  // FADD ST(0), ST(1)    0 + power
    0xD9, 0xC9,  // FXCH ST(1)           power back in ST0
};
constexpr std::uint8_t PlusZero[] = {
    0xD9, 0xEE,  // FLDZ
    0xDE, 0xC1,  // FADDP ST(1), ST(0)
};
constexpr std::uint8_t MultiplyResult[] = {0xDC, 0xC9};      // FMUL ST(1), ST(0)
constexpr std::uint8_t MultiplyResultLast[] = {0xDE, 0xC9};  // FMULP ST(1), ST(0)
constexpr std::uint8_t Square[] = {0xD8, 0xC8};              // FMUL ST(0), ST(0)
constexpr std::uint8_t Reciprocal[] = {
    0xD9, 0xE8,  // FLD1
    0xDE, 0xF1,  // FDIVRP ST(1), ST(0)  1 / ST1
};
constexpr std::uint8_t ReplaceByOne[] = {
    0xDD, 0xD8,  // FSTP ST(0)
    0xD9, 0xE8,  // FLD1
};

} // namespace x64

} // namespace

std::span<const std::uint8_t> OperatorInstructions(std::uint8_t op)
{
    switch (op) {
    case opAdd: return Add;
    case opSubtract: return Subtract;
    case opMultiply: return Multiply;
    case opDivide: return Divide;
    case opModulo: return Modulo;
    default: return {};
    }
}

std::span<const std::uint8_t> FunctionInstructions(std::int32_t code)
{
    switch (code) {
    case fnNeg: return Neg;
    case fnSin: return Sin;
    case fnCos: return Cos;
    case fnTg: return Tg;
    case fnCtg: return Ctg;
    case fnSec: return Sec;
    case fnCosec: return Cosec;
    case fnArctg: return Arctg;
    case fnArcsin: return Arcsin;
    case fnArccos: return Arccos;
    case fnAbs: return Abs;
    case fnLn: return Ln;
    case fnLog10: return Log10;
    case fnLog2: return Log2;
    case fnSqrt: return Sqrt;
    case fnPi: return Pi;
    case fnExp: return Exp;
    case fnSum: return Sum;
    default: return {};
    }
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
    x64::FldRipRelative, x64::RoundToDouble, x64::Ret, x64::Int3,
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
