// The thesaurus of today's terms and the edition's: its reader, the expansion of queries, what the
// search says about it, and the compiled file held to the archives.
#include "search/QueryTranslator.h"
#include "search/SearchIndex.h"
#include "search/SearchMessages.h"
#include "search/Thesaurus.h"
#include <QtTest>

namespace {
const QByteArray small = "# prova\n"
                         "\n"
                         "permesso di costruire | concessione edilizia | d.P.R. 380/2001, art. 10 | 2001-06-06\n"
                         "SCIA; segnalazione certificata di inizio attività | denuncia di inizio attività | l. 122/2010 | 2010-07-30\n"
                         "legge Merloni | l. 109/1994 | l. 109/1994 | 1994-02-11\n"
                         "permesso | licenza | prova | 2000-01-01\n";

QString alternatives(const ParsedQuery& q)
{
    QStringList groups;
    for (const QueryGroup& g : q.groups) {
        QStringList alts;
        for (const QueryTerm& t : g.alternatives) {
            QString s = t.statute.empty() ? QString::fromStdString(t.words.size() == 1 ? t.words.front() : [&] {
                std::string w;
                for (const std::string& x : t.words) w += (w.empty() ? "" : " ") + x;
                return '"' + w + '"';
            }())
                                          : QStringLiteral("law[") + QString::fromStdString(t.statute) + QLatin1Char(']');
            if (t.thesaurus) s += QLatin1Char('+');
            alts << s;
        }
        groups << alts.join(QLatin1Char('|'));
    }
    return groups.join(QStringLiteral(" & "));
}
} // namespace

class TestThesaurus : public QObject {
    Q_OBJECT
    std::unique_ptr<SearchIndex> index;
    Stemmer stemmer;

private slots:
    void initTestCase() { index = std::make_unique<SearchIndex>(MaximCorpus::load()); }
    void cleanup() { Thesaurus::clearOverride(); }

