// The benchmark formulas written as C++ on long double, built twice: with the
// usual flags (library calls for sin, cos, exp) and with the x87 functions
// inlined as single instructions (-ffast-math), the fastest code a compiler
// writes for the x87.
#pragma once

namespace NativePlain {
long double Formula(int index, long double x, long double z);
}
namespace NativeInlineX87 {
long double Formula(int index, long double x, long double z);
}
