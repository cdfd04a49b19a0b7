// Formula evaluation and compilation: the compiled x87 code against the same
// formulas written as C++ with long double (plain, and with the x87 functions
// inlined) and against the muparser byte-code interpreter, in one run.
#include "NativeFormulas.h"
#include "RatioReport.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <muParser.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TFormula {
    int Index;  // into the C++ versions of NativeFormulas.h
    const char* Text;
};

const TFormula Formulas[] = {
    {0, "x"},
    {1, "sin(x)*cos(x)+x^2"},
    {2, "x^3+3*x^2-2"},
    {3, "2*cos(10*x)*exp(-x*x/20)"},
    {4, "sqrt(sin(x))*cos(20*x*z)"},
    {5, "cos(x)+cos(2*x)+cos(4*x)+cos(6*x)"},
};

using TNative = long double (*)(int, long double, long double);

// x runs through (0.1, 3.1), where every formula above is defined.
constexpr double XLow = 0.1, XSpan = 3.0, Z = 0.5;
constexpr int SampleCount = 2000;

double NextX(double x) { return x + 0.0137 < XLow + XSpan ? x + 0.0137 : XLow; }

void EvaluateNative(benchmark::State& state, const TFormula& formula, TNative native)
{
    double x = XLow;
    const double z = Z;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        const double value = static_cast<double>(native(formula.Index, x, z));
        benchmark::DoNotOptimize(value);
        x = NextX(x);
    }
}

void EvaluateCompiled(benchmark::State& state, const TFormula& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula.Text);
    evaluator.Compile();
    FormulaX = XLow;
    FormulaZ = Z;
    for (auto _ : state) {
        const double value = evaluator.Evaluate();
        benchmark::DoNotOptimize(value);
        FormulaX = NextX(FormulaX);
    }
}

void EvaluateMuparser(benchmark::State& state, const TFormula& formula)
{
    double x = XLow, z = Z;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("z", &z);
    parser.SetExpr(formula.Text);
    for (auto _ : state) {
        const double value = parser.Eval();
        benchmark::DoNotOptimize(value);
        x = NextX(x);
    }
}

// The sampling of a plot: 2001 values of x, each sample guarded on its own.
void SampleNative(benchmark::State& state, const TFormula& formula, TNative native)
{
    std::vector<double> samples(SampleCount + 1);
    const double z = Z;
    for (auto _ : state) {
        for (int i = 0; i <= SampleCount; ++i) {
            const double x = XLow + XSpan * i / SampleCount;
            samples[i] = static_cast<double>(native(formula.Index, x, z));
        }
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}

// The plot's sampling loop: the abscissas computed, then EvaluateSamples.
void SampleCompiled(benchmark::State& state, const TFormula& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula.Text);
    evaluator.Compile();
    FormulaZ = Z;
    std::vector<double> x(SampleCount + 1), samples(SampleCount + 1);
    auto undefined = std::make_unique<bool[]>(SampleCount + 1);
    for (auto _ : state) {
        for (int i = 0; i <= SampleCount; ++i)
            x[i] = XLow + XSpan * i / SampleCount;
        evaluator.EvaluateSamples(x.data(), SampleCount + 1, samples.data(), undefined.get());
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}

// The same loop one guarded Evaluate per sample, as before the block path.
void SampleCompiledPerSample(benchmark::State& state, const TFormula& formula)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula.Text);
    evaluator.Compile();
    FormulaZ = Z;
    std::vector<double> samples(SampleCount + 1);
    std::vector<bool> undefined(SampleCount + 1);
    for (auto _ : state) {
        for (int i = 0; i <= SampleCount; ++i) {
            FormulaX = XLow + XSpan * i / SampleCount;
            try {
                samples[i] = evaluator.Evaluate();
                undefined[i] = false;
            } catch (...) {
                samples[i] = 0;
                undefined[i] = true;
            }
        }
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}

void SampleMuparser(benchmark::State& state, const TFormula& formula)
{
    double x = 0, z = Z;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("z", &z);
    parser.SetExpr(formula.Text);
    std::vector<double> samples(SampleCount + 1);
    for (auto _ : state) {
        for (int i = 0; i <= SampleCount; ++i) {
            x = XLow + XSpan * i / SampleCount;
            samples[i] = parser.Eval();
        }
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}

// Compiling: the formula text to runnable code (muparser: to its byte code,
// which it builds at the first evaluation). Each iteration compiles one of
// two texts that differ in their variables, so that every compile
// generates code; CompileAgain compiles one text over and over, as the main
// window does on every change of z.

// The formula with the variable x read as z: as long, another command list.
std::string Variant(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == 'x' && (i == 0 || !std::isalpha(static_cast<unsigned char>(text[i - 1]))))
            text[i] = 'z';
    return text;
}

