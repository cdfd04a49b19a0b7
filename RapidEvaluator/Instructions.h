// The instructions formula code is made of, each written once with its bytes
// and its assembler text, and the compile-time assembler that turns a
// sequence of them into bytes.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>

namespace x86 {

// Every instruction the compiler emits, by name; Instructions[] below holds
// their bytes in this order.
enum TOp : std::uint8_t {
    // x87 arithmetic on the register stack
    FADDP, FSUBRP, FMULP, FDIVRP, FADD_ST0_ST1, FSUB_ST1_ST0, FMUL_ST0_ST0, FMUL_ST1_ST0, FDIV_ST0_ST0,
    FPREM, FCHS, FABS, FSQRT, FSIN, FCOS, FPTAN, FPATAN, FYL2X, F2XM1, FRNDINT, FSCALE,
    // x87 constants and register moves
    FLD1, FLDZ, FLDPI, FLDLN2, FLDLG2, FLDL2E, FLD_ST0, FXCH, FST_ST1, FSTP_ST0, FSTP_ST1, FNSTSW_AX,
    // x87 loads and stores of doubles in memory
    FSTP_SP, FLD_SP, FLD_DISP32, FLD_AX, FSTP_SP_MINUS8, FLD_SP_MINUS8,
    // integer instructions around them
    TEST_AH, JZ, JNZ, REX_W, SUB_SP, ADD_SP, PUSH_IMM32, PUSH_AX, MOV_AX_IMM, CALL_AX, RET, INT3,
    MOVSD_XMM0_SP8, MOVSD_XMM1_SP,
    InstructionCount
};

// What follows an instruction's bytes.
enum class TOperand : std::uint8_t {
    None,
    Imm8,   // a byte, given in the step
    Rel8,   // a jump's distance, given in the step as instructions jumped over
    Later,  // an immediate, address or displacement the generator writes after it
};

struct TInstruction {
    TOp Op;
    const char* Text;
    std::array<std::uint8_t, 6> Bytes{};
    int Size = 0;
    TOperand Operand = TOperand::None;

    constexpr TInstruction(TOp op, std::initializer_list<std::uint8_t> bytes, const char* text,
                           TOperand operand = TOperand::None)
        : Op(op), Text(text), Operand(operand)
    {
        for (std::uint8_t b : bytes)
            Bytes[static_cast<std::size_t>(Size++)] = b;
    }
};

// The bytes are those of both instruction sets. Where x86-64 reads them
// differently, the text says so: [disp32] is absolute in IA-32 and relative
// to RIP in x86-64, xSP and xAX are ESP and EAX in IA-32 and RSP and RAX in
// x86-64 (operands of 32 bits become 64 bits after REX_W).
inline constexpr TInstruction Instructions[] = {
    {FADDP, {0xDE, 0xC1}, "FADDP ST(1), ST(0)"},
    {FSUBRP, {0xDE, 0xE1}, "FSUBRP ST(1), ST(0)      ST0 - ST1"},
    {FMULP, {0xDE, 0xC9}, "FMULP ST(1), ST(0)"},
    {FDIVRP, {0xDE, 0xF1}, "FDIVRP ST(1), ST(0)      ST0 / ST1"},
    {FADD_ST0_ST1, {0xD8, 0xC1}, "FADD ST(0), ST(1)"},
    {FSUB_ST1_ST0, {0xDC, 0xE9}, "FSUB ST(1), ST(0)        ST1 - ST0 into ST1"},
    {FMUL_ST0_ST0, {0xD8, 0xC8}, "FMUL ST(0), ST(0)"},
    {FMUL_ST1_ST0, {0xDC, 0xC9}, "FMUL ST(1), ST(0)"},
    {FDIV_ST0_ST0, {0xD8, 0xF0}, "FDIV ST(0), ST(0)"},
    {FPREM, {0xD9, 0xF8}, "FPREM                    partial remainder of ST0 / ST1"},
    {FCHS, {0xD9, 0xE0}, "FCHS"},
    {FABS, {0xD9, 0xE1}, "FABS"},
    {FSQRT, {0xD9, 0xFA}, "FSQRT"},
    {FSIN, {0xD9, 0xFE}, "FSIN"},
    {FCOS, {0xD9, 0xFF}, "FCOS"},
    {FPTAN, {0xD9, 0xF2}, "FPTAN                    pushes 1.0 above the tangent"},
    {FPATAN, {0xD9, 0xF3}, "FPATAN                   angle of (ST0, ST1)"},
    {FYL2X, {0xD9, 0xF1}, "FYL2X                    ST1 · log2 ST0"},
    {F2XM1, {0xD9, 0xF0}, "F2XM1                    2^ST0 - 1"},
    {FRNDINT, {0xD9, 0xFC}, "FRNDINT"},
    {FSCALE, {0xD9, 0xFD}, "FSCALE                   ST0 · 2^trunc(ST1)"},
    {FLD1, {0xD9, 0xE8}, "FLD1"},
    {FLDZ, {0xD9, 0xEE}, "FLDZ"},
    {FLDPI, {0xD9, 0xEB}, "FLDPI"},
    {FLDLN2, {0xD9, 0xED}, "FLDLN2"},
    {FLDLG2, {0xD9, 0xEC}, "FLDLG2"},
    {FLDL2E, {0xD9, 0xEA}, "FLDL2E"},
    {FLD_ST0, {0xD9, 0xC0}, "FLD ST(0)"},
    {FXCH, {0xD9, 0xC9}, "FXCH ST(1)"},
    {FST_ST1, {0xDD, 0xD1}, "FST ST(1)"},
    {FSTP_ST0, {0xDD, 0xD8}, "FSTP ST(0)"},
    {FSTP_ST1, {0xDD, 0xD9}, "FSTP ST(1)"},
    {FNSTSW_AX, {0xDF, 0xE0}, "FNSTSW AX"},
    {FSTP_SP, {0xDD, 0x1C, 0x24}, "FSTP qword [xSP]"},
    {FLD_SP, {0xDD, 0x04, 0x24}, "FLD qword [xSP]"},
    {FLD_DISP32, {0xDD, 0x05}, "FLD qword [disp32]       IA-32: absolute; x86-64: [RIP+disp32]", TOperand::Later},
    {FLD_AX, {0xDD, 0x00}, "FLD qword [xAX]"},
    {FSTP_SP_MINUS8, {0xDD, 0x5C, 0x24, 0xF8}, "FSTP qword [xSP-8]"},
    {FLD_SP_MINUS8, {0xDD, 0x44, 0x24, 0xF8}, "FLD qword [xSP-8]"},
    {TEST_AH, {0xF6, 0xC4}, "TEST AH, imm8", TOperand::Imm8},
    {JZ, {0x74}, "JZ rel8", TOperand::Rel8},
    {JNZ, {0x75}, "JNZ rel8", TOperand::Rel8},
    {REX_W, {0x48}, "REX.W                    x86-64: the next operation on 64 bits"},
    {SUB_SP, {0x83, 0xEC}, "SUB xSP, imm8", TOperand::Imm8},
    {ADD_SP, {0x83, 0xC4}, "ADD xSP, imm8", TOperand::Imm8},
    {PUSH_IMM32, {0x68}, "PUSH imm32", TOperand::Later},
    {PUSH_AX, {0x50}, "PUSH xAX"},
    {MOV_AX_IMM, {0xB8}, "MOV xAX, imm32 (imm64 after REX_W)", TOperand::Later},
    {CALL_AX, {0xFF, 0xD0}, "CALL xAX"},
    {RET, {0xC3}, "RET"},
    {INT3, {0xCC}, "INT3"},
    {MOVSD_XMM0_SP8, {0xF2, 0x0F, 0x10, 0x44, 0x24, 0x08}, "MOVSD XMM0, [RSP+8]"},
    {MOVSD_XMM1_SP, {0xF2, 0x0F, 0x10, 0x0C, 0x24}, "MOVSD XMM1, [RSP]"},
};

constexpr bool InstructionsInOrder()
{
    for (int i = 0; i < InstructionCount; ++i)
        if (Instructions[i].Op != i)
            return false;
    return std::size(Instructions) == InstructionCount;
}
static_assert(InstructionsInOrder(), "Instructions[] holds every TOp once, in the order of TOp");

// One instruction of a sequence, with its operand: a byte, or for a jump the
// number of instructions it jumps over, counted from the jump's end: forward
// over the next n, or back over the last -n, the jump itself among them.
struct TStep {
    TOp Op;
    int Operand = 0;
    constexpr TStep(TOp op, int operand = 0) : Op(op), Operand(operand) {}
};

// The bytes of a sequence of instructions, assembled when the program is
// compiled: `TMachineCode sin = {FSIN};`.
class TMachineCode {
public:
    static constexpr int Capacity = 48;

