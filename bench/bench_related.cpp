// The related maxims of a maxim, side by side with the text engine alone in one run: ranking the
// related maxims of a spread of maxims against the bare MATCH of the same maxims' word queries, at 1,
// 10 and 100 times the content; and what is made once per index (the statute lists) against the index
// build. An argument limits the sizes: "bench_related 1 100".
#include "BenchRow.h"
#include "search/RelatedMaxims.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {
void runSize(const std::vector<MaximEntry>& base, int times)
{
    QElapsedTimer t;
    t.start();
    SearchIndex index(MaximCorpus::enlarged(base, times));
    const double build = ms(t);
    t.restart();
    RelatedMaxims related(index);
    const double made = ms(t);
    std::printf("\n== %d maxims (%dx)\n", index.size(), times);
    std::printf("index build %.1f ms; the related maxims' own tables %.2f ms (%.1f%% of the build)\n", build, made,
                100.0 * made / build);

    // Maxims spread over every archive of the first copy, each asked a few times.
    const int sample = 60, repeats = MinSeconds(1) < 1 ? 1 : (times == 100 ? 3 : 5);
    std::vector<double> ours, bare, first;
    for (int k = 0; k < sample; ++k) {
        const int id = int(std::size_t(k) * base.size() / std::size_t(sample));
        const std::string words = related.wordsQuery(id);
        std::vector<double> a, b;
        for (int r = 0; r < repeats; ++r) {
            t.restart();
            const std::vector<RelatedMaxim> list = related.of(id);
            a.push_back(ms(t));
            if (list.empty()) std::printf("no related maxims for entry %d\n", id);
            t.restart();
            index.bareMatch(words);
            b.push_back(ms(t));
        }
        first.push_back(a.front());
        ours.push_back(median(a));
        bare.push_back(median(b));
    }
    std::printf("the 8 related maxims of a maxim: median %.3f ms, 95th percentile %.3f ms, first asking %.3f ms median "
                "(targets: median at most 5 ms at 1x, 50 ms at 100x)\n",
                median(ours), percentile(ours, 0.95), median(first));
    std::printf("bare FTS5 MATCH of the same word queries: median %.3f ms; ratio of medians %.2f\n", median(bare),
                median(ours) / median(bare));
    const std::string size = times == 1 ? std::string("the archives' maxims") : std::to_string(times) + " times the maxims";
    PrintSummaryRow("related maxims median, " + size + ", vs bare FTS5 MATCH of their words", Milliseconds(median(ours)),
                    Milliseconds(median(bare)), median(ours) / median(bare), 0);
    if (times == 1 || times == 100) {
        const double limit = times == 1 ? 5 : 50;
        PrintSummaryRow("related maxims median, " + size + ", against its limit", Milliseconds(median(ours)),
                        std::to_string(int(limit)) + " ms limit", median(ours) / limit, 1.0);
    }
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::max(1, std::atoi(argv[i])));
    if (sizes.empty()) sizes = {1, 10, 100};
    const std::vector<MaximEntry> base = MaximCorpus::load();
    for (int times : sizes) runSize(base, times);
    return 0;
}
