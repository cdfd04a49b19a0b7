// Timing of the number texts against the C library on the same values:
// FormatGeneral against snprintf("%.15Lg"), TextToNumber against strtold.
#include "RatioReport.h"

#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ValueCount = 1024;
constexpr int LabelPrecision = 15;
constexpr std::uint64_t Seed = 7;

struct TValueSet {
    const char* Name;
    std::vector<long double> Values;
};

// Values like those the program writes: tick labels, the x range, random doubles.
std::vector<TValueSet> ValueSets()
{
    std::mt19937_64 random(Seed);
    std::uniform_real_distribution<double> range(-10.0, 10.0);
    std::uniform_int_distribution<int> tick(-50, 50);
    std::uniform_int_distribution<int> exponent(-300, 300);
    TValueSet ticks{"Ticks", {}}, range10{"Range10", {}}, wide{"Wide", {}};
    for (int i = 0; i < ValueCount; ++i) {
        ticks.Values.push_back(tick(random) * 0.1L);
        range10.Values.push_back(range(random));
        wide.Values.push_back(static_cast<long double>(range(random)) * std::pow(10.0L, exponent(random)));
    }
    return {ticks, range10, wide};
}

void RegisterFormat(const TValueSet& set)
{
    const std::string name = set.Name;
    benchmark::RegisterBenchmark(("Format/snprintf/" + name).c_str(), [values = set.Values](benchmark::State& state) {
        char text[64];
        std::size_t i = 0;
        for (auto _ : state) {
            std::snprintf(text, sizeof text, "%.15Lg", values[i++ % values.size()]);
            benchmark::DoNotOptimize(text);
        }
    });
    benchmark::RegisterBenchmark(("Format/FormatGeneral/" + name).c_str(), [values = set.Values](benchmark::State& state) {
        std::size_t i = 0;
        for (auto _ : state)
            benchmark::DoNotOptimize(FormatGeneral(values[i++ % values.size()], LabelPrecision));
    });
}

void RegisterRead(const TValueSet& set)
{
    // The texts a user reads back: the same values written with 15 digits.
    std::vector<std::string> texts;
    for (long double value : set.Values)
        texts.push_back(FormatGeneral(value, LabelPrecision));
    const std::string name = set.Name;
    benchmark::RegisterBenchmark(("Read/strtold/" + name).c_str(), [texts](benchmark::State& state) {
        std::size_t i = 0;
        for (auto _ : state)
            benchmark::DoNotOptimize(std::strtold(texts[i++ % texts.size()].c_str(), nullptr));
    });
    benchmark::RegisterBenchmark(("Read/TextToNumber/" + name).c_str(), [texts](benchmark::State& state) {
        std::size_t i = 0;
        for (auto _ : state)
            benchmark::DoNotOptimize(TextToNumber(texts[i++ % texts.size()]));
    });
}

} // namespace

int main(int argc, char** argv)
{
    ResetFpu();
    for (const TValueSet& set : ValueSets()) {
        RegisterFormat(set);
        RegisterRead(set);
    }
    return RunWithRatios(argc, argv, "snprintf", {{"Read", "strtold"}});
}
