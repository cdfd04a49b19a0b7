// The x87 instructions behind the program's own arithmetic where the C
// library would compute a different last bit: the decimal logarithm of the
// tick step and the sine and cosine of the polar plot.
#pragma once

// log10(v) as FLDLG2, FLD v, FYL2X computes it: log2(v) × log10(2) in
// extended precision. For v > 0; exact powers of ten may come out a hair
// below their logarithm, which the tick rules allow for.
inline long double Log10X87(long double v)
{
    long double result;
    asm("fldlg2\n\t"
        "fxch %%st(1)\n\t"
        "fyl2x"
        : "=t"(result)
        : "0"(v));
    return result;
}

// Sine and cosine by FSINCOS, for |theta| < 2^63, where the unit reduces the
// argument itself (with its own 66-bit π, not the C library's exact one).
inline void SinCosX87(long double theta, long double& sine, long double& cosine)
{
    asm("fsincos" : "=t"(cosine), "=u"(sine) : "0"(theta));
}
