// The power routine: integer powers by repeated squaring, every other power
// as e^(Exponent · ln Base) with the same x87 sequences as LN and EXP.
#include "RapidEvaluator/FormulaPower.h"

#include "numeric/FloatingPoint.h"

#include <cmath>

namespace {

constexpr double MaxIntegerExponent = 2147483647.0;

// ln v: FLDLN2; FXCH ST(1); FYL2X — the LN sequence of the code generator.
inline long double X87Ln(long double v)
{
    long double result;
    asm(".byte 0xD9,0xED, 0xD9,0xC9, 0xD9,0xF1" : "=t"(result) : "0"(v) : "st(1)");
    return result;
}

// e^v: FLDL2E; FMULP; FLD ST(0); FRNDINT; FSUB ST(1), ST(0); FXCH ST(1); F2XM1;
// FLD1; FADDP; FSCALE; FSTP ST(1) — the EXP sequence of the code generator.
inline long double X87Exp(long double v)
{
    long double result;
    asm(".byte 0xD9,0xEA, 0xDE,0xC9, 0xD9,0xC0, 0xD9,0xFC, 0xDC,0xE9, 0xD9,0xC9,"
        "      0xD9,0xF0, 0xD9,0xE8, 0xDE,0xC1, 0xD9,0xFD, 0xDD,0xD9"
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
