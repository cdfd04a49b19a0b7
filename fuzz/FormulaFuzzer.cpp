// Fuzz target: arbitrary bytes as a formula, compiled and, when it compiles,
// compared with the reference interpreter.
#include "FormulaCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckFormula(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
