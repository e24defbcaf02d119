#pragma once
#include "BenchRow.h"
#include <QString>
#include <benchmark/benchmark.h>
#include <map>
#include <vector>

// Runs the registered benchmarks and, after them, prints each named pair's ratio against its baseline:
// the figure under test divided by the baseline measured in the same run.
struct RatioPair {
    std::string label;
    std::string measured;   // benchmark name
    std::string baseline;
    double target;          // the ratio the figure should stay under; 0 when the pair is for information
};
int RunWithRatios(int argc, char** argv, const std::vector<RatioPair>& pairs);

// Archive data of the real size for every archive: the compiled text where a topic exists, otherwise
// maxims of typical length written for the benchmark.
void InstallFullSizeData();
