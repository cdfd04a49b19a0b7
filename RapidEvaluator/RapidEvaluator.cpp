// The evaluator component: construction, the Formula property, Compile,
// variable registration, compile errors and the evaluation faults.
#include "RapidEvaluator/RapidEvaluator.h"

#include "RapidEvaluator/CodeGenerator.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/Messages.h"
#include "numeric/FloatingPoint.h"

double FormulaX = 0.0;
double FormulaY = 0.0;
double FormulaZ = 0.0;

namespace {

// The template with each %s replaced, in order, by the next argument;
// arguments beyond the placeholders are ignored.
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string text;
    auto arg = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && arg != args.end()) {
            text += *arg++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace

TRapidEvaluator::TRapidEvaluator()
{
    AddBuiltInFunctions(Functions);
    AddVariable("x", &FormulaX);
    AddVariable("y", &FormulaY);
    AddVariable("z", &FormulaZ);
}

void TRapidEvaluator::SetFormula(const std::string& value)
{
    CommandList_.Clear();
    std::string previous = std::move(Formula_);
    Formula_ = value;
    Position_ = 1;
    ErrorMessage_.clear();
    Compiled = false;
    if (AutoCompile_) {
        try {
            Compile();
        } catch (...) {
            Formula_ = std::move(previous);
            throw;
        }
    }
}

void TRapidEvaluator::Compile()
{
    if (Compiled)
        return;
    try {
        Parse();
        if (EntryPoint == nullptr || !(CommandList_ == GeneratedFrom))
            GenerateCode();
    } catch (...) {
        // A number beyond the double range, or no memory for the code: no
        // half-built list stays behind (a syntax error has emptied it already).
        CommandList_.Clear();
        throw;
    }
    Compiled = true;
}

void TRapidEvaluator::GenerateCode()
{
    // The old code is overwritten from the first byte on: until the new code
    // is sealed there is nothing to run.
    EntryPoint = nullptr;
    if (&HostEncoding() == &X86_64Encoding && CodeForm_ == TCodeForm::Optimized)
        GenerateOptimizedCode(CommandList_, CodeBuffer_, HostPowerRoutine());
    else
        ::GenerateCode(CommandList_, CodeBuffer_, HostEncoding(), HostPowerRoutine());
    CodeBuffer_.MakeExecutable();
    GeneratedFrom = CommandList_;
    EntryPoint = reinterpret_cast<TEntryPoint>(const_cast<std::uint8_t*>(CodeBuffer_.Buffer()));
}

void TRapidEvaluator::SetCodeForm(TCodeForm form)
{
    if (form == CodeForm_)
        return;
    CodeForm_ = form;
    // As after SetFormula, without compiling: the next Compile parses again
    // and generates the code in the new form.
    EntryPoint = nullptr;
    CommandList_.Clear();
    Position_ = 1;
    ErrorMessage_.clear();
    Compiled = false;
}

void TRapidEvaluator::AddVariable(const std::string& name, double* address)
{
    if (Functions.Find(name) != nullptr)
        throw Exception(FormatMessage(Messages::FunctionExists, {name}));
    if (Variables.Find(name) != nullptr)
        throw Exception(FormatMessage(Messages::VariableExists, {name}));
    Variables.Add(std::make_unique<TExtPointer>(UpperCase(name), address));
}

void TRapidEvaluator::SyntaxError(std::string_view message, std::initializer_list<std::string_view> args)
{
    RaiseSyntaxError(FormatMessage(message, args));
}

void TRapidEvaluator::RaiseSyntaxError(const std::string& text)
{
    CommandList_.Clear();
    ErrorMessage_ = text;
    throw ESyntaxError(text);
}

void TRapidEvaluator::RaiseNothingCompiled()
{
    throw Exception("No formula has been compiled");
}

std::string CompileErrorReason(const TRapidEvaluator& evaluator, const std::exception& error)
{
    return evaluator.ErrorMessage().empty() ? std::string(error.what()) : evaluator.ErrorMessage();
}
