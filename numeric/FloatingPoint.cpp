// Reset of the x87 unit and the mapping of its fault flags to error classes.
#include "numeric/FloatingPoint.h"

#include "numeric/Exceptions.h"

#include <cmath>

void ResetFpu()
{
    const std::uint16_t word = MaskedControlWord;
    asm volatile("fninit\n\tfwait\n\tfldcw %0" : : "m"(word));
}

void RaiseFpuFault(std::uint16_t status)
{
    ResetFpu();
    if (status & StatusZeroDivide)
        throw EZeroDivide();
    if (status & StatusOverflow)
        throw EOverflow();
    throw EInvalidOp();
}

double StoreDouble(long double value)
{
    const double result = RoundToDouble(value);
    if (std::isinf(result))
        RaiseFpuFault(StatusOverflow);
    return result;
}
