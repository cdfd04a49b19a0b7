// The check shared by both formula fuzz targets: compile a formula, compare
// every compiled one with the reference interpreter, and make sure nothing is
// left behind for the next formula.
#pragma once

#include <string>

// What the caller knows about the formula beforehand.
enum class TExpectation { Anything, Compiles, NestedTooDeeply };

// Compiles `formula` right after a different formula compiled in the same
// evaluator, and aborts with a clear report on the first disagreement.
void CheckFormula(const std::string& formula, TExpectation expectation = TExpectation::Anything);
