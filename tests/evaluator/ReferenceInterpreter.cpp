// The reference interpreter of command lists.
#include "ReferenceInterpreter.h"

#include "RapidEvaluator/LookupTable.h"
#include "X87.h"
#include "numeric/FloatingPoint.h"

#include <cfloat>
#include <cmath>
#include <vector>

namespace {

constexpr long double TwoTo63 = 9223372036854775808.0L;

// Thrown inside the interpreter when the formula is undefined at this point.
struct TUndefined {};

long double Checked(long double value)
{
    if (!std::isfinite(value))
        throw TUndefined{};
    return value;
}

// A value stored as a double: rounded, and undefined beyond the double range.
long double Spill(long double value)
{
    const double stored = RoundToDouble(value);
    ClearFpuExceptions();
    if (std::isinf(stored))
        throw TUndefined{};
    return stored;
}

long double Exp(long double v)
{
    const long double t = v * x87::Log2E();
    const long double n = x87::RoundToInteger(t);
    return Checked(x87::Scale(x87::TwoToXMinusOne(t - n) + 1, n));
}

long double Logarithm(long double v, long double factor)
{
    if (v <= 0)
        throw TUndefined{};
    return x87::YLog2X(v, factor);
}

long double Power(long double base, long double exponent)
{
    base = Spill(base);
    exponent = Spill(exponent);
    long double result;
    if (exponent == 0) {
        result = 1;
    } else if (base == 0 && exponent > 0) {
        result = 0;
    } else if (std::fabs(exponent) <= 2147483647.0L && exponent == std::trunc(exponent)) {
        unsigned long bits = static_cast<unsigned long>(std::fabs(exponent));
        long double r = 1, x = base;
        for (; bits != 0; bits >>= 1) {
            if (bits & 1)
                r = Checked(r * x);
            if (bits > 1)
                x = Checked(x * x);
        }
        if (exponent < 0) {
            if (r == 0)
                throw TUndefined{};
            r = 1 / r;
        }
        result = r;
    } else {
        result = Exp(exponent * Logarithm(base, x87::Ln2()));
    }
    return Spill(result);
}

long double Operate(std::uint8_t op, long double a, long double b)
{
    switch (op) {
    case opAdd: return Checked(a + b);
    case opSubtract: return Checked(a - b);
    case opMultiply: return Checked(a * b);
    case opDivide:
        if (b == 0)
            throw TUndefined{};
        return Checked(a / b);
    case opModulo:
        if (b == 0)
            throw TUndefined{};
        return std::fmod(a, b);
    case opPower: return Power(a, b);
    }
    throw TUndefined{};
}

long double Call(std::int32_t function, long double v, long double w)
{
    // The unit leaves arguments of 2^63 or more unreduced: the trigonometric
    // functions are undefined there.
    const bool trigonometric = function == fnSin || function == fnCos || function == fnTg || function == fnCtg
                               || function == fnSec || function == fnCosec;
    if (trigonometric && std::fabs(v) >= TwoTo63)
        throw TUndefined{};
    switch (function) {
    case fnNeg: return -v;
    case fnAbs: return std::fabs(v);
    case fnSin: return x87::Sin(v);
    case fnCos: return x87::Cos(v);
    case fnTg: return x87::Tan(v);
    case fnCtg:
        if (v == 0)
            throw TUndefined{};
        return Checked(1 / x87::Tan(v));
    case fnSec: return Checked(1 / x87::Cos(v));
    case fnCosec:
        if (v == 0)
            throw TUndefined{};
        return Checked(1 / x87::Sin(v));
    case fnArctg: return x87::Atan2(v, 1);
    case fnArcsin:
        if (std::fabs(v) > 1)
            throw TUndefined{};
        return x87::Atan2(v, std::sqrt(1 - v * v));
    case fnArccos:
        if (std::fabs(v) > 1)
            throw TUndefined{};
        return x87::Atan2(std::sqrt(1 - v * v), v);
    case fnExp: return Exp(v);
    case fnSqrt:
        if (v < 0)
            throw TUndefined{};
        return std::sqrt(v);
    case fnLn: return Logarithm(v, x87::Ln2());
    case fnLog10: return Logarithm(v, x87::Lg2());
    case fnLog2: return Logarithm(v, 1);
    case fnPi: return x87::Pi();
    case fnSum: return Checked(v + w);
    }
    throw TUndefined{};
}

// A result stays in a register when the next item consumes it at once.
bool ConsumedAtOnce(const TCommandList& list, int index)
{
    if (index + 1 >= list.Count())
        return true;  // the final load and the caller's store: rounded below
    const TStackItem& next = list[index + 1];
    return next.Kind == skOperator || (next.Kind == skFunction && next.ArgCount >= 1);
}

long double Pop(std::vector<long double>& stack)
{
    const long double value = stack.back();
    stack.pop_back();
    return value;
}

} // namespace

TReferenceResult Interpret(const TCommandList& list)
{
    std::vector<long double> stack;
    try {
        for (int i = 0; i < list.Count(); ++i) {
            const TStackItem& item = list[i];
            long double result = 0;
            switch (item.Kind) {
            case skConstant:
                stack.push_back(item.Value);
                continue;
            case skVariable:
                stack.push_back(*reinterpret_cast<const double*>(item.Address));
                continue;
            case skOperator: {
                const long double right = Pop(stack);
                const long double left = Pop(stack);
                result = Operate(item.Operator, left, right);
                break;
            }
            case skFunction: {
                long double w = 0, v = 0;
                if (item.ArgCount == 2)
                    w = Pop(stack);
                if (item.ArgCount >= 1)
                    v = Pop(stack);
                result = Call(static_cast<std::int32_t>(item.Address), v, w);
                break;
            }
            }
            stack.push_back(ConsumedAtOnce(list, i) ? result : Spill(result));
        }
        const double value = static_cast<double>(Spill(stack.back()));
        return {true, value};
    } catch (const TUndefined&) {
        ClearFpuExceptions();
        return {false, 0};
    }
}
