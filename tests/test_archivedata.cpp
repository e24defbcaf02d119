// The archive data files: the reader of the format, and every compiled data file held to its rules.
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveValidation.h"
#include <QtTest>

namespace {
const QByteArray goodMaxim =
    "Il condomino che intenda installare un'antenna sul tetto comune non necessita del consenso dell'assemblea, "
    "purché l'opera non impedisca agli altri partecipanti di farne parimenti uso secondo il loro diritto e non "
    "alteri la destinazione della cosa comune ai sensi dell'art. 1102 cod. civ., dovendosi la valutazione "
    "compiere in concreto con riguardo alle dimensioni e alla collocazione del manufatto sulla copertura "
    "dell'edificio e alle esigenze degli altri condomini. - (Cassazione civile, sez. II, 14 marzo 2000, n. 2932)";

ValidationReport check(const char* archive, const QByteArray& data)
{
    return ArchiveValidation::validate(*Archives::find(QString::fromLatin1(archive)), ArchiveData::parse(data));
}

// A failure message holds only so much, so every fault is written out on its own line first.
bool listed(const QStringList& faults)
{
    for (const QString& f : faults) qWarning("%s", qPrintable(f));
    return faults.isEmpty();
}

CitedMaxim cited(const QString& text, int maxim = 1)
{
    const std::optional<Citation> c = ArchiveValidation::citation(text);
    if (!c) qFatal("test citation does not read: %s", qPrintable(text));
    return {QStringLiteral("edilizia"), 3, maxim, text, *c};
}
} // namespace

class TestArchiveData : public QObject {
    Q_OBJECT
private slots:
    void readerRecords()
    {
        const QByteArray data = "\xEF\xBB\xBF# commento\r\n\r\n@topic 2 Titolo due\r\nprima\r\n@empty\r\n   \r\n"
                                "@topic 5 \nseconda\nterza";
        const ParsedArchive p = ArchiveData::parse(data);
        QVERIFY(p.errors.isEmpty());
        QCOMPARE(p.topics.size(), std::size_t(2));
        QCOMPARE(p.topics[0].number, 2);
        QCOMPARE(p.topics[0].title, QStringLiteral("Titolo due"));
        QCOMPARE(p.topics[0].cells, QStringList({QStringLiteral("prima"), QString()}));
        QCOMPARE(p.topics[0].cellLines, std::vector<int>({4, 5}));
        QCOMPARE(p.topics[1].title, QString());
        QCOMPARE(p.topics[1].cells, QStringList({QStringLiteral("seconda"), QStringLiteral("terza")}));
        QVERIFY(p.topic(5) && !p.topic(3));
    }

    void readerRefusesMalformedRecords()
    {
        const ParsedArchive p = ArchiveData::parse("fuori\n@topic x Titolo\n@topic 3 Tre\nuno\n@topic 3 Ancora\ndue\n"
                                                   "@topic 2 Indietro\n@topic4 Senza blank\n");
        QCOMPARE(p.errors.size(), 6);
        QVERIFY(p.errors[0].startsWith(QStringLiteral("line 1:")));
        QVERIFY(p.errors[1].contains(QStringLiteral("malformed")));
        QVERIFY(p.errors[2].contains(QStringLiteral("ascending")));
        // The text after a refused @topic belongs to no topic: it is not added to the one before.
        QVERIFY(p.errors[3].startsWith(QStringLiteral("line 6:")));
        QCOMPARE(p.topic(3)->cells, QStringList({QStringLiteral("uno")}));
    }

    void validatorAcceptsAWellFormedTopic()
    {
        QByteArray data = "@topic 16 Canne fumarie\n" + goodMaxim + '\n' + goodMaxim + '\n';
        const ValidationReport r = check("condominio", data);
        QVERIFY2(r.ok(), qPrintable(r.errors.join('\n')));
        QCOMPARE(r.maxims, 2);
        QCOMPARE(r.withSection, 2);
    }

