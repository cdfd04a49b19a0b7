// The formula check of the fuzz targets: compile, compare with the reference
// interpreter at several points, check the fault flags and a harmless formula.
#include "FormulaCheck.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "evaluator/ReferenceInterpreter.h"
#include "numeric/FloatingPoint.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct TPoint {
    double X, Z;
};
// Ordinary points, the signs of zero, and the values where faults begin.
constexpr TPoint Points[] = {
    {0.0, 0.0}, {-0.0, 1.0}, {1.0, -1.0}, {-1.0, 0.5}, {0.5, 2.0}, {2.0, -3.0},
    {-3.0, 1e-300}, {1e-300, 1e300}, {1e300, -1e19}, {-1e19, 710.0}, {710.0, 0.1}, {3.14159, 1e19},
};

const char* Shown(const std::string& formula)
{
    static std::string shown;
    shown = formula.size() <= 300 ? formula : formula.substr(0, 300) + "... (" + std::to_string(formula.size()) + " bytes)";
    return shown.c_str();
}

[[noreturn]] void Report(const char* finding, const std::string& formula, const char* details = "")
{
    std::fprintf(stderr, "\n==== FUZZ FINDING: %s\n==== formula: %s\n==== %s\n", finding, Shown(formula), details);
    std::fflush(stderr);
    std::abort();
}

bool FaultFlagSet()
{
    return (FpuStatusWord() & StatusFaults) != 0;
}

std::uint64_t Bits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A formula that must be unaffected by whatever ran before it.
TRapidEvaluator& Harmless()
{
    static TRapidEvaluator evaluator;
    static bool compiled = false;
    if (!compiled) {
        evaluator.SetFormula("x+1");
        evaluator.Compile();
        compiled = true;
    }
    return evaluator;
}

void CompareAtPoints(const TRapidEvaluator& evaluator, const std::string& formula)
{
    for (const TPoint& point : Points) {
        FormulaX = point.X;
        FormulaZ = point.Z;
        const TReferenceResult expected = Interpret(evaluator.CommandList());
        if (FaultFlagSet())
            Report("the reference interpreter left a fault flag set", formula);
        bool defined = true;
        double value = 0;
        try {
            value = evaluator.Evaluate();
        } catch (const EMathError&) {
            defined = false;
        }
        char details[160];
        std::snprintf(details, sizeof details, "at x = %.17g, z = %.17g: compiled code %s %.17g, reference %s %.17g",
                      point.X, point.Z, defined ? "gives" : "is undefined", value,
                      expected.Defined ? "gives" : "is undefined", expected.Value);
        if (defined != expected.Defined)
            Report("compiled code and reference interpreter disagree on an undefined point", formula, details);
        if (defined && Bits(value) != Bits(expected.Value))
            Report("compiled code and reference interpreter give different values", formula, details);
        if (FaultFlagSet())
            Report("Evaluate left a fault flag set", formula, details);
    }
    FormulaX = FormulaZ = 0;
}

// A formula that is one number and nothing else, in the number form the
// formula language accepts, with an exponent of at most seven digits.
bool IsPlainNumber(const std::string& text)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (digits() == 0)
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t count = digits();
        if (count == 0 || count > 7)
            return false;
    }
    return i == text.size();
}

// A number's value is the decimal number's, within the roundings of the
// extended scaling: at most two units of the double's last place from the
// correctly rounded double (strtod's), and an overflow only beyond DBL_MAX.
void CheckNumberValue(const std::string& formula, bool compiled, double value)
{
    const double correct = std::strtod(formula.c_str(), nullptr);
    char details[160];
    std::snprintf(details, sizeof details, "compiled %s %.17g, the decimal number is %.17g",
                  compiled ? "to" : "with an overflow, not", value, correct);
    const char* finding = nullptr;
    if (!compiled) {
        if (correct < DBL_MAX * (1 - 0x1p-51))
            finding = "a number within the double range overflows";
    } else if (std::isinf(correct)) {
        finding = "a number beyond the double range compiles";
    } else {
        const double difference = std::fabs(value - correct);
        if (difference > std::fabs(correct) * 0x1p-51 && difference > 2 * DBL_TRUE_MIN)
            finding = "a number compiles to another value than it writes";
    }
    if (finding != nullptr)
        Report(finding, formula, details);
}

} // namespace

void CheckFormula(const std::string& formula, TExpectation expectation)
{
    static TRapidEvaluator evaluator;
    ResetFpu();
    // A formula compiled before, so that a failed compile has old code to leave behind.
    evaluator.SetFormula("x*100");
    evaluator.Compile();

    bool compiled = false;
    std::string error;
    evaluator.SetFormula(formula);
    try {
        evaluator.Compile();
        compiled = true;
    } catch (const ESyntaxError& e) {
        error = e.what();
    } catch (const EOverflow& e) {  // a number beyond the double range
        error = e.what();
    } catch (const std::exception& e) {
        Report("Compile raised an unexpected error", formula, e.what());
    }
    if (FaultFlagSet())
        Report("Compile left a fault flag set", formula, error.c_str());
    ResetFpu();

    if (expectation == TExpectation::Compiles && !compiled)
        Report("a valid formula does not compile", formula, error.c_str());
    if (expectation == TExpectation::NestedTooDeeply && error != "Formula is nested too deeply")
        Report("a formula nested past the limit is not refused as such", formula, error.c_str());

    if (IsPlainNumber(formula) && (compiled || error == "Floating point overflow"))
        CheckNumberValue(formula, compiled, compiled ? evaluator.CommandList()[0].Value : 0);

    if (compiled) {
        CompareAtPoints(evaluator, formula);
    } else {
        if (evaluator.CommandList().Count() != 0)
            Report("a failed compile left a command list", formula, error.c_str());
        try {
            FormulaX = 2;
            const double value = evaluator.Evaluate();
            char details[120];
            std::snprintf(details, sizeof details, "Evaluate at x = 2 gave %.17g after: %s", value, error.c_str());
            Report("Evaluate after a failed Compile ran the formula compiled before", formula, details);
        } catch (const Exception& e) {
            if (std::strcmp(e.what(), "No formula has been compiled") != 0)
                Report("Evaluate after a failed Compile raised a fault", formula, e.what());
        }
        ResetFpu();
    }

    FormulaX = 2;
    double next = 0;
    try {
        next = Harmless().Evaluate();
    } catch (const Exception& e) {
        Report("x+1 evaluated after the formula raised an error", formula, e.what());
    }
    if (next != 3.0)
        Report("x+1 evaluated after the formula is not 3 at x = 2", formula);
    FormulaX = 0;
}
