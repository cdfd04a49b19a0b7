// Test access to the evaluator's scanner and token fields.
#pragma once

#include "RapidEvaluator/EvaluatorStages.h"

struct TRapidEvaluatorProbe {
    static void NextToken(TRapidEvaluator& e) { e.Stages->Scanner.NextToken(); }
    static void RewindToken(TRapidEvaluator& e) { e.Stages->Scanner.RewindToken(); }
    static const std::string& Token(const TRapidEvaluator& e) { return e.Stages->Scanner.Token(); }
    static std::uint8_t Kind(const TRapidEvaluator& e) { return e.Stages->Scanner.Kind(); }
    static std::uintptr_t Value(const TRapidEvaluator& e) { return e.Stages->Scanner.Value(); }
    static const TIntFunction* Entry(const TRapidEvaluator& e) { return e.Stages->Scanner.Entry(); }
};
