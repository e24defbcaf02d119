// The raccolte without windows: the store and its faults, the citation's short form, and finding a
// stored maxim in an edition that moved or dropped it.
#include "raccolte/MaximLocator.h"
#include "raccolte/RaccolteStore.h"
#include "raccolte/ShortCitation.h"
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
MaximRef maxim(int n, const QString& archive = QStringLiteral("condominio"))
{
    return MaximRef{archive, 1 + n / 100, 1 + n % 100,
                    QStringLiteral("Massima numero %1 sulle parti comuni. - (Cassazione civile, sez. II, 16 luglio 1999, n. %2)")
                        .arg(n)
                        .arg(7000 + n)};
}

QStringList texts(const std::vector<StoredMaxim>& list)
{
    QStringList out;
    for (const StoredMaxim& m : list) out << m.text.section(QLatin1Char(' '), 2, 2);
    return out;
}

// Runs one statement on a file through SQLite itself, as another program would.
QString sqlOn(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    QString out;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK) {
        while (sqlite3_step(s) == SQLITE_ROW) {
            if (!out.isEmpty()) out += QLatin1Char('|');
            out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        }
    } else {
        out = QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}
} // namespace

class TestRaccolte : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void shortForm_data()
    {
        QTest::addColumn<QString>("citation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("civil section") << "Cassazione civile, sez. II, 16 luglio 1999, n. 7547" << "Cass. civ., sez. II, 16 luglio 1999, n. 7547";
        QTest::newRow("civil no section") << "Cassazione civile, 9 giugno 1988, n. 3905" << "Cass. civ., 9 giugno 1988, n. 3905";
        QTest::newRow("civil no number") << "Cassazione civile, 9 giugno 1988" << "Cass. civ., 9 giugno 1988";
        QTest::newRow("labour section") << "Cassazione civile, sez. lav., 3 marzo 1997, n. 1876" << "Cass. civ., sez. lav., 3 marzo 1997, n. 1876";
        QTest::newRow("united sections") << "Cassazione civile, sez. un., 8 aprile 2008, n. 9148" << "Cass. sez. un., 8 aprile 2008, n. 9148";
        QTest::newRow("penal") << "Cassazione penale, sez. III, 5 maggio 1998, n. 2233" << "Cass. pen., sez. III, 5 maggio 1998, n. 2233";
        QTest::newRow("penal united") << "Cassazione penale, sez. un., 12 novembre 1993, n. 11635" << "Cass. pen., sez. un., 12 novembre 1993, n. 11635";
        QTest::newRow("council of state") << "Consiglio di Stato, sez. V, 1 febbraio 1995, n. 161" << "Cons. Stato, sez. V, 1 febbraio 1995, n. 161";
        QTest::newRow("plenary") << "Consiglio di Stato, Ad. plen., 7 aprile 1993, n. 4" << "Cons. Stato, Ad. plen., 7 aprile 1993, n. 4";
        QTest::newRow("tar") << "TAR Lombardia, 22 ottobre 1996, n. 1468" << "T.A.R. Lombardia, 22 ottobre 1996, n. 1468";
        QTest::newRow("tar two words, section") << "TAR Emilia Romagna, sez. II, 4 luglio 1994, n. 340" << "T.A.R. Emilia Romagna, sez. II, 4 luglio 1994, n. 340";
        QTest::newRow("tribunal") << "Tribunale di Milano, 4 ottobre 1993" << "Trib. Milano, 4 ottobre 1993";
        QTest::newRow("appeal") << "Corte d'appello di Roma, 11 gennaio 1994, n. 52" << "App. Roma, 11 gennaio 1994, n. 52";
        QTest::newRow("pretura") << "Pretura di Napoli, 8 febbraio 1996" << "Pret. Napoli, 8 febbraio 1996";
        QTest::newRow("constitutional") << "Corte costituzionale, 19 gennaio 1989, n. 7" << "Corte cost., 19 gennaio 1989, n. 7";
        QTest::newRow("audit court") << "Corte dei conti, 12 dicembre 1991, n. 310" << "Corte conti, 12 dicembre 1991, n. 310";
    }
    void shortForm()
    {
        QFETCH(QString, citation);
        QFETCH(QString, expected);
        const auto c = Citations::parse(citation);
        QVERIFY(c);
        QCOMPARE(ShortCitation::of(*c), expected);
    }

    // Every citation of the edition has a short form that starts with a known abbreviation and keeps
    // the date and the number.
    void everyCitationOfTheArchivesShortens()
    {
        static const QStringList known = {QStringLiteral("Cass. civ."), QStringLiteral("Cass. pen."), QStringLiteral("Cass. sez. un."),
                                          QStringLiteral("Cons. Stato"), QStringLiteral("T.A.R. "), QStringLiteral("Trib. "),
                                          QStringLiteral("App. "), QStringLiteral("Pret. "), QStringLiteral("Corte cost."),
                                          QStringLiteral("Corte conti")};
        int checked = 0;
        for (const MaximEntry& e : MaximCorpus::load()) {
            if (!e.cited) continue;
            const QString s = ShortCitation::of(e.citation);
            QVERIFY2(std::any_of(known.begin(), known.end(), [&](const QString& k) { return s.startsWith(k); }), qPrintable(s));
            QVERIFY2(s.contains(QString::number(e.citation.year)), qPrintable(s));
            if (e.citation.number) QVERIFY2(s.endsWith(QStringLiteral(", n. %1").arg(e.citation.number)), qPrintable(s));
            ++checked;
        }
        QVERIFY(checked > 2000);
    }

    void quote_data()
    {
        QTest::addColumn<QString>("maxim");
        QTest::addColumn<bool>("shortForm");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("html");
        const QString m = QStringLiteral("L'assemblea <delibera> a maggioranza. - (Cassazione civile, sez. II, 16 luglio 1999, n. 7547)");
        QTest::newRow("short") << m << true << "«L'assemblea <delibera> a maggioranza.» (Cass. civ., sez. II, 16 luglio 1999, n. 7547)"
                               << "<p>«L'assemblea &lt;delibera&gt; a maggioranza.» (Cass. civ., sez. II, 16 luglio 1999, n. 7547)</p>";
        QTest::newRow("long") << m << false << "«L'assemblea <delibera> a maggioranza.» (Cassazione civile, sez. II, 16 luglio 1999, n. 7547)"
                              << "<p>«L'assemblea &lt;delibera&gt; a maggioranza.» (Cassazione civile, sez. II, 16 luglio 1999, n. 7547)</p>";
        QTest::newRow("unreadable citation kept") << "Testo. - (Giudice di pace di Lodi, 2 marzo 2001)" << true
                                                  << "«Testo.» (Giudice di pace di Lodi, 2 marzo 2001)" << "<p>«Testo.» (Giudice di pace di Lodi, 2 marzo 2001)</p>";
        QTest::newRow("no citation") << "Solo testo." << true << "«Solo testo.»" << "<p>«Solo testo.»</p>";
    }
    void quote()
    {
        QFETCH(QString, maxim);
        QFETCH(bool, shortForm);
        QFETCH(QString, plain);
        QFETCH(QString, html);
        const auto form = shortForm ? ShortCitation::Form::Short : ShortCitation::Form::Long;
        QCOMPARE(ShortCitation::quote(maxim, form), plain);
        QCOMPARE(ShortCitation::quoteHtml(maxim, form), html);
    }

    void changesSurviveReopening()
    {
        const QString path = file("reopen.sqlite");
        {
            RaccolteStore s;
            const auto report = s.open(path);
            QVERIFY2(report.state == RaccolteStore::State::Ready, qPrintable(report.reason));
            const auto id = s.create(QStringLiteral("Causa Rossi"));
            QVERIFY(id.ok());
            const auto added = s.add(id.value, {maxim(1), maxim(2), maxim(3)}, QStringLiteral("vedi memoria"));
            QCOMPARE(added.value.added, 3);
            QVERIFY(!s.move(added.value.ids[2], 0));
            QVERIFY(!s.setNote(added.value.ids[1], QStringLiteral("decisiva")));
            QVERIFY(!s.create(QStringLiteral("Causa Bianchi")).error);
        }
        RaccolteStore s;
        QCOMPARE(s.open(path).state, RaccolteStore::State::Ready);
        const auto list = s.raccolte().value;
        QCOMPARE(list.size(), std::size_t(2));
        QCOMPARE(list[0].name, QStringLiteral("Causa Bianchi"));
        QCOMPARE(list[1].count, 3);
        const auto items = s.maxims(list[1].id).value;
        QCOMPARE(texts(items), QStringList({"3", "1", "2"}));
        QCOMPARE(items[2].note, QStringLiteral("decisiva"));
        QCOMPARE(items[0].note, QStringLiteral("vedi memoria"));
        QCOMPARE(items[0].citation, QStringLiteral("Cassazione civile, sez. II, 16 luglio 1999, n. 7003"));
        QCOMPARE(s.lastUsed().value->name, QStringLiteral("Causa Bianchi"));
        QCOMPARE(sqlOn(path, "PRAGMA journal_mode"), QStringLiteral("wal"));
        QCOMPARE(sqlOn(path, "PRAGMA user_version"), QString::number(RaccolteStore::SchemaVersion));
    }

    void names_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("fault");
        QTest::newRow("same name") << "Causa Rossi" << int(RaccolteFault::NameTaken);
        QTest::newRow("other case, blanks") << "  causa   rossi " << int(RaccolteFault::NameTaken);
        QTest::newRow("empty") << "   " << int(RaccolteFault::NameEmpty);
        QTest::newRow("another") << "Causa Verdi" << int(RaccolteFault::None);
    }
    void names()
    {
        QFETCH(QString, second);
        QFETCH(int, fault);
        for (const bool renaming : {false, true}) {
            RaccolteStore s;
            s.open(file(QTest::currentDataTag()) + (renaming ? QStringLiteral("-r") : QString()));
            QVERIFY(s.create(QStringLiteral("Causa Rossi")).ok());
            if (renaming) QCOMPARE(int(s.rename(s.create(QStringLiteral("Altra")).value, second).fault), fault);
            else QCOMPARE(int(s.create(second).error.fault), fault);
        }
        QVERIFY(!Raccolte::message({RaccolteFault(fault), second}).isEmpty() || fault == int(RaccolteFault::None));
    }

    void addingTwiceKeepsOne()
    {
        RaccolteStore s;
        s.open(file("twice.sqlite"));
        const auto id = s.create(QStringLiteral("R")).value;
        QCOMPARE(s.add(id, {maxim(1), maxim(2)}).value.added, 2);
        MaximRef moved = maxim(2);
        moved.topic = 30;   // the same maxim, moved by a later edition
        const auto again = s.add(id, {maxim(1), moved, maxim(3)});
        QCOMPARE(again.value.added, 1);
        QCOMPARE(again.value.already, 2);
        QCOMPARE(texts(s.maxims(id).value), QStringList({"1", "2", "3"}));
    }

    void removeAndUndo_data()
    {
        QTest::addColumn<int>("removed");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 2;
        QTest::newRow("last") << 4;
    }
    void removeAndUndo()
    {
        QFETCH(int, removed);
        RaccolteStore s;
        s.open(file(QTest::currentDataTag()));
        const auto id = s.create(QStringLiteral("R")).value;
        s.add(id, {maxim(0), maxim(1), maxim(2), maxim(3), maxim(4)});
        StoredMaxim gone = s.maxims(id).value[std::size_t(removed)];
        QVERIFY(!s.setNote(gone.id, QStringLiteral("nota")));
        gone.note = QStringLiteral("nota");
        QVERIFY(!s.removeMaxim(gone.id));
        QCOMPARE(s.maxims(id).value.size(), std::size_t(4));
        QVERIFY(s.restore(gone).ok());
        const auto back = s.maxims(id).value;
        QCOMPARE(texts(back), QStringList({"0", "1", "2", "3", "4"}));
        QCOMPARE(back[std::size_t(removed)].note, QStringLiteral("nota"));
    }

    void move_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("down one") << 0 << 1 << QStringList{"1", "0", "2", "3"};
        QTest::newRow("up one") << 3 << 2 << QStringList{"0", "1", "3", "2"};
        QTest::newRow("to the end") << 0 << 3 << QStringList{"1", "2", "3", "0"};
        QTest::newRow("past the end") << 1 << 99 << QStringList{"0", "2", "3", "1"};
        QTest::newRow("before the start") << 2 << -5 << QStringList{"2", "0", "1", "3"};
        QTest::newRow("in place") << 2 << 2 << QStringList{"0", "1", "2", "3"};
    }
    void move()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, expected);
        RaccolteStore s;
        s.open(file(QTest::currentDataTag()));
        const auto id = s.create(QStringLiteral("R")).value;
        const auto ids = s.add(id, {maxim(0), maxim(1), maxim(2), maxim(3)}).value.ids;
        QVERIFY(!s.move(ids[std::size_t(from)], to));
        QCOMPARE(texts(s.maxims(id).value), expected);
    }

    // Moves into the same gap again and again run out of room between two positions; the order stays
    // the one the user made.
    void manyMovesKeepTheOrder()
    {
        RaccolteStore s;
        s.open(file("many-moves.sqlite"));
        const auto id = s.create(QStringLiteral("R")).value;
        const auto ids = s.add(id, {maxim(0), maxim(1), maxim(2), maxim(3), maxim(4)}).value.ids;
        QStringList expected{"0", "1", "2", "3", "4"};
        for (int k = 0; k < 40; ++k) {
            const int from = k % 2 ? 4 : 3, to = 1 + k % 2;
            const auto now = s.maxims(id).value;
            QVERIFY(!s.move(now[std::size_t(from)].id, to));
            expected.move(from, to);
            QCOMPARE(texts(s.maxims(id).value), expected);
        }
        StoredMaxim gone = s.maxims(id).value[2];
        QVERIFY(!s.removeMaxim(gone.id));
        QVERIFY(s.restore(gone).ok());
        QCOMPARE(texts(s.maxims(id).value), expected);
        QCOMPARE(ids.size(), std::size_t(5));
    }

    void deletingARaccoltaTakesItsMaxims()
    {
        const QString path = file("cascade.sqlite");
        RaccolteStore s;
        s.open(path);
        const auto a = s.create(QStringLiteral("A")).value;
        const auto b = s.create(QStringLiteral("B")).value;
        s.add(a, {maxim(1), maxim(2)});
        s.add(b, {maxim(1)});
        QVERIFY(!s.remove(a));
        QCOMPARE(sqlOn(path, "SELECT count(*) FROM voce"), QStringLiteral("1"));
        QCOMPARE(int(s.add(a, {maxim(3)}).error.fault), int(RaccolteFault::NotFound));
    }

    void recentSearches()
    {
        RaccolteStore s;
        s.open(file("recent.sqlite"));
        for (int i = 1; i <= 25; ++i) QVERIFY(!s.rememberSearch(QStringLiteral("ricerca %1").arg(i)));
        QVERIFY(!s.rememberSearch(QStringLiteral("  ricerca   10 ")));
        QVERIFY(!s.rememberSearch(QStringLiteral("   ")));
        const auto r = s.recentSearches().value;
        QCOMPARE(int(r.size()), RaccolteStore::RecentLimit);
        QCOMPARE(r[0], QStringLiteral("ricerca 10"));
        QCOMPARE(r[1], QStringLiteral("ricerca 25"));
        QCOMPARE(r.back(), QStringLiteral("ricerca 6"));
    }

    // A file written by the first version, with the raccolte and no recent searches, is brought up
    // to date and keeps what it held.
    void migratesTheFirstVersion()
    {
        const QString path = file("v1.sqlite");
        sqlOn(path, "CREATE TABLE raccolta(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE, used INTEGER NOT NULL DEFAULT 0)");
        sqlOn(path, "CREATE TABLE voce(id INTEGER PRIMARY KEY, raccolta INTEGER NOT NULL REFERENCES raccolta(id) ON DELETE CASCADE,"
                    " position INTEGER NOT NULL, archive TEXT NOT NULL, topic INTEGER NOT NULL, maxim INTEGER NOT NULL,"
                    " citation TEXT NOT NULL, opening TEXT NOT NULL, text TEXT NOT NULL, note TEXT NOT NULL DEFAULT '',"
                    " UNIQUE(raccolta, citation, opening))");
        sqlOn(path, "INSERT INTO raccolta VALUES(1, 'Vecchia', 1)");
        sqlOn(path, "INSERT INTO voce VALUES(1, 1, 0, 'enti', 2, 3, 'Corte dei conti, 1 marzo 1990', 'Testo', 'Testo - (Corte dei conti, 1 marzo 1990)', 'mia')");
        sqlOn(path, "PRAGMA user_version=1");
        RaccolteStore s;
        QCOMPARE(s.open(path).state, RaccolteStore::State::Ready);
        QCOMPARE(sqlOn(path, "PRAGMA user_version"), QString::number(RaccolteStore::SchemaVersion));
        QCOMPARE(s.maxims(1).value.at(0).note, QStringLiteral("mia"));
        QVERIFY(!s.rememberSearch(QStringLiteral("distanze")));
    }

    void damagedFileIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("questo non è un database\n").repeated(200);
        QByteArray header("SQLite format 3");
        header.append('\0');
        QTest::newRow("header then garbage") << header + QByteArray(8192, '\x5a');
    }
    void damagedFileIsSetAside()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir d;
        const QString path = d.filePath(QStringLiteral("raccolte.sqlite"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        RaccolteStore s;
        const auto report = s.open(path);
        QCOMPARE(report.state, RaccolteStore::State::Ready);
        QVERIFY(report.setAside.contains(QStringLiteral("raccolte-danneggiato-")));
        QFile aside(report.setAside);
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), bytes);
        QVERIFY(Raccolte::openMessage(report, path).contains(QDir::toNativeSeparators(report.setAside)));
        QVERIFY(s.create(QStringLiteral("Nuova")).ok());
    }

    void newerVersionIsOnlyRead()
    {
        const QString path = file("newer.sqlite");
        {
            RaccolteStore s;
            s.open(path);
            s.add(s.create(QStringLiteral("R")).value, {maxim(1)});
        }
        sqlOn(path, "PRAGMA user_version=99");
        RaccolteStore s;
        const auto report = s.open(path);
        QCOMPARE(report.state, RaccolteStore::State::ReadOnlyNewer);
        QVERIFY(!Raccolte::openMessage(report, path).isEmpty());
        QCOMPARE(s.raccolte().value.at(0).count, 1);
        QCOMPARE(int(s.create(QStringLiteral("X")).error.fault), int(RaccolteFault::ReadOnly));
        QCOMPARE(int(s.add(1, {maxim(2)}).error.fault), int(RaccolteFault::ReadOnly));
        QCOMPARE(sqlOn(path, "PRAGMA user_version"), QStringLiteral("99"));
        QCOMPARE(sqlOn(path, "SELECT count(*) FROM raccolta"), QStringLiteral("1"));
    }

    void folderThatCannotBeWritten()
    {
        // A folder whose place is taken by a file cannot be made, whoever runs the test.
        const QString blocker = file("blocker");
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        RaccolteStore s;
        const auto report = s.open(blocker + QStringLiteral("/sub/raccolte.sqlite"));
        QCOMPARE(report.state, RaccolteStore::State::Unavailable);
        QVERIFY(Raccolte::openMessage(report, s.path()).contains(QStringLiteral("non sono disponibili")));
        QCOMPARE(int(s.create(QStringLiteral("R")).error.fault), int(RaccolteFault::Unavailable));
        QCOMPARE(int(s.raccolte().error.fault), int(RaccolteFault::Unavailable));
        QCOMPARE(int(s.rememberSearch(QStringLiteral("x")).fault), int(RaccolteFault::Unavailable));
    }

    // A folder where the file should be: nothing is created or removed, and the user reads why.
    void fileThatCannotBeOpened()
    {
        const QString path = file("cartella.sqlite");
        QVERIFY(QDir().mkpath(path + QStringLiteral("/dentro")));
        RaccolteStore s;
        const auto report = s.open(path);
        QCOMPARE(report.state, RaccolteStore::State::Unavailable);
        QVERIFY2(report.reason.contains(QStringLiteral("non può essere aperto")), qPrintable(report.reason));
        QVERIFY(report.setAside.isEmpty());
        QVERIFY(QFileInfo(path + QStringLiteral("/dentro")).isDir());
    }

    void fullDiskFailsOneChange()
    {
        const QString path = file("full.sqlite");
        RaccolteStore s;
        s.open(path);
        const auto id = s.create(QStringLiteral("R")).value;
        QCOMPARE(s.add(id, {maxim(1), maxim(2)}).value.added, 2);
        s.limitPages(int(sqlOn(path, "PRAGMA page_count").toInt()));
        std::vector<MaximRef> many;
        for (int i = 10; i < 60; ++i) many.push_back(maxim(i));
        const auto r = s.add(id, many);
        QCOMPARE(int(r.error.fault), int(RaccolteFault::DiskFull));
        QCOMPARE(r.value.added, 0);
        QVERIFY(Raccolte::message(r.error).contains(QStringLiteral("disco è pieno")));
        QCOMPARE(texts(s.maxims(id).value), QStringList({"1", "2"}));
        QCOMPARE(sqlOn(path, "PRAGMA integrity_check"), QStringLiteral("ok"));
        s.limitPages(100000);
        QCOMPARE(s.add(id, {maxim(3)}).value.added, 1);
    }

    // Two running copies on one file: each change is made on what the file holds, not on what a copy
    // read earlier, so neither loses the other's.
    void twoCopiesLoseNothing()
    {
        const QString path = file("two.sqlite");
        RaccolteStore a, b;
        a.open(path);
        b.open(path);
        const auto id = a.create(QStringLiteral("R")).value;
        const auto first = a.add(id, {maxim(0), maxim(1)}).value.ids;
        QCOMPARE(b.add(id, {maxim(2)}).value.added, 1);
        QVERIFY(!a.move(first[0], 99));   // a has not re-read since b added
        QCOMPARE(int(b.create(QStringLiteral("r")).error.fault), int(RaccolteFault::NameTaken));
        QCOMPARE(texts(b.maxims(id).value), QStringList({"1", "2", "0"}));
        QVERIFY(!b.remove(id));
        QCOMPARE(int(a.setNote(first[1], QStringLiteral("x")).fault), int(RaccolteFault::NotFound));
    }

    void locatesMovedAndGoneMaxims()
    {
        const std::vector<MaximEntry> corpus = MaximCorpus::load();
        MaximLocator locator(corpus);
        const MaximEntry& e = corpus[100];
        RaccolteStore s;
        s.open(file("locate.sqlite"));
        const auto id = s.create(QStringLiteral("R")).value;
        MaximRef moved = MaximLocator::ref(corpus[200]);
        moved.maxim += 50;
        MaximRef gone = MaximLocator::ref(corpus[300]);
        gone.text.replace(0, 5, QStringLiteral("Xxxxx"));
        s.add(id, {MaximLocator::ref(e), moved, gone});
        const auto items = s.maxims(id).value;
        const auto here = locator.locate(items[0]);
        QCOMPARE(here.entry, &e);
        QVERIFY(!here.moved);
        const auto there = locator.locate(items[1]);
        QCOMPARE(there.entry, &corpus[200]);
        QVERIFY(there.moved);
        QVERIFY(!locator.locate(items[2]).entry);
        QVERIFY(items[2].text.startsWith(QStringLiteral("Xxxxx")));
    }

    // A writer adding in a loop is killed at random moments; every addition it reported committed
    // is in the file afterwards, and the file is whole.
    void survivesKillsOfTheWriter()
    {
        const QString writer = QString::fromLocal8Bit(qgetenv("NORVELIA_BINARY_DIR")) + QStringLiteral("/tests/raccolte_writer");
        if (!QFileInfo::exists(writer)) QSKIP("raccolte_writer not built");
        const QString path = file("killed.sqlite");
        QRandomGenerator random(20261210);
        QSet<QString> reported;
        for (int kill = 0; kill < 24; ++kill) {
            QProcess p;
            p.start(writer, {path, QString::number(kill)});
            QVERIFY(p.waitForStarted());
            const int wanted = random.bounded(1, 40);
            QByteArray out;
            while (out.count('\n') < wanted && p.state() == QProcess::Running) {
                p.waitForReadyRead(10000);
                out += p.readAllStandardOutput();
            }
            p.kill();   // SIGKILL
            p.waitForFinished();
            out += p.readAllStandardOutput();
            for (const QByteArray& line : out.split('\n'))
                if (line.endsWith('.')) reported.insert(QString::fromLatin1(line.chopped(1)));   // only whole lines
            QCOMPARE(sqlOn(path, "PRAGMA integrity_check"), QStringLiteral("ok"));
        }
        QVERIFY(reported.size() >= 24);
        RaccolteStore s;
        QCOMPARE(s.open(path).state, RaccolteStore::State::Ready);
        QSet<QString> present;
        for (const RaccoltaInfo& r : s.raccolte().value)
            for (const StoredMaxim& m : s.maxims(r.id).value) present.insert(r.name + QLatin1Char('/') + m.note);
        for (const QString& k : reported) QVERIFY2(present.contains(k), qPrintable(k));
    }
};

QTEST_GUILESS_MAIN(TestRaccolte)
#include "test_raccolte.moc"
