// TRapidEvaluator: the formula compiler. It owns the stages: the scanner and
// the parser turn the formula into a postfix command list, a code generator
// translates the list into x87 machine code in the code buffer, and Evaluate
// runs that code for the current values of the variables x, y and z.
#pragma once

#include "RapidEvaluator/CodeForm.h"
#include "RapidEvaluator/SyntaxError.h"
#include "numeric/Exceptions.h"
#include "numeric/FloatingPoint.h"

#include <cstdint>
#include <memory>
#include <string>

// The variables x, y and z of every formula, bound by address: the generated
// code reads them each time it runs. x is written per sample, z by the
// parameter slider, y by nobody.
extern double FormulaX;
extern double FormulaY;
extern double FormulaZ;

class TCode;
class TCommandList;
class TRapidEvaluator;

// Clang's function sanitizer checks a signature just before the callee of a
// call through a pointer; generated code has none, so the calls into it are
// exempt from that one check.
#if defined(__clang__)
#define ORVALIS_CALLS_GENERATED_CODE __attribute__((no_sanitize("function")))
#else
#define ORVALIS_CALLS_GENERATED_CODE
#endif

// Why a compile failed, for the user: the evaluator's ErrorMessage, or, for
// an error that is no syntax error and leaves it empty (a number beyond the
// double range, no memory), that error's own message.
std::string CompileErrorReason(const TRapidEvaluator& evaluator, const std::exception& error);

class TRapidEvaluator {
public:
    TRapidEvaluator();
    ~TRapidEvaluator();
    TRapidEvaluator(const TRapidEvaluator&) = delete;
    TRapidEvaluator& operator=(const TRapidEvaluator&) = delete;

    const std::string& Formula() const { return Formula_; }
    // Resets the command list, Position (to 1), ErrorMessage and Compiled;
    // compiles at once when AutoCompile is set, restoring the previous text if
    // that fails.
    void SetFormula(const std::string& value);

    bool AutoCompile() const { return AutoCompile_; }
    void SetAutoCompile(bool value) { AutoCompile_ = value; }

    // Compiles Formula unless it is compiled already. Raises ESyntaxError.
    // A formula whose command list is the one the current code was made from
    // (the same formula compiled again, as on every change of z) keeps that
    // code: only the scan and the parse are done again.
    void Compile();

    // The translation used on x86-64 (IA-32 code is always made item by
    // item). Changing it resets the compiled state as SetFormula does (without
    // compiling); the next Compile generates the code in the new form.
    TCodeForm CodeForm() const { return CodeForm_; }
    void SetCodeForm(TCodeForm form);

    // Runs the compiled code for the current x, y and z. Raises EInvalidOp,
    // EZeroDivide or EOverflow when the formula is undefined there, after
    // which the x87 unit is reset and the next evaluation runs normally.
    // Expects the unit's three fault flags clear on entry (see FloatingPoint.h).
    ORVALIS_CALLS_GENERATED_CODE double Evaluate() const
    {
        // Only the code of the formula compiled last, and only while it is
        // the current one: after a failed compile there is nothing to run.
        if (!Compiled)
            RaiseNothingCompiled();
        const long double value = EntryPoint();
        double result;
        std::uint16_t status;
        asm volatile("fstpl %0\n\tfnstsw %1" : "=m"(result), "=a"(status) : "t"(value) : "st");
        if (status & StatusFaults)
            RaiseFpuFault(status);
        return result;
    }

    // The sampling loop's step for each of `count` abscissas: FormulaX := x[i],
    // evaluate, values[i] := the value and undefined[i] := false, or 0.0 and
    // true when the formula is undefined there (or nothing is compiled).
    // Values and flags are exactly those of Evaluate called once per sample
    // inside its own guard; FormulaX keeps the last abscissa. Samples run in
    // blocks with one read of the fault flags per block, and a block whose
    // read shows a fault is evaluated again sample by sample through Evaluate.
    ORVALIS_CALLS_GENERATED_CODE void EvaluateSamples(const double* x, int count, double* values, bool* undefined) const;

    // FormulaX := x and the value there kept in the unit's extended
    // precision, for searches that compare values closer together than a
    // double tells apart (the top of a hump). False, with the unit reset,
    // where the formula is undefined: a fault, a value beyond the double
    // range, or nothing compiled. Raises nothing, so probing an undefined
    // point costs no more than a defined one.
    ORVALIS_CALLS_GENERATED_CODE bool EvaluateExtended(double x, long double& value) const;

    // Registers a variable. Raises Exception when the name is taken.
    void AddVariable(const std::string& name, double* address);

    int Position() const;
    const std::string& ErrorMessage() const { return ErrorMessage_; }
    // The name whose use made the compile fail (an unknown name, a function
    // without its parenthesis), or empty: what a hint about other notations
    // is looked up by.
    const std::string& ErrorName() const { return ErrorName_; }
    const TCommandList& CommandList() const;
    const TCode& CodeBuffer() const;

private:
    friend struct TRapidEvaluatorProbe;  // the scanner's tests drive the scanner
    // The symbol tables, the scanner, the parser, the command lists, the
    // generators and the code buffer, private to the library
    // (EvaluatorStages.h): an includer sees only the evaluator's face.
    struct TStages;

    using TEntryPoint = long double (*)();
    [[noreturn]] static void RaiseNothingCompiled();

    void GenerateCode();
    // What setting the formula resets: the list, Position, ErrorMessage,
    // ErrorName, Compiled.
    void Reset();

    // What Evaluate and EvaluateSamples read, first and held directly, so a
    // sample costs no step through the stages.
    TEntryPoint EntryPoint = nullptr;
    bool Compiled = false;
    bool AutoCompile_ = false;
    TCodeForm CodeForm_ = TCodeForm::Optimized;
    std::string Formula_;
    std::string ErrorMessage_;
    std::string ErrorName_;
    // Declared after Formula_, which the scanner reads.
    std::unique_ptr<TStages> Stages;
};
