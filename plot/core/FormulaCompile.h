// The compile that starts every plot, with the report the user is given when
// the formula does not compile.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class TRapidEvaluator;

// Hands `formula` to the evaluator and compiles it. Nothing when that
// succeeds; otherwise the floating-point unit is reset and the report is
// returned: "The formula is not valid at character N.", `lineBreak`, and
// why (CompileErrorReason); for a name of another notation (tan, pi without
// its parentheses) then `lineBreak` and the line with the program's spelling.
std::optional<std::string> CompileForPlot(TRapidEvaluator& evaluator, const std::string& formula,
                                          std::string_view lineBreak);