    constexpr TMachineCode() = default;
    constexpr TMachineCode(std::initializer_list<TStep> steps)
    {
        std::array<int, Capacity + 1> offsets{};  // of each step, and of the end
        int n = 0, offset = 0;
        for (const TStep& step : steps) {
            offsets[static_cast<std::size_t>(n++)] = offset;
            offset += Length(step.Op);
        }
        offsets[static_cast<std::size_t>(n)] = offset;
        int i = 0;
        for (const TStep& step : steps) {
            const TInstruction& instruction = Instructions[step.Op];
            for (int k = 0; k < instruction.Size; ++k)
                Append(instruction.Bytes[static_cast<std::size_t>(k)]);
            if (instruction.Operand == TOperand::Imm8) {
                Append(static_cast<std::uint8_t>(step.Operand));
            } else if (instruction.Operand == TOperand::Rel8) {
                const int target = i + 1 + step.Operand;
                if (target < 0 || target > n)
                    throw std::logic_error("a jump beyond its sequence");
                Append(static_cast<std::uint8_t>(offsets[static_cast<std::size_t>(target)] - offsets[static_cast<std::size_t>(i + 1)]));
            }
            ++i;
        }
    }

    constexpr int Size() const { return Size_; }
    constexpr std::span<const std::uint8_t> Bytes() const { return {Bytes_.data(), static_cast<std::size_t>(Size_)}; }
    constexpr operator std::span<const std::uint8_t>() const { return Bytes(); }

    // This code followed by `other`.
    constexpr TMachineCode operator+(const TMachineCode& other) const
    {
        TMachineCode joined = *this;
        for (int k = 0; k < other.Size_; ++k)
            joined.Append(other.Bytes_[static_cast<std::size_t>(k)]);
        return joined;
    }

private:
    static constexpr int Length(TOp op)
    {
        const TInstruction& instruction = Instructions[op];
        const bool operandByte = instruction.Operand == TOperand::Imm8 || instruction.Operand == TOperand::Rel8;
        return instruction.Size + (operandByte ? 1 : 0);
    }

    constexpr void Append(std::uint8_t b)
    {
        if (Size_ >= Capacity)
            throw std::length_error("a sequence longer than TMachineCode::Capacity");
        Bytes_[static_cast<std::size_t>(Size_++)] = b;
    }

    std::array<std::uint8_t, Capacity> Bytes_{};
    int Size_ = 0;
};

} // namespace x86
