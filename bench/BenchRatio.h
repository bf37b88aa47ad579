// Runs the registered benchmarks and prints, for each pair (measured, baseline), how many times
// slower the measured one is than its baseline in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace BenchRatio {

struct Pair {
    std::string measured;
    std::string baseline;
    std::string label;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                realTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> realTimes;
};

inline int RunAndPrintRatios(int argc, char** argv, const std::vector<Pair>& pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    for (const auto& pair : pairs) {
        const auto m = reporter.realTimes.find(pair.measured);
        const auto b = reporter.realTimes.find(pair.baseline);
        if (m == reporter.realTimes.end() || b == reporter.realTimes.end() || b->second <= 0) {
            continue;
        }
        std::printf("ratio %-40s %8.2f  (%s / %s)\n", pair.label.c_str(), m->second / b->second,
                    pair.measured.c_str(), pair.baseline.c_str());
    }
    return 0;
}

} // namespace BenchRatio
