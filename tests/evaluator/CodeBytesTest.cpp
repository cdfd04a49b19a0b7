// The generated machine code, byte for byte, in both instruction sets.
#include "RapidEvaluator/CodeGenerator.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/OptimizedCodeGenerator.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes operator+(TBytes a, const TBytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TBytes LittleEndian(std::uint64_t value, int bytes)
{
    TBytes result;
    for (int i = 0; i < bytes; ++i)
        result.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return result;
}

// Addresses for the command lists built here; the code is inspected, not run.
constexpr std::uintptr_t X = 0x11223344, Y = 0x55667788, Power = 0x0BADF00D;

TCommandList List(std::initializer_list<TStackItem> items)
{
    TCommandList list;
    for (const TStackItem& item : items)
        list.Add(item);
    return list;
}

TStackItem Var(std::uintptr_t address)
{
    TStackItem item;
    item.Kind = skVariable;
    item.Address = address;
    return item;
}
TStackItem Const(double value) { return TStackItem::Constant(value); }
TStackItem Op(OperatorCode op) { return TStackItem::MakeOperator(op); }
TStackItem Fn(std::int32_t code, std::uint8_t args = 1) { return TStackItem::Function(code, args); }

TBytes Generate(const TCommandList& list, const TEncoding& encoding)
{
    TCode code;
    GenerateCode(list, code, encoding, Power);
    return {code.Buffer(), code.Buffer() + code.Size()};
}

namespace ia32 {
const TBytes Ret = {0xC3};
const TBytes Push = {0x83, 0xEC, 0x08, 0xDD, 0x1C, 0x24};   // SUB ESP, 8; FSTP qword [ESP]
const TBytes Pop = {0xDD, 0x04, 0x24, 0x83, 0xC4, 0x08};    // FLD qword [ESP]; ADD ESP, 8
TBytes Fld(std::uintptr_t address) { return TBytes{0xDD, 0x05} + LittleEndian(address, 4); }
TBytes PushImm(std::uint32_t value) { return TBytes{0x68} + LittleEndian(value, 4); }
const TBytes CallPower = TBytes{0x50, 0x50, 0xDD, 0x1C, 0x24, 0x50, 0x50, 0xDD, 0x1C, 0x24, 0xB8}
                         + LittleEndian(Power, 4) + TBytes{0xFF, 0xD0};
} // namespace ia32

namespace x64 {
const TBytes Ret = {0xC3};
const TBytes Push = {0x48, 0x83, 0xEC, 0x08, 0xDD, 0x1C, 0x24};  // SUB RSP, 8; FSTP qword [RSP]
const TBytes Pop = {0xDD, 0x04, 0x24, 0x48, 0x83, 0xC4, 0x08};   // FLD qword [RSP]; ADD RSP, 8
TBytes MovRax(std::uint64_t value) { return TBytes{0x48, 0xB8} + LittleEndian(value, 8); }
TBytes Fld(std::uintptr_t address) { return MovRax(address) + TBytes{0xDD, 0x00}; }
TBytes PushConst(std::uint64_t bits) { return MovRax(bits) + TBytes{0x50}; }
TBytes CallPower(bool pad)
{
    const TBytes arguments = {0x50, 0xDD, 0x1C, 0x24, 0x50, 0xDD, 0x1C, 0x24,              // both operands
                              0xF2, 0x0F, 0x10, 0x44, 0x24, 0x08, 0xF2, 0x0F, 0x10, 0x0C, 0x24};  // XMM0, XMM1
    return arguments + (pad ? TBytes{0x48, 0x83, 0xEC, 0x08} : TBytes{}) + MovRax(Power)
           + TBytes{0xFF, 0xD0, 0x48, 0x83, 0xC4, static_cast<std::uint8_t>(pad ? 24 : 16)};
}
} // namespace x64

const TBytes FChs = {0xD9, 0xE0}, FldPi = {0xD9, 0xEB}, FSin = {0xD9, 0xFE};
const TBytes FMulP = {0xDE, 0xC9}, FSubRP = {0xDE, 0xE1}, FAddP = {0xDE, 0xC1};
constexpr std::uint64_t One = 0x3FF0000000000000, Two = 0x4000000000000000;

struct TWorkedResult {
    const char* Formula;
    TCommandList List;
    TBytes IA32, X86_64;
};

