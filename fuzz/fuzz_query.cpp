// The query translator on arbitrary text: whatever is typed, the expression handed to the text engine
// is one it accepts, and a query never grows past the limits the translator sets.
#include "search/QueryTranslator.h"
#include "search/TextFold.h"
#include <cstddef>
#include <cstdint>
#include <sqlite3.h>

namespace {
sqlite3* engine()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        sqlite3_exec(d, "CREATE VIRTUAL TABLE idx USING fts5(exact, forma, norme, tokenize='ascii', content='');"
                        "INSERT INTO idx(rowid, exact, forma, norme) VALUES(1, 'distanze legali tra costruzioni', "
                        "'distanz legal costruzion', 'ccx873');",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Stemmer stemmer;
    static const std::vector<QString> places{QStringLiteral("milano"), QStringLiteral("emilia romagna")};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedQuery q = QueryTranslator::parse(text, places, stemmer);
    int terms = int(q.excluded.size());
    for (const QueryGroup& g : q.groups) terms += int(g.alternatives.size());
    if (terms > QueryTranslator::MaxTerms) __builtin_trap();
    const std::string expr = QueryTranslator::expression(q);
    if (expr.empty()) return 0;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(engine(), "SELECT rowid FROM idx WHERE idx MATCH ?", -1, &st, nullptr) != SQLITE_OK) __builtin_trap();
    sqlite3_bind_text(st, 1, expr.data(), int(expr.size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) __builtin_trap();   // a syntax error: something unparsed reached the engine
    return 0;
}
