// The generated machine code, byte for byte, in both instruction sets.
#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CodeGenerator.h"
#include "RapidEvaluator/FunctionCatalogue.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/OptimizedCodeGenerator.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
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

const TBytes FChs = {0xD9, 0xE0}, FldPi = {0xD9, 0xEB};
// FSIN; FNSTSW AX; TEST AH, 4; JZ +6; FSTP ST(0); FLDZ; FDIV ST(0), ST(0): an
// argument the unit leaves unreduced (C2) becomes 0 / 0.
const TBytes FSin = {0xD9, 0xFE, 0xDF, 0xE0, 0xF6, 0xC4, 0x04, 0x74, 0x06, 0xDD, 0xD8, 0xD9, 0xEE, 0xD8, 0xF0};
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


} // namespace

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

namespace {

// The code of every operator and built-in function, and of the optimized
// forms, as it was generated when the instruction table was introduced: any
// change to an instruction's bytes or to a sequence shows here. Each row: the
// formula, then its code item by item in IA-32 and in x86-64, and in the
// optimized x86-64 form (with its constant pool), as hexadecimal bytes, for
// the addresses X, Y and Power.
struct TGoldenRow {
    const char* Formula;
    const char* IA32;
    const char* X86_64;
    const char* Optimized;
};

const TGoldenRow Golden[] = {
    {"x",
     "DD0544332211C3",
     "48B84433221100000000DD00C3",
     "48B84433221100000000DD00C3CCCCCC"},
    {"1",
     "680000F03F6800000000DD042483C408C3",
     "48B8000000000000F03F50DD04244883C408C3",
     "DD0502000000C3CC000000000000F03F"},
    {"-x",
     "DD0544332211D9E0C3",
     "48B84433221100000000DD00D9E0C3",
     "48B84433221100000000DD00D9E0C3CC"},
    {"x+y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408DEC1C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408DEC1C3",
     "48B88877665500000000DD0048B84433221100000000DD00DEC1C3CCCCCCCCCC"},
    {"x-y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408DEE1C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408DEE1C3",
     "48B88877665500000000DD0048B84433221100000000DD00DEE1C3CCCCCCCCCC"},
    {"x*y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408DEC9C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408DEC9C3",
     "48B88877665500000000DD0048B84433221100000000DD00DEC9C3CCCCCCCCCC"},
    {"x/y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408DEF1C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408DEF1C3",
     "48B88877665500000000DD0048B84433221100000000DD00DEF1C3CCCCCCCCCC"},
    {"x%y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408D9F8DFE0F6C40475F7DDD9C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408D9F8DFE0F6C40475F7DDD9C3",
     "48B88877665500000000DD0048B84433221100000000DD00D9F8DFE0F6C40475F7DDD9C3CCCCCCCC"},
    {"x^y",
     "DD054433221183EC08DD1C24DD0588776655DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B88877665500000000DD0048B84433221100000000DD0050DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3"},
    {"2-x",
     "68000000406800000000DD0544332211DD042483C408DEE1C3",
     "48B800000000000000405048B84433221100000000DD00DD04244883C408DEE1C3",
     "48B84433221100000000DD00DD0506000000DEE1C3CCCCCC0000000000000040"},
    {"sin(x)+1",
     "DD0544332211D9FEDFE0F6C4047406DDD8D9EED8F083EC08DD1C24680000F03F6800000000DD042483C408DD042483C408DEC1C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F04883EC08DD1C2448B8000000000000F03F50DD04244883C408DD04244883C408DEC1C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F04883EC08DD1C24DD0510000000DD04244883C408DEC1C3CCCCCCCCCCCC000000000000F03F"},
    {"2^x",
     "68000000406800000000DD0544332211DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B800000000000000405048B84433221100000000DD00DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00DD052E00000050DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3CCCCCCCCCCCC0000000000000040"},
    {"1+2^x",
     "680000F03F680000000068000000406800000000DD0544332211DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0DD042483C408DEC1C3",
     "48B8000000000000F03F5048B800000000000000405048B84433221100000000DD00DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C2448B80DF0AD0B00000000FFD04883C410DD04244883C408DEC1C3",
     "48B84433221100000000DD00DD053600000050DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418DD0511000000DEC1C3CCCCCCCCCCCC0000000000000040000000000000F03F"},
    {"x^0",
     "DD054433221183EC08DD1C2468000000006800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000000050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00DDD8D9E8C3CCCCCCCCCCCCCC"},
    {"x^1",
     "DD054433221183EC08DD1C24680000F03F6800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000F03F50DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D9EEDEC1C3CCCCCCCCCCCCCC"},
    {"x^2",
     "DD054433221183EC08DD1C2468000000406800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000004050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D8C8DD5C24F8DD4424F8C3CC"},
    {"x^4",
     "DD054433221183EC08DD1C2468000010406800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000104050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D8C8D8C8DD5C24F8DD4424F8C3CCCCCCCCCCCCCC"},
    {"x^5",
     "DD054433221183EC08DD1C2468000014406800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000144050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D9EED8C1D9C9D8C8D8C8DEC9DD5C24F8DD4424F8C3CCCCCCCCCCCCCC"},
    {"x^-6",
     "DD054433221183EC08DD1C2468000018406800000000DD042483C408D9E0DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000184050DD04244883C408D9E0DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D8C8D9C0D8C8DEC9D9E8DEF1DD5C24F8DD4424F8C3CCCCCCCCCCCCCC"},
    {"x^15",
     "DD054433221183EC08DD1C246800002E406800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B80000000000002E4050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D9EED8C1D9C9D8C8DCC9D8C8DCC9D8C8DEC9DD5C24F8DD4424F8C3CC"},
    {"x^17",
     "DD054433221183EC08DD1C2468000031406800000000DD042483C408DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD004883EC08DD1C2448B8000000000000314050DD04244883C408DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "DD053A00000048B84433221100000000DD0050DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3CCCCCCCCCCCC0000000000003140"},
    {"sin(x)^-1",
     "DD0544332211D9FEDFE0F6C4047406DDD8D9EED8F083EC08DD1C24680000F03F6800000000DD042483C408D9E0DD042483C4085050DD1C245050DD1C24B80DF0AD0BFFD0C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F04883EC08DD1C2448B8000000000000F03F50DD04244883C408D9E0DD04244883C40850DD1C2450DD1C24F20F10442408F20F100C244883EC0848B80DF0AD0B00000000FFD04883C418C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F0DD5C24F8DD4424F8D9E8DEF1DD5C24F8DD4424F8C3"},
    {"sin(x)",
     "DD0544332211D9FEDFE0F6C4047406DDD8D9EED8F0C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F0C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F0C3CCCCCCCC"},
    {"cos(x)",
     "DD0544332211D9FFDFE0F6C4047406DDD8D9EED8F0C3",
     "48B84433221100000000DD00D9FFDFE0F6C4047406DDD8D9EED8F0C3",
     "48B84433221100000000DD00D9FFDFE0F6C4047406DDD8D9EED8F0C3CCCCCCCC"},
    {"tg(x)",
     "DD0544332211D9F2DFE0DDD8F6C4047404D9EED8F0C3",
     "48B84433221100000000DD00D9F2DFE0DDD8F6C4047404D9EED8F0C3",
     "48B84433221100000000DD00D9F2DFE0DDD8F6C4047404D9EED8F0C3CCCCCCCC"},
    {"ctg(x)",
     "DD0544332211D9F2DFE0F6C4047406DDD8D9EED9EEDEF1C3",
     "48B84433221100000000DD00D9F2DFE0F6C4047406DDD8D9EED9EEDEF1C3",
     "48B84433221100000000DD00D9F2DFE0F6C4047406DDD8D9EED9EEDEF1C3CCCC"},
    {"sec(x)",
     "DD0544332211D9FFDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3",
     "48B84433221100000000DD00D9FFDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3",
     "48B84433221100000000DD00D9FFDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3"},
    {"cosec(x)",
     "DD0544332211D9FEDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3",
     "48B84433221100000000DD00D9FEDFE0F6C4047406DDD8D9EED8F0D9E8DEF1C3"},
    {"arcsin(x)",
     "DD0544332211DDD1D8C8D9E8DEE1D9FAD9F3C3",
     "48B84433221100000000DD00DDD1D8C8D9E8DEE1D9FAD9F3C3",
     "48B84433221100000000DD00DDD1D8C8D9E8DEE1D9FAD9F3C3CCCCCCCCCCCCCC"},
    {"arccos(x)",
     "DD0544332211DDD1D8C8D9E8DEE1D9FAD9C9D9F3C3",
     "48B84433221100000000DD00DDD1D8C8D9E8DEE1D9FAD9C9D9F3C3",
     "48B84433221100000000DD00DDD1D8C8D9E8DEE1D9FAD9C9D9F3C3CCCCCCCCCC"},
    {"arctg(x)",
     "DD0544332211D9E8D9F3C3",
     "48B84433221100000000DD00D9E8D9F3C3",
     "48B84433221100000000DD00D9E8D9F3C3CCCCCCCCCCCCCC"},
    {"exp(x)",
     "DD0544332211D9EADEC9D9C0D9FCDCE9D9C9D9F0D9E8DEC1D9FDDDD9C3",
     "48B84433221100000000DD00D9EADEC9D9C0D9FCDCE9D9C9D9F0D9E8DEC1D9FDDDD9C3",
     "48B84433221100000000DD00D9EADEC9D9C0D9FCDCE9D9C9D9F0D9E8DEC1D9FDDDD9C3CCCCCCCCCC"},
    {"sqrt(x)",
     "DD0544332211D9FAC3",
     "48B84433221100000000DD00D9FAC3",
     "48B84433221100000000DD00D9FAC3CC"},
    {"ln(x)",
     "DD0544332211D9EDD9C9D9F1C3",
     "48B84433221100000000DD00D9EDD9C9D9F1C3",
     "48B84433221100000000DD00D9EDD9C9D9F1C3CCCCCCCCCC"},
    {"log10(x)",
     "DD0544332211D9ECD9C9D9F1C3",
     "48B84433221100000000DD00D9ECD9C9D9F1C3",
     "48B84433221100000000DD00D9ECD9C9D9F1C3CCCCCCCCCC"},
    {"log2(x)",
     "DD0544332211D9E8D9C9D9F1C3",
     "48B84433221100000000DD00D9E8D9C9D9F1C3",
     "48B84433221100000000DD00D9E8D9C9D9F1C3CCCCCCCCCC"},
    {"neg(x)",
     "DD0544332211D9E0C3",
     "48B84433221100000000DD00D9E0C3",
     "48B84433221100000000DD00D9E0C3CC"},
    {"abs(x)",
     "DD0544332211D9E1C3",
     "48B84433221100000000DD00D9E1C3",
     "48B84433221100000000DD00D9E1C3CC"},
    {"pi()",
     "D9EBC3",
     "D9EBC3",
     "D9EBC3CCCCCCCCCC"},
    {"sum(x,y)",
     "DD054433221183EC08DD1C24DD0588776655DD042483C408DEC1C3",
     "48B84433221100000000DD004883EC08DD1C2448B88877665500000000DD00DD04244883C408DEC1C3",
     "48B88877665500000000DD0048B84433221100000000DD00DEC1C3CCCCCCCCCC"},
};

std::string Hex(const TBytes& bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += Digits[b >> 4];
        text += Digits[b & 15];
    }
    return text;
}

// The formula's command list with x and y at the fixed addresses X and Y.
TCommandList FixedList(const char* formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    evaluator.Compile();
    TCommandList list;
    const TCommandList& compiled = evaluator.CommandList();
    for (int i = 0; i < compiled.Count(); ++i) {
        TStackItem item = compiled[i];
        if (item.Kind == skVariable)
            item.Address = item.Address == reinterpret_cast<std::uintptr_t>(&FormulaX) ? X : Y;
        list.Add(item);
    }
    return list;
}

} // namespace

