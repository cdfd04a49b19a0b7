// Reading a curve against what it is measured by: the points of interest of
// a 2001-sample plot against that plot's sampling (a z drag pays for both),
// the curve's sound (3 s of PCM from the same samples) against that sampling
// too, and a CSV table of 10^6 rows against writing the same doubles with
// std::to_chars alone.
#include "RatioReport.h"

#include "plot/core/CurvePoints.h"
#include "plot/core/CurveSound.h"
#include "plot/core/ValueTable.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <charconv>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double Low = -10.0;
constexpr double High = 10.0;
constexpr double Z = 0.3;
const char* const PointFormulas[] = {"x^3-2*x", "sin(x)*exp(-x*x/20)"};
// The y extent the start-up window shows over -10..10.
constexpr double SoundYMin = -4.5;
constexpr double SoundYMax = 4.5;
const char SoundFormula[] = "sin(x)";

constexpr std::int64_t TableRowCount = 1'000'000;
// A formula that costs little beside the text, and one that costs about as
// much as the text (two transcendental functions a row).
const char* const TableFormulas[] = {"x^2", "sin(x)*exp(-x*x/20)"};
// Bytes handed on at once, as the file writer gets them.
constexpr std::size_t SinkBlock = 64 * 1024;

std::unique_ptr<TRapidEvaluator> Compiled(const char* formula)
{
    auto evaluator = std::make_unique<TRapidEvaluator>();
    evaluator->SetFormula(formula);
    evaluator->Compile();
    return evaluator;
}

void Sampling(benchmark::State& state, const char* formula)
{
    const auto evaluator = Compiled(formula);
    auto samples = std::make_unique<TSamples>();
    samples->SampleCount = MaxSampleCount;
    for (auto _ : state)
        benchmark::DoNotOptimize(SampleFormula(*evaluator, Low, High, Z, *samples));
}

void Points(benchmark::State& state, const char* formula)
{
    const auto evaluator = Compiled(formula);
    auto samples = std::make_unique<TSamples>();
    samples->SampleCount = MaxSampleCount;
    SampleFormula(*evaluator, Low, High, Z, *samples);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindPointsOfInterest(*evaluator, Low, High, Z, *samples).size());
}

// The PCM the window hands to the sound device when a key plays the curve:
// the samples and roots found beforehand, as the plot shown has them.
void Sound(benchmark::State& state, const char* formula)
{
    const auto evaluator = Compiled(formula);
    auto samples = std::make_unique<TSamples>();
    samples->SampleCount = MaxSampleCount;
    SampleFormula(*evaluator, Low, High, Z, *samples);
    TCurveSound sound;
    sound.Samples = samples.get();
    sound.Low = Low;
    sound.High = High;
    sound.YMin = SoundYMin;
    sound.YMax = SoundYMax;
    sound.Roots = RootPositions(FindPointsOfInterest(*evaluator, Low, High, Z, *samples));
    sound.Seconds = DefaultSoundSeconds;
    for (auto _ : state)
        benchmark::DoNotOptimize(CurveSoundPcm(sound).data());
}

TTableRange Range()
{
    return MakeTableRange(Low, High, (High - Low) / (TableRowCount - 1));
}

// The same x and y as the table, computed beforehand, written as "x,y\r\n"
// with std::to_chars into the same blocks: the text alone.
void ToCharsAlone(benchmark::State& state, const char* formula)
{
    const auto evaluator = Compiled(formula);
    const TTableRange range = Range();
    std::vector<TTableRow> rows(range.RowCount);
    TableRows(*evaluator, range, Z, false, 0, static_cast<std::int32_t>(range.RowCount), rows.data());
    std::string text;
    for (auto _ : state) {
        std::size_t bytes = 0;
        char number[32];
        for (const TTableRow& row : rows) {
            text.append(number, std::to_chars(number, number + sizeof number, row.X).ptr);
            text += ',';
            text.append(number, std::to_chars(number, number + sizeof number, row.Value).ptr);
            text += "\r\n";
            if (text.size() >= SinkBlock) {
                bytes += text.size();
                text.clear();
            }
        }
        benchmark::DoNotOptimize(bytes += text.size());
        text.clear();
    }
}

void CsvTable(benchmark::State& state, const char* formula)
{
    const auto evaluator = Compiled(formula);
    const TTableRange range = Range();
    for (auto _ : state) {
        std::size_t bytes = 0;
        WriteTableCsv(*evaluator, range, Z, false, [&](std::string_view block) { bytes += block.size(); });
        benchmark::DoNotOptimize(bytes);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    ResetFpu();
    for (const char* formula : PointFormulas) {
        benchmark::RegisterBenchmark((std::string("Points 2001 samples/Sampling/") + formula).c_str(), Sampling,
                                     formula);
        benchmark::RegisterBenchmark((std::string("Points 2001 samples/Points/") + formula).c_str(), Points, formula);
    }
    // One unit for both, so that the ratio compares like with like.
    benchmark::RegisterBenchmark((std::string("Sound 3 s of 2001 samples/Sampling/") + SoundFormula).c_str(),
                                 Sampling, SoundFormula)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("Sound 3 s of 2001 samples/PCM/") + SoundFormula).c_str(), Sound,
                                 SoundFormula)
        ->Unit(benchmark::kMicrosecond);
    for (const char* formula : TableFormulas) {
        const std::string name = std::string("/10^6 rows of ") + formula;
        benchmark::RegisterBenchmark(("CSV table/to_chars alone" + name).c_str(), ToCharsAlone, formula)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("CSV table/Table" + name).c_str(), CsvTable, formula)
            ->Unit(benchmark::kMillisecond);
    }
    return RunWithRatios(argc, argv, "Sampling", {{"CSV table", "to_chars alone"}});
}
