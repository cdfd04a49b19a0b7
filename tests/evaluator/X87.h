// Single x87 instructions for the reference interpreter, so that its values
// can be compared bit for bit with the generated code's.
#pragma once

#include <cstdint>

namespace x87 {

inline long double Sin(long double v) { long double r; asm("fsin" : "=t"(r) : "0"(v)); return r; }
inline long double Cos(long double v) { long double r; asm("fcos" : "=t"(r) : "0"(v)); return r; }
// The partial tangent without the 1.0 that FPTAN pushes above it.
inline long double Tan(long double v) { long double r; asm("fptan\n\tfstp %%st(0)" : "=t"(r) : "0"(v)); return r; }
// The angle of the point (x, y).
inline long double Atan2(long double y, long double x)
{
    long double r;
    asm("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}
// y · log2 x.
inline long double YLog2X(long double x, long double y)
{
    long double r;
    asm("fyl2x" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}
inline long double TwoToXMinusOne(long double v) { long double r; asm("f2xm1" : "=t"(r) : "0"(v)); return r; }
inline long double RoundToInteger(long double v) { long double r; asm("frndint" : "=t"(r) : "0"(v)); return r; }
// v · 2^trunc(n).
inline long double Scale(long double v, long double n)
{
    long double r;
    asm("fscale" : "=t"(r) : "0"(v), "u"(n));
    return r;
}
inline long double Ln2() { long double r; asm("fldln2" : "=t"(r)); return r; }
inline long double Lg2() { long double r; asm("fldlg2" : "=t"(r)); return r; }
inline long double Log2E() { long double r; asm("fldl2e" : "=t"(r)); return r; }
inline long double Pi() { long double r; asm("fldpi" : "=t"(r)); return r; }

// Whether `reduce` (FSIN, FCOS or FPTAN) leaves 2^63 itself unreduced (C2).
template <class TReduce>
inline bool LeavesTwoTo63Unreduced(TReduce reduce)
{
    std::uint16_t status;
    const std::uint16_t word = 0x133F;
    const long double twoTo63 = 9223372036854775808.0L;
    reduce(twoTo63, status);
    asm volatile("fninit\n\tfldcw %0" : : "m"(word));
    return (status & 0x0400) != 0;
}

// Whether FSIN and FPTAN leave 2^63 itself unreduced, as x87 hardware does.
// qemu's emulation of the unit starts refusing only above it, so there the
// boundary value has a sine and a tangent.
inline bool ReductionRefusesTwoTo63()
{
    const auto sine = [](long double v, std::uint16_t& status) {
        asm volatile("fldt %1\n\tfsin\n\tfnstsw %0\n\tfstp %%st(0)" : "=m"(status) : "m"(v) : "st");
    };
    const auto tangent = [](long double v, std::uint16_t& status) {
        asm volatile("fldt %1\n\tfptan\n\tfnstsw %0\n\tfninit" : "=m"(status) : "m"(v)
                     : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
    };
    return LeavesTwoTo63Unreduced(sine) && LeavesTwoTo63Unreduced(tangent);
}

} // namespace x87
