// Test access to the evaluator's scanner and token fields.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"

struct TRapidEvaluatorProbe {
    static void NextToken(TRapidEvaluator& e) { e.Scanner.NextToken(); }
    static void RewindToken(TRapidEvaluator& e) { e.Scanner.RewindToken(); }
    static const std::string& Token(const TRapidEvaluator& e) { return e.Scanner.Token(); }
    static std::uint8_t Kind(const TRapidEvaluator& e) { return e.Scanner.Kind(); }
    static std::uintptr_t Value(const TRapidEvaluator& e) { return e.Scanner.Value(); }
    static const TIntFunction* Entry(const TRapidEvaluator& e) { return e.Scanner.Entry(); }
};