TEST(CodeBytes, EveryFormOfEveryOperationAsGenerated)
{
    for (const TGoldenRow& row : Golden) {
        const TCommandList list = FixedList(row.Formula);
        const std::string ia32 = Hex(Generate(list, IA32Encoding));
        const std::string x64 = Hex(Generate(list, X86_64Encoding));
        const std::string optimized = Hex(Optimized(list));
        EXPECT_EQ(ia32, row.IA32) << row.Formula;
        EXPECT_EQ(x64, row.X86_64) << row.Formula;
        EXPECT_EQ(optimized, row.Optimized) << row.Formula;
        if (ia32 != row.IA32 || x64 != row.X86_64 || optimized != row.Optimized)
            ADD_FAILURE() << "now: {\"" << row.Formula << "\",\n \"" << ia32 << "\",\n \"" << x64 << "\",\n \""
                          << optimized << "\"},";
    }
}

TEST(CodeBytes, EveryFunctionHasItsRowInTheGoldenTable)
{
    for (const TBuiltInFunction& function : BuiltInFunctions) {
        std::string call = std::string(function.Name) + "(";
        for (char& c : call)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool found = std::any_of(std::begin(Golden), std::end(Golden),
                                       [&](const TGoldenRow& row) { return std::string(row.Formula).starts_with(call); });
        EXPECT_TRUE(found) << call;
    }
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