    void validatorReportsEachFault_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        const QByteArray head = "@topic 16 Canne fumarie\n";
        QTest::newRow("title") << QByteArray("@topic 16 Canne\n" + goodMaxim + '\n' + goodMaxim) << "title";
        QTest::newRow("count") << QByteArray(head + goodMaxim) << "1 maxims, the archive's definition gives 2";
        QTest::newRow("topic beyond the archive") << QByteArray("@topic 37 X\n") << "no such topic";
        QByteArray tab = goodMaxim;
        tab.replace("Il condomino", "Il\tcondomino");
        QTest::newRow("tab") << QByteArray(head + tab + '\n' + goodMaxim) << "U+0009";
        QByteArray dash = goodMaxim;
        dash.replace("purché", "purché \xE2\x80\x93");
        QTest::newRow("en dash") << QByteArray(head + dash + '\n' + goodMaxim) << "U+2013";
        QTest::newRow("short") << QByteArray(head + "Breve. - (Tribunale di Roma, 3 marzo 1990)\n" + goodMaxim) << "outside 200 to 1500";
        QByteArray noCitation = goodMaxim;
        noCitation.replace(" - (Cassazione", " (Cassazione");
        QTest::newRow("citation") << QByteArray(head + noCitation + '\n' + goodMaxim) << "no citation";
        QByteArray badDate = goodMaxim;
        badDate.replace("14 marzo 2000", "31 aprile 2000");
        QTest::newRow("date") << QByteArray(head + badDate + '\n' + goodMaxim) << "does not exist";
        QByteArray late = goodMaxim;
        late.replace("2000", "2004");
        QTest::newRow("year") << QByteArray(head + late + '\n' + goodMaxim) << "outside 1950-2001";
        QTest::newRow("gap") << QByteArray(head + goodMaxim + "\n@empty\n" + goodMaxim) << "gap";
    }

    void validatorReportsEachFault()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        const ValidationReport r = check("condominio", data);
        QVERIFY(!r.ok());
        QVERIFY2(r.errors.join('\n').contains(expected), qPrintable(r.errors.join('\n')));
    }

    void citationForms()
    {
        using ArchiveValidation::hasCitation;
        bool sez = false, num = false;
        QVERIFY(hasCitation(QStringLiteral("x - (Consiglio di Stato, sez. V, 2 ottobre 1995, n. 1234)"), &sez, &num));
        QVERIFY(sez && num);
        QVERIFY(hasCitation(QStringLiteral("x - (TAR Lazio, 29 febbraio 1996)"), &sez, &num));
        QVERIFY(!sez && !num);
        QVERIFY(hasCitation(QStringLiteral("x - (Cassazione civile, sez. un., 1 luglio 1997, n. 5895)")));
        QVERIFY(hasCitation(QStringLiteral("x - (Consiglio di Stato, Ad. plen., 24 giugno 1999, n. 16)"), &sez, &num));
        QVERIFY(sez && num);
        QCOMPARE(ArchiveValidation::citation(QStringLiteral("x - (Consiglio di Stato, Ad. plen., 24 giugno 1999)"))->section,
                 QStringLiteral("Ad. plen."));
        QVERIFY(!hasCitation(QStringLiteral("x - (Consiglio di Stato, sez. Ad. plen., 24 giugno 1999, n. 16)")));
        QVERIFY(hasCitation(QStringLiteral("x - (Corte d'appello di Milano, 12 gennaio 1988)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (TAR Lazio, 29 febbraio 1997)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (Cassazione civile, 12 Gennaio 1988)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (Cassazione civile, 12 gennaio 1988, n. 12).")));
    }

    // What a citation in the right form can still get wrong against the text and the calendar.
    void citationFaults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fault");   // empty: none
        const QString act = QStringLiteral("In applicazione della legge 28 febbraio 1985 n. 47 e della legge n. 241 del 1990 ");
        QTest::newRow("acts before the ruling") << act + "- (Cassazione civile, sez. II, 14 marzo 2000, n. 2932)" << QString();
        const QString law = QStringLiteral("La legge 28 febbraio 1985 n. 47 dispone ");
        QTest::newRow("act of the same day") << law + "- (Cassazione penale, 28 febbraio 1985)" << QString();
        QTest::newRow("act of the next day")
            << law + "- (Cassazione penale, 27 febbraio 1985)" << "\"legge 28 febbraio 1985\" is later than the ruling of 1985-02-27";
        QTest::newRow("act by number and year")
            << act + "- (Cassazione civile, sez. II, 14 marzo 1989, n. 1290)" << "\"n. 241 del 1990\" is later";
        QTest::newRow("act by year alone")
            << "Come prevede ora la legge del 2001, - (Cassazione civile, sez. lav., 20 novembre 2000, n. 14600)" << "later";
        QTest::newRow("a time limit is not an act")
            << "La domanda va proposta entro il 15 settembre 2000 - (Consiglio di Stato, sez. V, 24 febbraio 2000, n. 960)"
            << QString();
        QTest::newRow("Consiglio di Stato without section")
            << "x - (Consiglio di Stato, 2 ottobre 1995, n. 1234)" << "without its section";
        QTest::newRow("Adunanza plenaria") << "x - (Consiglio di Stato, Ad. plen., 24 giugno 1999, n. 16)" << QString();
        QTest::newRow("Sunday") << "x - (Pretura di Napoli, 14 febbraio 1993)" << "Sunday or a national holiday";
        QTest::newRow("Epiphany") << "x - (Cassazione civile, sez. II, 6 gennaio 1998, n. 52)" << "national holiday";
        QTest::newRow("Easter Monday") << "x - (Tribunale di Roma, 24 aprile 2000)" << "national holiday";
        QTest::newRow("2 June, moved in 1990") << "x - (Tribunale di Roma, 2 giugno 1989)" << QString();
        QTest::newRow("2 June, kept in 1975") << "x - (Tribunale di Roma, 2 giugno 1975)" << "national holiday";
        QTest::newRow("2 June, restored in 2001") << "x - (Tribunale di Roma, 2 giugno 2001)" << "national holiday";
    }

    void citationFaults()
    {
        QFETCH(QString, text);
        QFETCH(QString, fault);
        const QStringList faults = ArchiveValidation::citationFaults(text, cited(text).citation);
        if (fault.isEmpty())
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        else
            QVERIFY2(faults.size() == 1 && faults[0].contains(fault), qPrintable(faults.join('\n')));
    }

    // The validator reports a citation fault at the maxim's place.
    void validatorPlacesCitationFaults()
    {
        QByteArray sunday = goodMaxim;
        sunday.replace("14 marzo 2000", "12 marzo 2000");
        const ValidationReport r = check("condominio", "@topic 16 Canne fumarie\n" + goodMaxim + '\n' + sunday + '\n');
        QCOMPARE(r.errors.size(), 1);
        QVERIFY2(r.errors[0].startsWith(QStringLiteral("condominio topic 16 maxim 2 (line 3): ")), qPrintable(r.errors[0]));
    }

    // One register, year and number names one ruling, wherever it is cited.
    void rulingConflicts_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("conflict");
        const QString cass = QStringLiteral("x - (Cassazione civile, sez. II, 15 aprile 1994, n. 3549)");
        QTest::newRow("the same ruling twice") << cass << cass << false;
        QTest::newRow("the civil bench keeps one register")
            << cass << "y - (Cassazione civile, sez. lav., 15 aprile 1994, n. 3549)" << true;
        QTest::newRow("the united sections apart") << cass << "y - (Cassazione civile, sez. un., 15 aprile 1994, n. 3549)" << false;
        QTest::newRow("another date") << cass << "y - (Cassazione civile, sez. II, 14 aprile 1994, n. 3549)" << true;
        QTest::newRow("the criminal bench apart") << cass << "y - (Cassazione penale, sez. II, 15 aprile 1994, n. 3549)" << false;
        const QString pen = QStringLiteral("x - (Cassazione penale, sez. III, 2 marzo 1994, n. 2510)");
        QTest::newRow("criminal sections apart") << pen << "y - (Cassazione penale, sez. VI, 9 marzo 1994, n. 2510)" << false;
        QTest::newRow("one criminal section") << pen << "y - (Cassazione penale, sez. III, 9 marzo 1994, n. 2510)" << true;
        const QString cds = QStringLiteral("x - (Consiglio di Stato, sez. V, 24 giugno 1999, n. 16)");
        QTest::newRow("Consiglio di Stato sections apart") << cds << "y - (Consiglio di Stato, sez. IV, 2 marzo 1999, n. 16)" << false;
        QTest::newRow("the plenary apart") << cds << "y - (Consiglio di Stato, Ad. plen., 24 giugno 1999, n. 16)" << false;
        QTest::newRow("one Consiglio di Stato section") << cds << "y - (Consiglio di Stato, sez. V, 2 marzo 1999, n. 16)" << true;
        QTest::newRow("another year") << cass << "y - (Cassazione civile, sez. I, 15 aprile 1995, n. 3549)" << false;
        QTest::newRow("two regional courts")
            << "x - (TAR Lazio, 3 maggio 1994, n. 12)" << "y - (TAR Veneto, 4 maggio 1994, n. 12)" << false;
        QTest::newRow("no numbers") << "x - (Tribunale di Roma, 3 maggio 1994)" << "y - (Tribunale di Roma, 4 maggio 1994)"
                                    << false;
    }

    void rulingConflicts()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, conflict);
        const QStringList conflicts = ArchiveValidation::rulingConflicts({cited(first, 1), cited(second, 2)});
        QCOMPARE(conflicts.size(), conflict ? 1 : 0);
        if (conflict) QVERIFY(conflicts[0].startsWith(QStringLiteral("edilizia topic 3 maxim 1 and edilizia topic 3 maxim 2: ")));
    }

    // Within one register and year the numbers rise with the dates, save for the lag of filing.
    void numberingOutOfOrder_data()
    {
        QTest::addColumn<QString>("lower");    // the maxim with the lower number, placed first
        QTest::addColumn<QString>("higher");
        QTest::addColumn<bool>("fault");
        const QString cds = QStringLiteral("x - (Consiglio di Stato, sez. V, 21 ottobre 1998, n. 1511)");
        QTest::newRow("in order") << cds << "y - (Consiglio di Stato, sez. V, 10 novembre 1998, n. 1600)" << false;
        QTest::newRow("a day back, within the lag") << cds << "y - (Consiglio di Stato, sez. V, 20 ottobre 1998, n. 1512)" << false;
        QTest::newRow("the lag's last day") << cds << "y - (Consiglio di Stato, sez. V, 14 ottobre 1998, n. 1512)" << false;
        QTest::newRow("beyond the lag") << cds << "y - (Consiglio di Stato, sez. V, 13 ottobre 1998, n. 1512)" << true;
        QTest::newRow("another section") << cds << "y - (Consiglio di Stato, sez. IV, 2 marzo 1998, n. 1512)" << false;
        QTest::newRow("another year") << cds << "y - (Consiglio di Stato, sez. V, 2 marzo 1999, n. 1512)" << false;
        QTest::newRow("across civil sections")
            << "x - (Cassazione civile, sez. II, 14 marzo 2000, n. 2932)" << "y - (Cassazione civile, sez. lav., 2 febbraio 2000, n. 3100)"
            << true;
        QTest::newRow("the united civil sections apart")
            << "x - (Cassazione civile, sez. un., 22 luglio 1999, n. 500)" << "y - (Cassazione civile, sez. II, 16 marzo 1999, n. 2343)"
            << false;
        QTest::newRow("across criminal sections")
            << "x - (Cassazione penale, sez. III, 14 marzo 2000, n. 2932)" << "y - (Cassazione penale, sez. VI, 2 febbraio 2000, n. 3100)"
            << false;
        QTest::newRow("one without a number") << cds << "y - (Consiglio di Stato, sez. V, 2 marzo 1998)" << false;
    }

    void numberingOutOfOrder()
    {
        QFETCH(QString, lower);
        QFETCH(QString, higher);
        QFETCH(bool, fault);
        // The order in which the maxims stand must not matter.
        for (const bool swapped : {false, true}) {
            const QStringList faults = ArchiveValidation::numberingOutOfOrder(
                swapped ? std::vector<CitedMaxim>{cited(higher, 1), cited(lower, 2)} : std::vector<CitedMaxim>{cited(lower, 1), cited(higher, 2)});
            QCOMPARE(faults.size(), fault ? 1 : 0);
        }
    }

    // Across all compiled archives, no ruling number is cited as two rulings, and every register runs in order.
    void compiledArchivesAgreeOnRulings()
    {
        std::vector<CitedMaxim> all;
        for (const ArchiveDefinition& a : Archives::all()) {
            const std::vector<CitedMaxim> m =
                ArchiveValidation::citedMaxims(a.name(), ArchiveData::parse(ArchiveData::bytesFor(a.name())));
            all.insert(all.end(), m.begin(), m.end());
        }
        QCOMPARE(int(all.size()), 2050);
        const QStringList conflicts = ArchiveValidation::rulingConflicts(all) + ArchiveValidation::numberingOutOfOrder(all);
        QVERIFY2(listed(conflicts), qPrintable(QStringLiteral("%1 conflicts, listed above").arg(conflicts.size())));
    }

    // Every compiled data file: every topic it holds must be complete and well formed.
    void compiledDataFiles_data()
    {
        QTest::addColumn<QString>("archive");
        for (const ArchiveDefinition& a : Archives::all()) QTest::newRow(a.formName) << a.name();
    }

    void compiledDataFiles()
    {
        QFETCH(QString, archive);
        const ArchiveDefinition* def = Archives::find(archive);
        const QByteArray bytes = ArchiveData::bytesFor(archive);
        QVERIFY2(!bytes.isEmpty(), "the data file is not compiled into the program");
        const ValidationReport r = ArchiveValidation::validate(*def, ArchiveData::parse(bytes));
        QVERIFY2(listed(r.errors), qPrintable(QStringLiteral("%1 faults, listed above").arg(r.errors.size())));
        qInfo("%s: %d of %d maxims present, average %.0f characters", qPrintable(archive), r.maxims, def->totalMaxims(),
              r.averageLength);
    }

    void definitionsAddUp()
    {
        const int expected[7] = {856, 138, 16, 119, 532, 125, 264};
        int sum = 0;
        for (int i = 0; i < 7; ++i) {
            const ArchiveDefinition& a = Archives::all()[std::size_t(i)];
            QCOMPARE(a.totalMaxims(), expected[i]);
            QCOMPARE(int(a.topics.size()), a.topicCount);
            for (int t = 1; t <= a.topicCount; ++t) QVERIFY(a.topicMaxims(t) < a.maximsPerTopic);
            sum += a.totalMaxims();
        }
        QCOMPARE(sum, 2050);
    }
};

QTEST_GUILESS_MAIN(TestArchiveData)
#include "test_archivedata.moc"