std::vector<TWorkedResult> WorkedResults()
{
    using namespace std;
    return {
        {"x", List({Var(X)}), ia32::Fld(X) + ia32::Ret, x64::Fld(X) + x64::Ret},
        {"-x", List({Var(X), Fn(fnNeg)}), ia32::Fld(X) + FChs + ia32::Ret, x64::Fld(X) + FChs + x64::Ret},
        {"pi()", List({Fn(fnPi, 0)}), FldPi + ia32::Ret, FldPi + x64::Ret},
        {"1", List({Const(1)}), ia32::PushImm(0x3FF00000) + ia32::PushImm(0) + ia32::Pop + ia32::Ret,
         x64::PushConst(One) + x64::Pop + x64::Ret},
        {"x*y", List({Var(X), Var(Y), Op(opMultiply)}),
         ia32::Fld(X) + ia32::Push + ia32::Fld(Y) + ia32::Pop + FMulP + ia32::Ret,
         x64::Fld(X) + x64::Push + x64::Fld(Y) + x64::Pop + FMulP + x64::Ret},
        {"x-pi()", List({Var(X), Fn(fnPi, 0), Op(opSubtract)}),
         ia32::Fld(X) + ia32::Push + FldPi + ia32::Pop + FSubRP + ia32::Ret,
         x64::Fld(X) + x64::Push + FldPi + x64::Pop + FSubRP + x64::Ret},
        {"sin(x)+1", List({Var(X), Fn(fnSin), Const(1), Op(opAdd)}),
         ia32::Fld(X) + FSin + ia32::Push + ia32::PushImm(0x3FF00000) + ia32::PushImm(0) + ia32::Pop + ia32::Pop
             + FAddP + ia32::Ret,
         x64::Fld(X) + FSin + x64::Push + x64::PushConst(One) + x64::Pop + x64::Pop + FAddP + x64::Ret},
        {"2^x", List({Const(2), Var(X), Op(opPower)}),
         ia32::PushImm(0x40000000) + ia32::PushImm(0) + ia32::Fld(X) + ia32::Pop + ia32::CallPower + ia32::Ret,
         x64::PushConst(Two) + x64::Fld(X) + x64::Pop + x64::CallPower(true) + x64::Ret},
    };
}

} // namespace

TEST(CodeBytes, WorkedResultsInIA32)
{
    for (const TWorkedResult& result : WorkedResults())
        EXPECT_EQ(Generate(result.List, IA32Encoding), result.IA32) << result.Formula;
}

TEST(CodeBytes, WorkedResultsInX86_64)
{
    for (const TWorkedResult& result : WorkedResults())
        EXPECT_EQ(Generate(result.List, X86_64Encoding), result.X86_64) << result.Formula;
}

TEST(CodeBytes, TheParserFeedsTheGeneratorTheSameLists)
{
    // The formula compiled item by item for this host gives the host encoding of its list.
    TRapidEvaluator evaluator;
    evaluator.SetCodeForm(TCodeForm::ItemByItem);
    evaluator.SetFormula("sin(x)+1");
    evaluator.Compile();
    TCode code;
    GenerateCode(evaluator.CommandList(), code, HostEncoding(), HostPowerRoutine());
    const TBytes expected(code.Buffer(), code.Buffer() + code.Size());
    const TBytes compiled(evaluator.CodeBuffer().Buffer(), evaluator.CodeBuffer().Buffer() + evaluator.CodeBuffer().Size());
    EXPECT_EQ(compiled, expected);
}

