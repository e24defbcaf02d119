// The thesaurus reader on arbitrary bytes: every group it keeps can be matched in a query, and the
// queries it expands still reach the text engine as an expression it accepts.
#include "search/QueryTranslator.h"
#include "search/TextFold.h"
#include "search/Thesaurus.h"
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
                        "INSERT INTO idx(rowid, exact, forma, norme) VALUES(1, 'concessione edilizia', 'concession ediliz', "
                        "'leggex47x1985');",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Stemmer stemmer;
    const ParsedThesaurus t = Thesaurus::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const ThesaurusGroup& g : t.groups) {
        if (g.today.empty() || g.edition.empty() || !g.date.isValid() || g.line < 1) __builtin_trap();
        for (const ThesaurusTerm& term : g.today)
            if (term.keys.empty()) __builtin_trap();   // a term of today no query could spell
    }
    // Each group's first term of today, typed as a query, expands into an expression the engine takes.
    for (std::size_t k = 0; k < t.groups.size() && k < 8; ++k) {
        const ParsedQuery q = QueryTranslator::parse(t.groups[k].today.front().text, {}, stemmer, &t);
        const std::string expr = QueryTranslator::expression(q);
        if (expr.empty()) continue;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(engine(), "SELECT rowid FROM idx WHERE idx MATCH ?", -1, &st, nullptr) != SQLITE_OK) __builtin_trap();
        sqlite3_bind_text(st, 1, expr.data(), int(expr.size()), SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) __builtin_trap();
    }
    return 0;
}
