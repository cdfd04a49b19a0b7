// The power routine behind the ^ operator, with the integer power it uses.
#pragma once

#include <cstdint>

// Base ^ Exponent, rounded to a double. Faults (0 to a negative power, a
// negative base to a fractional power, overflow) are left in the x87 status
// flags, to be read by the caller; nothing is raised, because the routine
// is called from generated code.
double FormulaPower(double Base, double Exponent);

// Base^|N| by binary exponentiation at 64-bit precision, reciprocal for N < 0.
long double IntegerPower(long double Base, std::int32_t N);

// The entry the generated code calls, in the host instruction set's
// convention: base and exponent in XMM0 and XMM1 on x86-64; on IA-32 both on
// the stack, the exponent at the lower address, removed by the routine.
// The result is returned in ST0.
#if defined(__x86_64__)
extern "C" long double FormulaPowerEntry(double Base, double Exponent);
#elif defined(__i386__)
extern "C" __attribute__((stdcall, force_align_arg_pointer)) double FormulaPowerEntry(double Exponent,
                                                                                      double Base);
#endif
