// The benchmark formulas in C++; NATIVE_NAMESPACE names the build (see NativeFormulas.h).
#include "NativeFormulas.h"

#include <cmath>

namespace NATIVE_NAMESPACE {

long double Formula(int index, long double x, long double z)
{
    switch (index) {
    case 0: return x;
    case 1: return std::sin(x) * std::cos(x) + x * x;
    case 2: return x * x * x + 3 * x * x - 2;
    case 3: return 2 * std::cos(10 * x) * std::exp(-x * x / 20);
    case 4: return std::sqrt(std::sin(x)) * std::cos(20 * x * z);
    case 5: return std::cos(x) + std::cos(2 * x) + std::cos(4 * x) + std::cos(6 * x);
    }
    return 0;
}

} // namespace NATIVE_NAMESPACE
