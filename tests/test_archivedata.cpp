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
        QVERIFY(hasCitation(QStringLiteral("x - (Corte d'appello di Milano, 12 gennaio 1988)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (TAR Lazio, 29 febbraio 1997)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (Cassazione civile, 12 Gennaio 1988)")));
        QVERIFY(!hasCitation(QStringLiteral("x - (Cassazione civile, 12 gennaio 1988, n. 12).")));
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
        QVERIFY2(r.ok(), qPrintable(r.errors.join('\n')));
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
