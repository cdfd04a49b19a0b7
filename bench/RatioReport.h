// Benchmark output with ratios: every benchmark is named Group/Implementation/Case,
// and after the usual table each group is printed again as the time of every
// implementation divided by the baseline's time for the same case, measured in
// the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Runs the registered benchmarks (command-line flags as Google Benchmark's)
// and prints, per group, the ratios against `baseline`, or against the
// implementation that `groupBaselines` names for that group.
int RunWithRatios(int argc, char** argv, const std::string& baseline,
                  const std::map<std::string, std::string>& groupBaselines = {});
