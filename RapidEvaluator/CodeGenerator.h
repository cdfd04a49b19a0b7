// Translation of a postfix command list into one straight-line x87 routine.
#pragma once

#include <cstdint>

class TCode;
class TCommandList;
struct TEncoding;

// Writes into `code` (from offset 0) a routine that, called without arguments
// on an empty x87 register stack, returns the list's value in ST0 and leaves
// the machine stack as it found it. `powerRoutine` is the address the ^
// operator calls. Raises Exception for an operator or function code in no
// table, and for a list that does not leave exactly one value.
void GenerateCode(const TCommandList& list, TCode& code, const TEncoding& encoding,
                  std::uintptr_t powerRoutine);
