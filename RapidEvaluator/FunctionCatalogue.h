// The built-in functions of the formula language, one row each: the name the
// scanner knows, the number of arguments the parser requires, the operation
// code of the command list and the instructions both code generators emit.
// Adding a function is adding its row (and its tests).
#pragma once

#include "RapidEvaluator/Instructions.h"

#include <cstdint>

// FSIN and FCOS leave an argument of magnitude 2^63 or more unreduced (C2
// set): instead of that argument, as if it were the result, the function
// gives 0 / 0, an invalid operation.
#define ORVALIS_UNREDUCED_IS_INVALID FNSTSW_AX, {TEST_AH, 4}, {JZ, 3}, FSTP_ST0, FLDZ, FDIV_ST0_ST0

// _(Id, name, arguments, operation code, instructions...), in the order the
// scanner's table lists them. The instructions find the first argument (or
// the only one) in ST0 and the second in ST1, and leave the result alone in
// ST0. A result outside the function's domain is an invalid operation of the
// unit (or a zero divide, an overflow), which the evaluator reports as an
// undefined point.
#define ORVALIS_BUILT_IN_FUNCTIONS(_)                                                                  \
    _(Sin, "SIN", 1, 200, FSIN, ORVALIS_UNREDUCED_IS_INVALID)                                          \
    _(Cos, "COS", 1, 201, FCOS, ORVALIS_UNREDUCED_IS_INVALID)                                          \
    /* FPTAN leaves such an argument unreduced too and pushes nothing: it is  */                       \
    /* replaced by 0 / 0 so that the register stack holds what it holds after */                       \
    /* any other function. TG drops the 1.0 (or the argument) either way.     */                       \
    _(Tg, "TG", 1, 202, FPTAN, FNSTSW_AX, FSTP_ST0, {TEST_AH, 4}, {JZ, 2}, FLDZ, FDIV_ST0_ST0)         \
    /* CTG divides the 1.0 by the tangent, or 0 by 0.                         */                       \
    _(Ctg, "CTG", 1, 203, FPTAN, FNSTSW_AX, {TEST_AH, 4}, {JZ, 3}, FSTP_ST0, FLDZ, FLDZ, FDIVRP)      \
    _(Sec, "SEC", 1, 204, FCOS, ORVALIS_UNREDUCED_IS_INVALID, FLD1, FDIVRP)                            \
    _(Cosec, "COSEC", 1, 205, FSIN, ORVALIS_UNREDUCED_IS_INVALID, FLD1, FDIVRP)                        \
    /* angle of (√(1 - x²), x) and of (x, √(1 - x²))                          */                       \
    _(Arcsin, "ARCSIN", 1, 207, FST_ST1, FMUL_ST0_ST0, FLD1, FSUBRP, FSQRT, FPATAN)                   \
    _(Arccos, "ARCCOS", 1, 208, FST_ST1, FMUL_ST0_ST0, FLD1, FSUBRP, FSQRT, FXCH, FPATAN)             \
    _(Arctg, "ARCTG", 1, 206, FLD1, FPATAN)                                                            \
    /* 2^f · 2^n for x · log2 e = n + f, n whole                              */                       \
    _(Exp, "EXP", 1, 224, FLDL2E, FMULP, FLD_ST0, FRNDINT, FSUB_ST1_ST0, FXCH, F2XM1, FLD1, FADDP,    \
      FSCALE, FSTP_ST1)                                                                                \
    _(Sqrt, "SQRT", 1, 217, FSQRT)                                                                     \
    /* log2 x times ln 2, log10 2 or 1                                        */                       \
    _(Ln, "LN", 1, 214, FLDLN2, FXCH, FYL2X)                                                           \
    _(Log10, "LOG10", 1, 215, FLDLG2, FXCH, FYL2X)                                                     \
    _(Log2, "LOG2", 1, 216, FLD1, FXCH, FYL2X)                                                         \
    _(Neg, "NEG", 1, 199, FCHS)                                                                        \
    _(Abs, "ABS", 1, 209, FABS)                                                                        \
    _(Pi, "PI", 0, 222, FLDPI)                                                                         \
    _(Sum, "SUM", 2, 225, FADDP)

// Operation codes of the built-in functions: fnSin, fnCos...
enum FunctionCode : std::int32_t {
#define ORVALIS_FUNCTION_CODE(id, name, arguments, code, ...) fn##id = code,
    ORVALIS_BUILT_IN_FUNCTIONS(ORVALIS_FUNCTION_CODE)
#undef ORVALIS_FUNCTION_CODE
};

struct TBuiltInFunction {
    const char* Name;
    int ParamCount;
    FunctionCode Code;
    x86::TMachineCode Instructions;
};

namespace catalogue {
using namespace x86;
inline constexpr TBuiltInFunction Rows[] = {
#define ORVALIS_FUNCTION_ROW(id, name, arguments, code, ...) {name, arguments, fn##id, {__VA_ARGS__}},
    ORVALIS_BUILT_IN_FUNCTIONS(ORVALIS_FUNCTION_ROW)
#undef ORVALIS_FUNCTION_ROW
};
} // namespace catalogue

inline constexpr auto& BuiltInFunctions = catalogue::Rows;

// The row of the function with this operation code; nullptr when none has it.
constexpr const TBuiltInFunction* FindBuiltInFunction(std::int32_t code)
{
    for (const TBuiltInFunction& function : BuiltInFunctions)
        if (function.Code == code)
            return &function;
    return nullptr;
}
