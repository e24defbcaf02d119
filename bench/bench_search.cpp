// The search, side by side with the bare text engine in one run: building the index against inserting
// the same texts into a plain FTS5 table, and answering a fixed list of queries (ranked hits, excerpts
// of the first 50, filter counts) against the bare MATCH of the same translated expressions; then the
// same at 10 and 100 times the content. An argument limits the sizes: "bench_search 1 10".
#include "BenchRow.h"
#include "search/SearchIndex.h"
#include "search/Thesaurus.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {
const char* const queries[] = {
    // words, inflections, accents
    "distanza", "distanze legali", "revoca amministratore", "amministratore revocato", "parti comuni",
    "servitù di passaggio", "servitu' di passaggio", "perche'", "sopraelevazione", "appalto", "responsabilità appaltatore",
    "vizi dell'opera", "concessione edilizia", "sanatoria", "abuso edilizio", "esproprio indennità", "indennità di esproprio",
    "parcella geometra", "compenso ingegnere", "assemblea condominiale", "delibera impugnazione", "regolamento di condominio",
    "tabelle millesimali", "lastrico solare", "muro di cinta", "vedute", "luci e vedute", "usucapione", "licenziamento",
    "infortunio sul lavoro", "piano regolatore", "vincolo paesaggistico", "oneri di urbanizzazione", "lottizzazione",
    "silenzio assenso", "ricorso per cassazione",
    // phrases, prefixes, exclusions, alternatives
    "\"parti comuni\"", "\"spese condominiali\"", "condomin*", "urbanist*", "appalto -pubblico", "distanze -muro",
    "vendita O locazione", "tetto OR lastrico", "\"piano regolatore\" variante",
    // citations and statutes
    "Cass. 10957/1996", "n. 7547 del 1999", "8460 1998", "TAR Lombardia 1998", "Cons. Stato sez. V", "sez. un.",
    "Trib. Milano", "Cass. pen. abuso", "Corte cost.", "art. 1117 cod. civ.", "art. 1102 c.c. uso", "legge 47/1985",
    "revoca amministratore Cass. 1998",
    // no maxim holds all words
    "amministratore revoca piscina", "tennis abuso edilizio sanatoria volo",
};
constexpr int QueryCount = int(sizeof(queries) / sizeof(queries[0]));
// Today's terms, which the thesaurus widens to the edition's (phrases, statutes, several terms).
const char* const expanding[] = {"SCIA", "permesso di costruire", "IMU", "procedura negoziata", "agibilità", "acquisizione sanante",
                                 "RUP", "PRG", "legge Merloni", "legge Bucalossi", "condono del 1985", "permesso di costruire abuso",
                                 "procedura ristretta O procedura aperta", "SCIA Cons. Stato"};

