// A second opinion on compiled formulas: runs a command list with a stack of
// extended values, stores as doubles exactly the values the generated code
// stores, and states the undefined cases as conditions on the operands.
#pragma once

#include "RapidEvaluator/CommandList.h"

struct TReferenceResult {
    bool Defined;
    double Value;  // when defined
};

TReferenceResult Interpret(const TCommandList& list);
