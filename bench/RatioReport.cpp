// A console reporter that keeps each benchmark's CPU time and prints ratio tables.
#include "RatioReport.h"

#include <cstdio>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace {

struct TName {
    std::string Group, Implementation, Case;
};

TName Split(const std::string& name)
{
    const auto first = name.find('/');
    const auto second = first == std::string::npos ? std::string::npos : name.find('/', first + 1);
    if (second == std::string::npos)
        return {name, "", ""};
    return {name.substr(0, first), name.substr(first + 1, second - first - 1), name.substr(second + 1)};
}

// A run that failed: Google Benchmark 1.8 replaced the flag error_occurred
// by the state skipped, which also covers runs skipped on purpose.
template <class TRun>
bool Failed(const TRun& run)
{
    if constexpr (requires { run.error_occurred; })
        return run.error_occurred;
    else
        return run.skipped != 0;
}

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that saved output stays plain text.
    TRatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (Failed(run))
                continue;
            // With repetitions the median stands for the benchmark; without, the one run.
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median")
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            if (aggregate || !Times.count(name) || !HasMedian[name])
                Times[name] = run.GetAdjustedCPUTime();
            HasMedian[name] = HasMedian[name] || aggregate;
        }
    }

    std::map<std::string, double> Times;
    std::map<std::string, bool> HasMedian;
};

} // namespace

int RunWithRatios(int argc, char** argv, const std::string& baseline,
                  const std::map<std::string, std::string>& groupBaselines)
{
    auto baselineOf = [&](const std::string& group) -> const std::string& {
        const auto it = groupBaselines.find(group);
        return it == groupBaselines.end() ? baseline : it->second;
    };
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // group → case → implementation → time
    std::map<std::string, std::map<std::string, std::map<std::string, double>>> table;
    std::map<std::string, std::vector<std::string>> implementations;
    for (const auto& [name, time] : reporter.Times) {
        const TName parts = Split(name);
        table[parts.Group][parts.Case][parts.Implementation] = time;
        auto& list = implementations[parts.Group];
        if (parts.Implementation != baselineOf(parts.Group) && std::find(list.begin(), list.end(), parts.Implementation) == list.end())
            list.push_back(parts.Implementation);
    }
    for (const auto& [group, cases] : table) {
        const std::string& groupBaseline = baselineOf(group);
        std::printf("\n%s: time relative to %s (same run; lower is faster)\n", group.c_str(), groupBaseline.c_str());
        std::printf("  %-42s", "case");
        for (const auto& implementation : implementations[group])
            std::printf(" %12s", implementation.c_str());
        std::printf("\n");
        for (const auto& [name, times] : cases) {
            const auto base = times.find(groupBaseline);
            if (base == times.end() || base->second <= 0)
                continue;
            std::printf("  %-42s", name.c_str());
            for (const auto& implementation : implementations[group]) {
                const auto it = times.find(implementation);
                if (it == times.end())
                    std::printf(" %12s", "-");
                else
                    std::printf(" %11.2fx", it->second / base->second);
            }
            std::printf("\n");
        }
    }
    benchmark::Shutdown();
    return 0;
}
