#pragma once
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// One line of the summary table that scripts/bench.sh gathers from every benchmark: what was measured,
// its figure, the baseline's, their ratio and the ratio it should stay under (0: for information).
// Tab-separated after a marker, so the script reads it whatever else the benchmark prints.
inline void PrintSummaryRow(const std::string& what, const std::string& figure, const std::string& baseline, double ratio,
                            double target)
{
    char t[32] = "-";
    if (target > 0) std::snprintf(t, sizeof t, "%.2f", target);
    std::printf("@row\t%s\t%s\t%s\t%.2f\t%s\n", what.c_str(), figure.c_str(), baseline.c_str(), ratio, t);
    std::fflush(stdout);
}

// The time a benchmark runs at least: `seconds`, or a moment when NORVELIA_BENCH_QUICK is set, which
// is enough to show that it builds and runs.
inline double MinSeconds(double seconds)
{
    const char* quick = std::getenv("NORVELIA_BENCH_QUICK");
    return quick && *quick && std::string(quick) != "0" ? 0.01 : seconds;
}

// Milliseconds with the precision a reader needs: 0.153 ms, 35.8 ms, 7700 ms.
inline std::string Milliseconds(double ms)
{
    char b[32];
    std::snprintf(b, sizeof b, ms < 1 ? "%.3f ms" : (ms < 100 ? "%.2f ms" : "%.0f ms"), ms);
    return b;
}

// Milliseconds since the timer started.
inline double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// The value a share p of the runs stay under (0.5: the median); 0 for no runs.
inline double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    if (v.empty()) return 0;
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5))];
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