// A plain FTS5 table holding the same texts, as the engine takes them out of the box.
double bareBuild(const std::vector<MaximEntry>& entries, long long* memory)
{
    const long long before = sqlite3_memory_used();
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_exec(db, "CREATE VIRTUAL TABLE t USING fts5(text); BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t(rowid, text) VALUES(?, ?)", -1, &st, nullptr);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QByteArray u = entries[i].text.toUtf8();
        sqlite3_bind_int64(st, 1, sqlite3_int64(i) + 1);
        sqlite3_bind_text(st, 2, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double elapsed = ms(t);
    *memory = sqlite3_memory_used() - before;
    sqlite3_close(db);
    return elapsed;
}

void runSize(const std::vector<MaximEntry>& base, int times)
{
    const std::vector<MaximEntry> entries = MaximCorpus::enlarged(base, times);
    const bool quick = MinSeconds(1) < 1;
    const int rounds = quick ? 1 : (times == 1 ? 7 : (times == 10 ? 3 : 1));
    std::vector<double> bare, ours;
    long long bareMemory = 0, sqliteMemory = 0;
    std::unique_ptr<SearchIndex> index;
    for (int r = 0; r < rounds; ++r) {
        bare.push_back(bareBuild(entries, &bareMemory));
        index.reset();
        const long long sqliteBefore = sqlite3_memory_used();
        QElapsedTimer t;
        t.start();
        std::vector<MaximEntry> copy = entries;   // the index keeps its own list, as the program's does
        t.restart();
        index = std::make_unique<SearchIndex>(std::move(copy));
        ours.push_back(ms(t));
        sqliteMemory = sqlite3_memory_used() - sqliteBefore;
    }
    std::printf("\n== %d maxims (%dx)\n", int(entries.size()), times);
    // The best of the rounds: on a shared machine the other rounds measure the neighbours as well.
    const double best = *std::min_element(ours.begin(), ours.end()), bareBest = *std::min_element(bare.begin(), bare.end());
    std::printf("index build, best of %d: %.1f ms, bare FTS5 insert of the same texts: %.1f ms, ratio %.2f (target at most 2.0; "
                "under 100 ms at 1x); medians %.1f and %.1f ms\n",
                rounds, best, bareBest, best / bareBest, median(ours), median(bare));
    const std::string size = times == 1 ? std::string("the archives' ") + std::to_string(entries.size()) + " maxims"
                                        : std::to_string(times) + " times the maxims";
    PrintSummaryRow("search index build (best round), " + size + ", vs bare FTS5 insert", Milliseconds(best), Milliseconds(bareBest),
                    best / bareBest, 2.0);
    if (times == 1) PrintSummaryRow("search index build against its limit", Milliseconds(best), "100 ms limit", best / 100, 1.0);
    long long texts = 0;
    for (const MaximEntry& e : entries) texts += e.text.size() * 2;
    std::printf("index memory: %.1f MiB in SQLite (the bare table with its copy of the texts: %.1f MiB); the texts "
                "themselves, which the program holds anyway: %.1f MiB\n",
                double(sqliteMemory) / 1048576.0, double(bareMemory) / 1048576.0, double(texts) / 1048576.0);

    Stemmer stemmer;
    const int repeats = quick ? 1 : (times == 1 ? 21 : (times == 10 ? 7 : 3));
    // Each query timed from the typed text to the ranked hits, its 50 first excerpts and the counts, and
    // beside it the bare MATCH of the widest expression the search hands the engine for it.
    auto measure = [&](const char* const* list, int count, std::vector<double>& full, std::vector<double>& bareQuery,
                       std::vector<double>& fullWithWords) {
        int hits = 0;
        for (int q = 0; q < count; ++q) {
            const QString text = QString::fromUtf8(list[q]);
            ParsedQuery parsed = QueryTranslator::parse(text, index->places(), stemmer, &Thesaurus::shared());
            index->resolve(parsed);
            const std::string expr = QueryTranslator::expression(parsed, QueryTranslator::Reach::Related);
            std::vector<double> a, b;
            for (int r = 0; r < repeats; ++r) {
                QElapsedTimer t;
                t.start();
                const SearchIndex::Result res = index->search(text);
                for (std::size_t k = 0; k < res.hits.size() && k < 50; ++k) index->snippet(res.hits[k].id, res.query, true);
                a.push_back(ms(t));
                if (r == 0) hits += int(res.hits.size());
                if (!expr.empty()) {
                    t.restart();
                    index->bareMatch(expr);
                    b.push_back(ms(t));
                }
            }
            full.push_back(median(a));
            if (!b.empty()) {
                bareQuery.push_back(median(b));
                fullWithWords.push_back(median(a));
            }
        }
        return hits;
    };
    std::vector<double> full, bareQuery, fullWithWords;
    const int hits = measure(queries, QueryCount, full, bareQuery, fullWithWords);
    std::printf("queries: %d (%d with words), %d hits in all\n", QueryCount, int(fullWithWords.size()), hits);
    std::printf("query, typed text to ranked hits with 50 excerpts and filter counts: median %.3f ms, 95th percentile %.3f ms "
                "(targets at 1x: 1 ms and 5 ms; median at most 20 ms at 100x)\n",
                median(full), percentile(full, 0.95));
    std::printf("bare FTS5 MATCH of the same expressions: median %.3f ms; ratio of medians %.2f (target at most 3.0)\n",
                median(bareQuery), median(fullWithWords) / median(bareQuery));
    PrintSummaryRow("search query median, " + size + ", vs bare FTS5 MATCH", Milliseconds(median(fullWithWords)),
                    Milliseconds(median(bareQuery)), median(fullWithWords) / median(bareQuery), 3.0);
    if (times == 1) {
        PrintSummaryRow("search query median against its limit", Milliseconds(median(full)), "1 ms limit", median(full), 1.0);
        PrintSummaryRow("search query 95th percentile against its limit", Milliseconds(percentile(full, 0.95)), "5 ms limit",
                        percentile(full, 0.95) / 5, 1.0);
    } else if (times == 100) {
        PrintSummaryRow("search query median at 100 times against its limit", Milliseconds(median(full)), "20 ms limit",
                        median(full) / 20, 1.0);
    }
    std::vector<double> wide, wideBare, wideWithWords;
    const int wideHits = measure(expanding, int(std::size(expanding)), wide, wideBare, wideWithWords);
    std::printf("queries the thesaurus expands: %d, %d hits in all; median %.3f ms, 95th percentile %.3f ms; bare MATCH "
                "median %.3f ms, ratio %.2f (targets as above)\n",
                int(std::size(expanding)), wideHits, median(wide), percentile(wide, 0.95), median(wideBare),
                median(wideWithWords) / median(wideBare));
    PrintSummaryRow("search query median, " + size + ", thesaurus expanding, vs bare FTS5 MATCH", Milliseconds(median(wideWithWords)),
                    Milliseconds(median(wideBare)), median(wideWithWords) / median(wideBare), 3.0);
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