    void readerNamesEveryBadLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("groups");
        QTest::addColumn<QString>("error");
        QTest::newRow("good") << small << 4 << "";
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF") + small << 4 << "";
        QTest::newRow("windows line ends") << QByteArray(small).replace("\n", "\r\n") << 4 << "";
        QTest::newRow("three fields") << QByteArray("a | b | 2001-01-01\n") << 0 << "riga 1: attesi quattro campi";
        QTest::newRow("bad date") << QByteArray("casa | tetto | l. 1/2000 | 2001-13-01\n") << 0 << "riga 1: data non valida";
        QTest::newRow("empty term") << QByteArray("casa;; tetto | muro | l. 1/2000 | 2001-01-01\n") << 0 << "termine vuoto";
        QTest::newRow("function words only") << QByteArray("di la | c | l. 1/2000 | 2001-01-01\n") << 0 << "sole parole comuni";
        QTest::newRow("no statute") << QByteArray("casa | tetto |   | 2001-01-01\n") << 0 << "manca la norma";
        QTest::newRow("line number after a good one") << small + "x | y\n" << 4 << "riga 7:";
        QTest::newRow("huge line") << QByteArray(5000, 'a') << 0 << "troppo lunga";
    }
    void readerNamesEveryBadLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, groups);
        QFETCH(QString, error);
        const ParsedThesaurus t = Thesaurus::parse(text);
        QCOMPARE(int(t.groups.size()), groups);
        if (error.isEmpty()) QVERIFY2(t.errors.isEmpty(), qPrintable(t.errors.join(QLatin1Char('\n'))));
        else QVERIFY2(t.errors.join(QLatin1Char('\n')).contains(error), qPrintable(t.errors.join(QLatin1Char('\n'))));
    }

    void readerKeepsTermsStatutesAndDates()
    {
        const ParsedThesaurus t = Thesaurus::parse(small);
        const ThesaurusGroup& scia = t.groups[1];
        QCOMPARE(scia.today.size(), std::size_t(2));
        QCOMPARE(scia.today[1].text, QStringLiteral("segnalazione certificata di inizio attività"));
        QCOMPARE(scia.date, QDate(2010, 7, 30));
        QCOMPARE(scia.line, 4);
        QVERIFY(!scia.edition[0].statute);
        QCOMPARE(t.groups[2].edition[0].statute->key, std::string("legge:109:1994"));
    }

    void todaysTermsExpand_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        QTest::newRow("acronym") << "SCIA" << "scia|\"segnalazione certificata di inizio attivita\"+|\"denuncia di inizio attivita\"+";
        QTest::newRow("phrase of today, longest wins") << "permesso di costruire abuso"
                                                       << "\"permesso di costruire\"|\"concessione edilizia\"+ & abuso";
        QTest::newRow("shorter term alone") << "permesso" << "permesso|licenza+";
        QTest::newRow("inflected word of today") << "permessi di costruire" << "\"permesso di costruire\"|\"concessione edilizia\"+";
        QTest::newRow("nickname to statute") << "legge Merloni" << "\"legge merloni\"|law[legge:109:1994]+";
        QTest::newRow("not inside a phrase") << "\"permesso di costruire\"" << "\"permesso di costruire\"";
        QTest::newRow("not when excluded") << "abuso -SCIA" << "abuso";
        QTest::newRow("words apart are not the term") << "permesso edilizio costruire"
                                                      << "permesso|licenza+ & edilizio & costruire";
    }
    void todaysTermsExpand()
    {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        const ParsedThesaurus t = Thesaurus::parse(small);
        QCOMPARE(alternatives(QueryTranslator::parse(query, {}, stemmer, &t)), expected);
        // Without the thesaurus nothing is added.
        QVERIFY(!QueryTranslator::parse(query, {}, stemmer, nullptr).expanded());
    }

    void functionWordsOfATermAreNotIgnored()
    {
        const ParsedThesaurus t = Thesaurus::parse(small);
        QVERIFY(QueryTranslator::parse(QStringLiteral("permesso di costruire"), {}, stemmer, &t).ignored.isEmpty());
        QCOMPARE(QueryTranslator::parse(QStringLiteral("costruire di"), {}, stemmer, &t).ignored.size(), 1);
    }

    void expansionIsSaidAndRanksBelowTheTypedWords()
    {
        Thesaurus::setOverride(small);
        const SearchIndex::Result r = index->search(QStringLiteral("permesso"));
        const QStringList notes = SearchMessages::expansions(r.query);
        QCOMPARE(notes, QStringList{QStringLiteral("Cercato anche: licenza (oggi permesso, prova)")});
        bool typedDone = false;
        int thesaurusOnly = 0;
        for (const SearchIndex::Hit& h : r.hits) {
            const QString text = index->entry(h.id).text.toLower();
            if (h.tier == SearchIndex::Thesaurus) {
                typedDone = true;
                ++thesaurusOnly;
                QVERIFY(text.contains(QStringLiteral("licenz")));
            } else if (h.tier == SearchIndex::Typed) {
                QVERIFY2(!typedDone, "a maxim with the typed word after one found only through the thesaurus");
            }
        }
        QVERIFY(thesaurusOnly > 0);
        SearchIndex::Filters off;
        off.thesaurus = false;
        const SearchIndex::Result plain = index->search(QStringLiteral("permesso"), off);
        QVERIFY(plain.query.expansions.empty());
        QCOMPARE(plain.found() + thesaurusOnly, r.found());
    }

    void compiledFileIsWhole()
    {
        const ParsedThesaurus& t = Thesaurus::shared();
        QVERIFY2(t.errors.isEmpty(), qPrintable(t.errors.join(QLatin1Char('\n'))));
        QVERIFY(t.groups.size() >= 10);
    }

    // Every term of the edition is found in the archives, as the search would look for it; no term of
    // today is merely a form of the edition's.
    void compiledEntriesMeetTheArchives()
    {
        SearchIndex::Filters off;
        off.thesaurus = false;
        for (const ThesaurusGroup& g : Thesaurus::shared().groups) {
            for (const ThesaurusTerm& e : g.edition) {
                const QString query = e.statute ? e.text : QLatin1Char('"') + e.text + QLatin1Char('"');
                QVERIFY2(!index->search(query, off).hits.empty(), qPrintable(QStringLiteral("riga %1: %2").arg(g.line).arg(e.text)));
                for (const ThesaurusTerm& today : g.today) {
                    QVERIFY2(today.keys != e.keys, qPrintable(QStringLiteral("riga %1: %2").arg(g.line).arg(today.text)));
                }
            }
        }
    }

    void noHitSuggestsWhatToTry()
    {
        const ParsedThesaurus t = Thesaurus::parse(small);
        const ParsedQuery q = QueryTranslator::parse(QStringLiteral("licenza zzzqqq"), {}, stemmer, &t);
        const SearchMessages::Suggestions s = SearchMessages::noHit(q, &t);
        QCOMPARE(s.words, (QStringList{QStringLiteral("licenza"), QStringLiteral("zzzqqq")}));
        QCOMPARE(s.thesaurus, QStringList{QStringLiteral("permesso: nelle massime licenza")});
        QVERIFY(s.edition.contains(QStringLiteral("2001")));
    }

    void countLineSaysWhatWasFound_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("start");
        QTest::newRow("all words") << "distanza" << "%1 massime trovate";
        QTest::newRow("related forms apart") << "solare" << "%1 massime trovate, e %2 in forme affini";
        QTest::newRow("partial") << "amministratore revoca zzzqqq" << "Nessuna massima contiene tutte le parole: ecco quelle che ne contengono di più";
        QTest::newRow("nothing") << "zzzqqq" << "0 massime trovate";
        QTest::newRow("empty") << "" << "Scrivere le parole";
    }
    void countLineSaysWhatWasFound()
    {
        QFETCH(QString, query);
        QFETCH(QString, start);
        const SearchIndex::Result r = index->search(query);
        const QString line = SearchMessages::countLine(r, 0.5);
        const QString expected = start.contains(QLatin1String("%2")) ? start.arg(r.found()).arg(int(r.hits.size()) - r.found())
                                 : start.contains(QLatin1String("%1")) ? start.arg(r.found())
                                                                       : start;
        QVERIFY2(line.startsWith(expected), qPrintable(line));
    }

    void unmatchedCitationOrStatuteIsNamed()
    {
        Stemmer s;
        const ParsedQuery law = QueryTranslator::parse(QStringLiteral("legge 999/1990"), index->places(), s);
        QCOMPARE(SearchMessages::unmatchedParts(*index, law).join(QString()),
                 QStringLiteral("la norma legge n. 999 del 1990 non è citata in nessuna massima"));
        const ParsedQuery ruling = QueryTranslator::parse(QStringLiteral("Cons. St. 99999/1999"), index->places(), s);
        QVERIFY(SearchMessages::unmatchedParts(*index, ruling).join(QString()).contains(QStringLiteral("citazione")));
        const ParsedQuery known = QueryTranslator::parse(QStringLiteral("legge 47/1985"), index->places(), s);
        QVERIFY(SearchMessages::unmatchedParts(*index, known).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestThesaurus)
#include "test_thesaurus.moc"