void CompileCompiled(benchmark::State& state, const std::string& text)
{
    TRapidEvaluator evaluator;
    const std::string texts[2] = {text, Variant(text)};
    int which = 0;
    for (auto _ : state) {
        evaluator.SetFormula(texts[which ^= 1]);
        evaluator.Compile();
    }
    state.counters["bytes"] = evaluator.CodeBuffer().Size();
}

void CompileAgain(benchmark::State& state, const std::string& text)
{
    TRapidEvaluator evaluator;
    for (auto _ : state) {
        evaluator.SetFormula(text);
        evaluator.Compile();
    }
}

void CompileMuparser(benchmark::State& state, const std::string& text)
{
    double x = 1, z = Z;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("z", &z);
    const std::string texts[2] = {text, Variant(text)};
    int which = 0;
    try {
        for (auto _ : state) {
            parser.SetExpr(texts[which ^= 1]);
            benchmark::DoNotOptimize(parser.Eval());
        }
    } catch (const mu::ParserError& error) {
        state.SkipWithError(("muparser: " + error.GetMsg()).c_str());
    }
}

// What W^X cost each compile before the code memory was mapped twice: one
// page made writable, written, and made executable again.
void ProtectPair(benchmark::State& state)
{
    const long page = sysconf(_SC_PAGESIZE);
    void* block = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    for (auto _ : state) {
        mprotect(block, page, PROT_READ | PROT_WRITE);
        static_cast<volatile std::uint8_t*>(block)[0] = 0xC3;
        mprotect(block, page, PROT_READ | PROT_EXEC);
    }
    munmap(block, page);
}

std::string Chain(int characters)
{
    std::string text = "x";
    while (static_cast<int>(text.size()) + 2 <= characters)
        text += "+x";
    return text;
}

void Register()
{
    for (const TFormula& formula : Formulas) {
        const std::string name = formula.Text;
        benchmark::RegisterBenchmark(("Evaluate/Native/" + name).c_str(), EvaluateNative, formula, NativePlain::Formula);
        benchmark::RegisterBenchmark(("Evaluate/x87-inline/" + name).c_str(), EvaluateNative, formula,
                                     NativeInlineX87::Formula);
        benchmark::RegisterBenchmark(("Evaluate/Compiled/" + name).c_str(), EvaluateCompiled, formula);
        benchmark::RegisterBenchmark(("Evaluate/muparser/" + name).c_str(), EvaluateMuparser, formula);
        benchmark::RegisterBenchmark(("Sampling2001/Native/" + name).c_str(), SampleNative, formula, NativePlain::Formula);
        benchmark::RegisterBenchmark(("Sampling2001/x87-inline/" + name).c_str(), SampleNative, formula,
                                     NativeInlineX87::Formula);
        benchmark::RegisterBenchmark(("Sampling2001/Compiled/" + name).c_str(), SampleCompiled, formula);
        benchmark::RegisterBenchmark(("Sampling2001/PerSample/" + name).c_str(), SampleCompiledPerSample, formula);
        benchmark::RegisterBenchmark(("Sampling2001/muparser/" + name).c_str(), SampleMuparser, formula);
        benchmark::RegisterBenchmark(("Compile/Compiled/" + name).c_str(), CompileCompiled, name);
        benchmark::RegisterBenchmark(("Compile/muparser/" + name).c_str(), CompileMuparser, name);
    }
    // 20 tokens, and long chains to show that compiling is linear in the length.
    const std::string twenty = "sin(x)*cos(x)+x^2-3*z/2";
    benchmark::RegisterBenchmark(("Compile/Compiled/" + twenty + " (20 tokens)").c_str(), CompileCompiled, twenty);
    benchmark::RegisterBenchmark(("Compile/muparser/" + twenty + " (20 tokens)").c_str(), CompileMuparser, twenty);
    benchmark::RegisterBenchmark(("Compile/Compiled-again/" + twenty + " (20 tokens)").c_str(), CompileAgain, twenty);
    benchmark::RegisterBenchmark("Protect/mprotect/writable then executable", ProtectPair);
    for (int length : {1000, 10000, 100000}) {
        const std::string name = "x+x+...+x (" + std::to_string(length) + " characters)";
        benchmark::RegisterBenchmark(("Compile/Compiled/" + name).c_str(), CompileCompiled, Chain(length));
        benchmark::RegisterBenchmark(("Compile/muparser/" + name).c_str(), CompileMuparser, Chain(length));
    }
}

} // namespace

int main(int argc, char** argv)
{
    ResetFpu();
    Register();
    return RunWithRatios(argc, argv, "Native", {{"Compile", "muparser"}});
}
