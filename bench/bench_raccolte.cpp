// The raccolte store beside bare SQLite on the same file settings (WAL, every commit synchronous):
// adding one maxim, moving one maxim in a raccolta of 500 (against every position rewritten), and loading
// the 500. Each figure is the median of its runs; the ratio is the store's against the bare one
// measured in the same run.
#include "BenchRow.h"
#include "raccolte/RaccolteStore.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {
MaximRef maxim(int n)
{
    return MaximRef{QStringLiteral("condominio"), 1 + n % 36, 1 + n % 100,
                    QStringLiteral("L'assemblea del condominio delibera a maggioranza sulle innovazioni dirette al miglioramento o "
                                   "all'uso più comodo o al maggior rendimento delle cose comuni, numero %1. - (Cassazione civile, "
                                   "sez. II, 16 luglio 1999, n. %2)")
                        .arg(n)
                        .arg(1000 + n)};
}

// The same table as the store's, written and read with nothing around it.
struct Bare {
    sqlite3* db = nullptr;
    explicit Bare(const QString& path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;"
                         "CREATE TABLE voce(id INTEGER PRIMARY KEY, raccolta INTEGER, position INTEGER, archive TEXT, topic INTEGER,"
                         " maxim INTEGER, citation TEXT, opening TEXT, text TEXT, note TEXT);"
                         "CREATE INDEX voce_order ON voce(raccolta, position);",
                     nullptr, nullptr, nullptr);
    }
    ~Bare() { sqlite3_close(db); }
    void insert(int n, int position)
    {
        const MaximRef m = maxim(n);
        const QByteArray text = m.text.toUtf8(), opening = RaccolteStore::openingOf(m.text).toUtf8();
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO voce(raccolta, position, archive, topic, maxim, citation, opening, text, note) "
                               "VALUES(1, ?, 'condominio', ?, ?, 'c', ?, ?, '')", -1, &s, nullptr);
        sqlite3_bind_int(s, 1, position);
        sqlite3_bind_int(s, 2, m.topic);
        sqlite3_bind_int(s, 3, m.maxim);
        sqlite3_bind_text(s, 4, opening.constData(), int(opening.size()), SQLITE_STATIC);
        sqlite3_bind_text(s, 5, text.constData(), int(text.size()), SQLITE_STATIC);
        sqlite3_step(s);
        sqlite3_finalize(s);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    void renumber(int shift)
    {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "UPDATE voce SET position = ? WHERE id = ?", -1, &s, nullptr);
        for (int i = 1; i <= 500; ++i) {
            sqlite3_bind_int(s, 1, (i + shift) % 500);
            sqlite3_bind_int(s, 2, i);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    std::size_t load()
    {
        std::vector<std::vector<QString>> rows;
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, position, archive, topic, maxim, citation, opening, text, note FROM voce "
                               "WHERE raccolta = 1 ORDER BY position, id", -1, &s, nullptr);
        // Every column read as the store reads it: numbers as numbers, texts as Qt strings.
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::vector<QString> row;
            row.reserve(9);
            for (int c = 0; c < 9; ++c)
                row.push_back(sqlite3_column_type(s, c) == SQLITE_INTEGER
                                  ? QString::number(sqlite3_column_int64(s, c))
                                  : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c)), sqlite3_column_bytes(s, c)));
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(s);
        return rows.size();
    }
};

// Each figure twice in the table: beside bare SQLite, for information, and against the 5 ms it must stay
// under.
void report(const char* what, double store, double bare)
{
    std::printf("%-34s store %8.3f ms   bare SQLite %8.3f ms   ratio %5.2f\n", what, store, bare, bare > 0 ? store / bare : 0.0);
    PrintSummaryRow(std::string("raccolte: ") + what + ", vs bare SQLite", Milliseconds(store), Milliseconds(bare),
                    bare > 0 ? store / bare : 0.0, 0);
    PrintSummaryRow(std::string("raccolte: ") + what + ", against its limit", Milliseconds(store), "5 ms limit", store / 5, 1.0);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-raccolte-XXXXXX"));   // on the disk, not in memory
    RaccolteStore store;
    store.open(dir.filePath(QStringLiteral("raccolte.sqlite")));
    Bare bare(dir.filePath(QStringLiteral("bare.sqlite")));
    const long long id = store.create(QStringLiteral("Prova")).value;

    std::vector<double> addStore, addBare;
    for (int n = 0; n < 500; ++n) {
        QElapsedTimer t;
        t.start();
        store.add(id, {maxim(n)});
        addStore.push_back(ms(t));
        t.restart();
        bare.insert(n, n);
        addBare.push_back(ms(t));
    }
    report("add one maxim (median of 500)", median(addStore), median(addBare));

    const auto items = store.maxims(id).value;
    std::vector<double> moveStore, moveBare;
    for (int k = 0; k < 50; ++k) {
        const long long first = store.maxims(id).value.front().id;
        QElapsedTimer t;
        t.start();
        store.move(first, 499);   // the first to the end
        moveStore.push_back(ms(t));
        t.restart();
        bare.renumber(k + 1);
        moveBare.push_back(ms(t));
    }
    report("reorder a raccolta of 500", median(moveStore), median(moveBare));

    std::vector<double> loadStore, loadBare;
    std::size_t loaded = 0;
    for (int k = 0; k < 50; ++k) {
        QElapsedTimer t;
        t.start();
        loaded += store.maxims(id).value.size();
        loadStore.push_back(ms(t));
        t.restart();
        loaded += bare.load();
        loadBare.push_back(ms(t));
    }
    report("load a raccolta of 500", median(loadStore), median(loadBare));
    std::printf("(%zu maxims in the raccolta, %zu rows loaded)\n", items.size(), loaded);
    return 0;
}