namespace {

TBytes Optimized(const TCommandList& list)
{
    TCode code;
    GenerateOptimizedCode(list, code, Power);
    return {code.Buffer(), code.Buffer() + code.Size()};
}

// The optimized x86-64 forms.
namespace fast {
// FLD qword [RIP+d], reading pool slot `slot` from an instruction ending at `end`.
TBytes FldPool(int end, int pool, int slot) { return TBytes{0xDD, 0x05} + LittleEndian(pool + 8 * slot - end, 4); }
const TBytes Round = {0xDD, 0x5C, 0x24, 0xF8, 0xDD, 0x44, 0x24, 0xF8};  // FSTP, FLD qword [RSP-8]
const TBytes Square = {0xD8, 0xC8}, Copy = {0xD9, 0xC0}, MulResult = {0xDC, 0xC9}, MulResultLast = {0xDE, 0xC9};
const TBytes CopyPlusZero = {0xD9, 0xEE, 0xD8, 0xC1, 0xD9, 0xC9}, PlusZero = {0xD9, 0xEE, 0xDE, 0xC1};
const TBytes Reciprocal = {0xD9, 0xE8, 0xDE, 0xF1}, ReplaceByOne = {0xDD, 0xD8, 0xD9, 0xE8};
TBytes Pool(int codeSize, std::initializer_list<std::uint64_t> values)
{
    TBytes bytes(static_cast<std::size_t>((8 - codeSize % 8) % 8), 0xCC);
    for (std::uint64_t value : values)
        bytes = bytes + LittleEndian(value, 8);
    return bytes;
}
} // namespace fast

} // namespace

TEST(CodeBytes, OptimizedFormsOnX86_64)
{
    using namespace fast;
    const TStackItem neg = Fn(fnNeg);
    struct Case {
        const char* Formula;
        TCommandList List;
        TBytes Code;  // without the pool
        std::initializer_list<std::uint64_t> Pool;
    };
    const TBytes fldX = x64::Fld(X);
    const Case cases[] = {
        {"x", List({Var(X)}), fldX + x64::Ret, {}},
        {"1", List({Const(1)}), FldPool(6, 8, 0) + x64::Ret, {One}},
        // Both operands loaded where consumed, the right one first.
        {"x*y", List({Var(X), Var(Y), Op(opMultiply)}), x64::Fld(Y) + fldX + FMulP + x64::Ret, {}},
        {"2-x", List({Const(2), Var(X), Op(opSubtract)}), fldX + FldPool(18, 24, 0) + FSubRP + x64::Ret, {Two}},
        // A result that waits for a constant is still stored as a double.
        {"sin(x)+1", List({Var(X), Fn(fnSin), Const(1), Op(opAdd)}),
         fldX + FSin + x64::Push + FldPool(27, 40, 0) + x64::Pop + FAddP + x64::Ret, {One}},
        // Whole powers: the squarings and products of binary exponentiation.
        {"x^2", List({Var(X), Const(2), Op(opPower)}), fldX + Square + Round + x64::Ret, {}},
        {"x^1", List({Var(X), Const(1), Op(opPower)}), fldX + PlusZero + x64::Ret, {}},
        {"x^0", List({Var(X), Const(0), Op(opPower)}), fldX + ReplaceByOne + x64::Ret, {}},
        {"x^4", List({Var(X), Const(4), Op(opPower)}), fldX + Square + Square + Round + x64::Ret, {}},
        {"x^5", List({Var(X), Const(5), Op(opPower)}),
         fldX + CopyPlusZero + Square + Square + MulResultLast + Round + x64::Ret, {}},
        {"x^-6", List({Var(X), Const(6), neg, Op(opPower)}),
         fldX + Square + Copy + Square + MulResultLast + Reciprocal + Round + x64::Ret, {}},
        {"x^15", List({Var(X), Const(15), Op(opPower)}),
         fldX + CopyPlusZero + Square + MulResult + Square + MulResult + Square + MulResultLast + Round + x64::Ret, {}},
        // The base of a power, when computed, is rounded as the call's argument is.
        {"sin(x)^-1", List({Var(X), Fn(fnSin), Const(1), neg, Op(opPower)}),
         fldX + FSin + Round + Reciprocal + Round + x64::Ret, {}},
        // Beyond 16, or not whole: the power routine, with its argument stores.
        {"x^17", List({Var(X), Const(17), Op(opPower)}),
         FldPool(6, 64, 0) + fldX + x64::CallPower(true) + x64::Ret, {0x4031000000000000}},
    };
    for (const Case& c : cases) {
        const TBytes code = Optimized(c.List);
        EXPECT_EQ(code, c.Code + Pool(static_cast<int>(c.Code.size()), c.Pool)) << c.Formula;
    }
}

TEST(CodeBytes, PowerCallsKeepTheStackAlignedOnX86_64)
{
    // 1+2^x: the 1 waits on the stack, so the call needs no padding.
    EXPECT_EQ(Generate(List({Const(1), Const(2), Var(X), Op(opPower), Op(opAdd)}), X86_64Encoding),
              x64::PushConst(One) + x64::PushConst(Two) + x64::Fld(X) + x64::Pop + x64::CallPower(false) + x64::Pop
                  + FAddP + x64::Ret);
}

