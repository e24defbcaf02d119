#include "BenchSupport.h"
#include "BenchRow.h"
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include <cstdio>

namespace {
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> realNs;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                realNs[r.benchmark_name()] = r.GetAdjustedRealTime() * multiplier(r.time_unit);
    }
    static double multiplier(benchmark::TimeUnit u)
    {
        switch (u) {
        case benchmark::kNanosecond: return 1;
        case benchmark::kMicrosecond: return 1e3;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kSecond: return 1e9;
        }
        return 1;
    }
};
} // namespace

int RunWithRatios(int argc, char** argv, const std::vector<RatioPair>& pairs)
{
    benchmark::Initialize(&argc, argv);
    Collector c;
    benchmark::RunSpecifiedBenchmarks(&c);
    std::printf("\n");
    for (const RatioPair& p : pairs) {
        // A name with its arguments, as "BM_DirectBuild/10"; what the library appends after them
        // ("/min_time:1.000") does not count.
        auto find = [&c](const std::string& name) {
            for (auto& [k, v] : c.realNs)
                if (k == name || k.rfind(name + "/min_time", 0) == 0 || k.rfind(name + "/real_time", 0) == 0) return v;
            return -1.0;
        };
        const double m = find(p.measured), b = find(p.baseline);
        if (m < 0 || b <= 0) continue;
        PrintSummaryRow(p.label, Milliseconds(m / 1e6), Milliseconds(b / 1e6), m / b, p.target);
        if (p.target <= 0) {
            std::printf("%s: %.3f ms against %.3f ms, ratio %.2f\n", p.label.c_str(), m / 1e6, b / 1e6, m / b);
            continue;
        }
        std::printf("%s: %.3f ms against %.3f ms, ratio %.2f (target at most %.2f)%s\n", p.label.c_str(), m / 1e6, b / 1e6,
                    m / b, p.target, m / b <= p.target ? "" : "  ABOVE TARGET");
    }
    benchmark::Shutdown();
    return 0;
}

void InstallFullSizeData()
{
    const QByteArray filler =
        "Ai fini della decisione occorre aver riguardo alla funzione concreta del bene e al titolo che lo regola, "
        "sicché la valutazione del giudice di merito, se congruamente motivata, si sottrae al sindacato di "
        "legittimità; resta salva la prova contraria, che grava su chi intende far valere l'eccezione, e la "
        "disciplina transitoria dettata dalla legge speciale per i rapporti pendenti alla data della sua entrata "
        "in vigore, da interpretarsi in senso restrittivo. - (Cassazione civile, sez. II, 14 marzo 2000, n. 2932)";
    for (const ArchiveDefinition& a : Archives::all()) {
        const ParsedArchive real = ArchiveData::parse(ArchiveData::bytesFor(a.name()));
        QByteArray out;
        for (int t = 1; t <= a.topicCount; ++t) {
            if (a.topicMaxims(t) == 0) continue;
            out += "@topic " + QByteArray::number(t) + ' ' + a.topicTitle(t).toUtf8() + '\n';
            if (const ParsedTopic* p = real.topic(t)) {
                for (const QString& c : p->cells) out += (c.isEmpty() ? QByteArray("@empty") : c.toUtf8()) + '\n';
                continue;
            }
            for (int m = 1; m <= a.topicMaxims(t); ++m) out += QByteArray::number(m) + ". " + filler + '\n';
        }
        ArchiveData::setOverride(a.name(), out);
    }
}
