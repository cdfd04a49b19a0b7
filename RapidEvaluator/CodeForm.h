// TCodeForm: the choice between the two translations of a formula on x86-64.
#pragma once

#include <cstdint>

// Which translation the evaluator uses on x86-64. IA-32 code is always made
// item by item.
enum class TCodeForm : std::uint8_t {
    ItemByItem,  // TItemByItemGenerator with X86_64Encoding
    Optimized,   // TOptimizedGenerator
};
