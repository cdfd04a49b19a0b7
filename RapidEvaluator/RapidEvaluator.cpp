// The evaluator component: construction, the Formula property, Compile (the
// stages in their order), variable registration and the evaluation faults.
#include "RapidEvaluator/RapidEvaluator.h"

#include "RapidEvaluator/EvaluatorStages.h"
#include "RapidEvaluator/InstructionSet.h"
#include "RapidEvaluator/Messages.h"

double FormulaX = 0.0;
double FormulaY = 0.0;
double FormulaZ = 0.0;

TRapidEvaluator::TStages::TStages(const std::string& formula)
    : Scanner(formula, Functions, Variables), Parser(Scanner),
      ItemByItem(HostEncoding(), HostPowerRoutine()), Optimized(HostPowerRoutine())
{
}

TCodeGenerator& TRapidEvaluator::TStages::Generator(TCodeForm form)
{
    if (&HostEncoding() == &X86_64Encoding && form == TCodeForm::Optimized)
        return Optimized;
    return ItemByItem;
}

TRapidEvaluator::TRapidEvaluator() : Stages(std::make_unique<TStages>(Formula_))
{
    AddBuiltInFunctions(Stages->Functions);
    AddVariable("x", &FormulaX);
    AddVariable("y", &FormulaY);
    AddVariable("z", &FormulaZ);
}

TRapidEvaluator::~TRapidEvaluator() = default;

int TRapidEvaluator::Position() const
{
    return Stages->Scanner.Position();
}

const TCommandList& TRapidEvaluator::CommandList() const
{
    return Stages->CommandList;
}

const TCode& TRapidEvaluator::CodeBuffer() const
{
    return Stages->CodeBuffer;
}

void TRapidEvaluator::Reset()
{
    Stages->CommandList.Clear();
    Stages->Scanner.Restart();
    ErrorMessage_.clear();
    ErrorName_.clear();
    Compiled = false;
}

void TRapidEvaluator::SetFormula(const std::string& value)
{
    std::string previous = std::move(Formula_);
    Formula_ = value;
    Reset();
    if (AutoCompile_) {
        try {
            Compile();
        } catch (...) {
            // Only the text goes back: Position and ErrorMessage tell of the rejected one.
            Formula_ = std::move(previous);
            throw;
        }
    }
}

// The scan goes on from Position, where SetFormula put it at the start.
void TRapidEvaluator::Compile()
{
    if (Compiled)
        return;
    try {
        Stages->Parser.Parse(Stages->CommandList);
        if (EntryPoint == nullptr || !(Stages->CommandList == Stages->GeneratedFrom))
            GenerateCode();
    } catch (const ESyntaxError& error) {
        ErrorMessage_ = error.Message();
        ErrorName_ = error.Name();
        throw;
    } catch (...) {
        // A number beyond the double range, or no memory for the code: no
        // half-built list stays behind (a syntax error has emptied it already).
        Stages->CommandList.Clear();
        throw;
    }
    Compiled = true;
}

void TRapidEvaluator::GenerateCode()
{
    // The old code is overwritten from the first byte on: until the new code
    // is sealed there is nothing to run.
    EntryPoint = nullptr;
    TCode& code = Stages->CodeBuffer;
    Stages->Generator(CodeForm_).Generate(Stages->CommandList, code);
    code.MakeExecutable();
    Stages->GeneratedFrom = Stages->CommandList;
    EntryPoint = reinterpret_cast<TEntryPoint>(const_cast<std::uint8_t*>(code.Buffer()));
}

void TRapidEvaluator::SetCodeForm(TCodeForm form)
{
    if (form == CodeForm_)
        return;
    CodeForm_ = form;
    // As after SetFormula, without compiling: the next Compile parses again
    // and generates the code in the new form.
    EntryPoint = nullptr;
    Reset();
}

void TRapidEvaluator::AddVariable(const std::string& name, double* address)
{
    if (Stages->Functions.Find(name) != nullptr)
        throw Exception(FormatMessage(Messages::FunctionExists, {name}));
    if (Stages->Variables.Find(name) != nullptr)
        throw Exception(FormatMessage(Messages::VariableExists, {name}));
    Stages->Variables.Add(std::make_unique<TExtPointer>(UpperCase(name), address));
}

void TRapidEvaluator::RaiseNothingCompiled()
{
    throw Exception("No formula has been compiled");
}

std::string CompileErrorReason(const TRapidEvaluator& evaluator, const std::exception& error)
{
    return evaluator.ErrorMessage().empty() ? std::string(error.what()) : evaluator.ErrorMessage();
}
