// The stages a TRapidEvaluator owns, private to the formula compiler's
// library (and to the tests that drive a stage through the evaluator).
#pragma once

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CodeGenerator.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/LookupTable.h"
#include "RapidEvaluator/OptimizedCodeGenerator.h"
#include "RapidEvaluator/Parser.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "RapidEvaluator/Scanner.h"

#include <string>

// Each member is declared after what it reads.
struct TRapidEvaluator::TStages {
    // The scanner reads the evaluator's formula text where the evaluator keeps it.
    explicit TStages(const std::string& formula);

    // The generator of the given form on this host.
    TCodeGenerator& Generator(TCodeForm form);

    TLookupTable<TExtPointer> Variables;
    TLookupTable<TIntFunction> Functions;
    TScanner Scanner;
    TParser Parser;
    TCommandList CommandList;
    TCommandList GeneratedFrom;  // the list the code in CodeBuffer was made from
    TItemByItemGenerator ItemByItem;
    TOptimizedGenerator Optimized;
    TCode CodeBuffer;
};
