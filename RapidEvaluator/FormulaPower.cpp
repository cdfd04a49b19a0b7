// The power routine: integer powers by repeated squaring, every other power
// as e^(Exponent · ln Base) with the same x87 sequences as LN and EXP.
#include "RapidEvaluator/FormulaPower.h"

#include "numeric/FloatingPoint.h"

#include <cmath>

namespace {

constexpr double MaxIntegerExponent = 2147483647.0;

// ln v: the LN row of the function catalogue.
inline long double X87Ln(long double v)
{
    long double result;
    asm(".intel_syntax noprefix\n\t"
        "fldln2\n\t"
        "fxch st(1)\n\t"
        "fyl2x\n\t"
        ".att_syntax prefix"
        : "=t"(result) : "0"(v) : "st(1)");
    return result;
}

// e^v: the EXP row of the function catalogue.
inline long double X87Exp(long double v)
{
    long double result;
    asm(".intel_syntax noprefix\n\t"
        "fldl2e\n\t"
        "fmulp st(1), st\n\t"    // t = v · log2 e
        "fld st(0)\n\t"
        "frndint\n\t"            // n = t rounded
        "fsub st(1), st\n\t"     // f = t - n
        "fxch st(1)\n\t"
        "f2xm1\n\t"
        "fld1\n\t"
        "faddp st(1), st\n\t"    // 2^f
        "fscale\n\t"             // 2^f · 2^n
        "fstp st(1)\n\t"
        ".att_syntax prefix"
        : "=t"(result) : "0"(v) : "st(1)", "st(2)");
    return result;
}

} // namespace

long double IntegerPower(long double Base, std::int32_t N)
{
    std::uint32_t bits = N < 0 ? 0u - static_cast<std::uint32_t>(N) : static_cast<std::uint32_t>(N);
    long double result = 1.0L;
    long double power = Base;
    while (bits != 0) {
        if (bits & 1u)
            result *= power;
        bits >>= 1;
        if (bits != 0)  // no square beyond the highest bit: it could overflow for nothing
            power *= power;
    }
    return N < 0 ? 1.0L / result : result;
}

double FormulaPower(double Base, double Exponent)
{
    long double result;
    if (Exponent == 0.0) {
        result = 1.0L;
    } else if (Base == 0.0 && Exponent > 0.0) {
        result = 0.0L;
    } else if (std::fabs(Exponent) <= MaxIntegerExponent
               && static_cast<double>(static_cast<std::int32_t>(Exponent)) == Exponent) {
        // Within the 32-bit range the truncating conversion and back is the
        // test for a whole number (and one instruction each way on x86-64).
        result = IntegerPower(Base, static_cast<std::int32_t>(Exponent));
    } else {
        result = X87Exp(static_cast<long double>(Exponent) * X87Ln(Base));
    }
    return RoundToDouble(result);
}

#if defined(__x86_64__)
extern "C" long double FormulaPowerEntry(double Base, double Exponent)
{
    return FormulaPower(Base, Exponent);
}
#elif defined(__i386__)
extern "C" __attribute__((stdcall, force_align_arg_pointer)) double FormulaPowerEntry(double Exponent,
                                                                                      double Base)
{
    return FormulaPower(Base, Exponent);
}
#endif