TEST(CodeBytes, ModuloLoopsUntilTheRemainderIsComplete)
{
    const TBytes fprem = {0xD9, 0xF8, 0xDF, 0xE0, 0xF6, 0xC4, 0x04, 0x75, 0xF7, 0xDD, 0xD9};
    EXPECT_EQ(Generate(List({Var(X), Var(Y), Op(opModulo)}), IA32Encoding),
              ia32::Fld(X) + ia32::Push + ia32::Fld(Y) + ia32::Pop + fprem + ia32::Ret);
}

TEST(CodeBytes, RefusesWhatNoTableHolds)
{
    auto message = [](const TCommandList& list) -> std::string {
        try {
            Generate(list, HostEncoding());
        } catch (const Exception& error) {
            return error.what();
        }
        return "(generated)";
    };
    EXPECT_EQ(message(List({Var(X), Var(Y), Op(static_cast<OperatorCode>(9))})), "OPERATION NOT SUPPORTED");
    for (std::int32_t unused : {210, 211, 212, 213, 218, 219, 220, 221, 223, 0})
        EXPECT_EQ(message(List({Var(X), Fn(unused)})), "UNSUPPORTED FUNCTION") << unused;
    // Lists that would unbalance the machine stack are refused, not generated.
    EXPECT_NE(message(List({Var(X), Var(Y)})), "(generated)");
    EXPECT_NE(message(List({Var(X), Op(opAdd)})), "(generated)");
    EXPECT_NE(message(List({})), "(generated)");
}

TEST(CodeBytes, IA32CannotEncodeAddressesBeyond4GiB)
{
    if (sizeof(std::uintptr_t) < 8)
        GTEST_SKIP() << "addresses are 32-bit here";
    EXPECT_THROW(Generate(List({Var(static_cast<std::uintptr_t>(0x100000000ull))}), IA32Encoding), Exception);
}

#if defined(__x86_64__)
// Stands in for the power routine: records RSP + 8 modulo 16 at entry, which
// is 0 when the caller kept the ABI's alignment, and returns base + exponent.
extern "C" unsigned ProbeMisalignment;
unsigned ProbeMisalignment = 0;
extern "C" long double AlignmentProbe(double base, double exponent);
asm(R"(
    .text
    .globl AlignmentProbe
    .type AlignmentProbe, @function
AlignmentProbe:
    lea 8(%rsp), %rax
    and $15, %eax
    or %eax, ProbeMisalignment(%rip)
    movsd %xmm0, -8(%rsp)
    fldl -8(%rsp)
    movsd %xmm1, -8(%rsp)
    faddl -8(%rsp)
    ret
    .size AlignmentProbe, .-AlignmentProbe
)");

TEST(CodeBytes, PowerCallsAreAlignedAtEveryStackDepth)
{
    // With k values waiting on the stack: sin(x)+(sin(x)+(...+(2^x))), in
    // both forms (the optimized one keeps constants off the stack, not results).
    const auto probe = reinterpret_cast<std::uintptr_t>(&AlignmentProbe);
    for (bool optimized : {false, true}) {
        for (int waiting = 0; waiting < 6; ++waiting) {
            std::string formula = "2^x";
            for (int i = 0; i < waiting; ++i)
                formula = "sin(x)+(" + formula + ")";
            TRapidEvaluator evaluator;
            evaluator.SetFormula(formula);
            evaluator.Compile();
            TCode code;
            if (optimized)
                GenerateOptimizedCode(evaluator.CommandList(), code, probe);
            else
                GenerateCode(evaluator.CommandList(), code, X86_64Encoding, probe);
            code.MakeExecutable();
            ProbeMisalignment = 0;
            FormulaX = 1;
            const auto routine = reinterpret_cast<long double (*)()>(const_cast<std::uint8_t*>(code.Buffer()));
            EXPECT_NEAR(static_cast<double>(routine()), 3.0 + waiting * std::sin(1.0), 1e-14) << formula;
            EXPECT_EQ(ProbeMisalignment, 0u) << formula << (optimized ? " (optimized)" : "");
        }
    }
}
#endif
