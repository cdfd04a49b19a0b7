// Test access to the evaluator's scanner and token fields.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"

struct TRapidEvaluatorProbe {
    static void NextToken(TRapidEvaluator& e) { e.NextToken(); }
    static void RewindToken(TRapidEvaluator& e) { e.RewindToken(); }
    static const std::string& Token(const TRapidEvaluator& e) { return e.Token; }
    static std::uint8_t Kind(const TRapidEvaluator& e) { return e.TokenKind; }
    static std::uintptr_t Value(const TRapidEvaluator& e) { return e.TokenValue; }
    static const TIntFunction* Entry(const TRapidEvaluator& e) { return e.TokenEntry; }
};
