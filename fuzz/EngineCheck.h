#pragma once
// The text engine as the search index creates it, holding one row: a query expression the translator
// writes must be one it accepts, whatever was typed. A syntax error there means something unparsed
// reached the engine.
#include "search/SearchIndex.h"
#include <sqlite3.h>
#include <string>

inline void mustBeAccepted(const std::string& expression)
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        sqlite3_exec(d, SearchIndex::TableSql, nullptr, nullptr, nullptr);
        sqlite3_exec(d,
                     "INSERT INTO idx(rowid, exact, forma, norme) VALUES(1, 'distanze legali tra costruzioni concessione edilizia', "
                     "'distanz legal costruzion concession ediliz', 'ccx873 leggex47x1985');",
                     nullptr, nullptr, nullptr);
        return d;
    }();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT rowid FROM idx WHERE idx MATCH ?", -1, &st, nullptr) != SQLITE_OK) __builtin_trap();
    sqlite3_bind_text(st, 1, expression.data(), int(expression.size()), SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) __builtin_trap();
}
