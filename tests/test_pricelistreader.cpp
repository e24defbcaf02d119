// The reader of "listino.txt": the field format, the code page, the values as read, and every kind of
// bad input ending in the rows read so far and a message.
#include "catalogue/PriceListReader.h"
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray rowsOf(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += "\"PROG" + QByteArray::number(i) + "\",\"argomento " + QByteArray::number(i) + "\"," +
               QByteArray::number(100 + i) + ".5," + QByteArray::number(90 + i) + "\r\n";
    return out;
}
QByteArray fileOf(int announced, int present) { return "\"2001\"," + QByteArray::number(announced) + "\r\n" + rowsOf(present); }

const QLocale Italian(QLocale::Italian, QLocale::Italy);
} // namespace

class TestPriceListReader : public QObject {
    Q_OBJECT

private slots:
    void readsTheFieldFormat()
    {
        const QByteArray bytes = "\"2001\",12\r\n" + rowsOf(11) +
                                 "  \"CALCOLO, VERIFICA\" , \"travi, pilastri e solai\"  ,  1234.5 , 999.9  \r\n";
        const PriceList p = PriceListReader::read(bytes);
        QCOMPARE(p.error, QString());
        QCOMPARE(p.head, QStringLiteral("2001"));
        QCOMPARE(p.announced, 12);
        QCOMPARE(p.rows.size(), std::size_t(12));
        const PriceRow& last = p.rows.back();
        QCOMPARE(last.name.screenText(), QStringLiteral("CALCOLO, VERIFICA"));
        QCOMPARE(last.topic.screenText(), QStringLiteral("travi, pilastri e solai"));
        QVERIFY(last.listPrice.isNumber());
        QCOMPARE(last.listPrice.number(), 1234.5);
        QCOMPARE(last.offerPrice.number(), 999.9);
        QVERIFY(!last.name.isNumber());
        QCOMPARE(p.rows[0].offerPrice.number(), 91.0);
    }

    void lineBreaksOnlyEndFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray rows = "\"A\",\"a\",1.5,2\n\"B\",\"b\",3,4.25\n";
        QTest::newRow("one record a line, LF") << QByteArray("\"h\",2\n" + rows);
        QTest::newRow("CR line ends") << QByteArray("\"h\",2\r\"A\",\"a\",1.5,2\r\"B\",\"b\",3,4.25\r");
        QTest::newRow("all on one line") << QByteArray("\"h\",2,\"A\",\"a\",1.5,2,\"B\",\"b\",3,4.25");
        QTest::newRow("one field a line") << QByteArray("\"h\"\r\n2\r\n\"A\"\r\n\"a\"\r\n1.5\r\n2\r\n\"B\"\r\n\"b\"\r\n3\r\n4.25\r\n");
        QTest::newRow("blank lines and trailing text") << QByteArray("\r\n\"h\",2\r\n\r\n" + rows + "\r\n\r\n\"more\",1\r\n");
        QTest::newRow("tabs around fields") << QByteArray("\t\"h\"\t,\t2\n\"A\",\"a\",\t1.5\t,2\n\"B\" ,\"b\", 3,4.25\n");
    }
    void lineBreaksOnlyEndFields()
    {
        QFETCH(QByteArray, bytes);
        const PriceList p = PriceListReader::read(bytes);
        // Two products are a short list, nothing worse.
        QVERIFY(p.error.startsWith(QStringLiteral("Il listino dei prodotti contiene solo 2 prodotti")));
        QCOMPARE(p.head, QStringLiteral("h"));
        QCOMPARE(p.rows.size(), std::size_t(2));
        QCOMPARE(p.rows[0].name.screenText(), QStringLiteral("A"));
        QCOMPARE(p.rows[0].listPrice.number(), 1.5);
        QCOMPARE(p.rows[1].topic.screenText(), QStringLiteral("b"));
        QCOMPARE(p.rows[1].offerPrice.number(), 4.25);
    }

    void valuesAreKeptAsRead()
    {
        // Unquoted text stays text, a quoted number stays text, an unquoted number becomes a number.
        const PriceList p = PriceListReader::read("\"h\",1\nCAD 3D,\"123\",12,-0.5\n");
        QCOMPARE(p.rows.size(), std::size_t(1));
        QCOMPARE(p.rows[0].name.screenText(), QStringLiteral("CAD 3D"));
        QVERIFY(!p.rows[0].topic.isNumber());
        QCOMPARE(p.rows[0].topic.screenText(), QStringLiteral("123"));
        QCOMPARE(p.rows[0].offerPrice.number(), -0.5);
        // What follows a closing quote up to the separator is not part of the value.
        QCOMPARE(PriceListReader::read("\"h\" x,1\n\"A\"b,\"a\",1,2\n").rows[0].name.screenText(), QStringLiteral("A"));
    }

    void decodesTheWindowsCodePage()
    {
        const PriceList p = PriceListReader::read("\"\x80 2001\",1\n\"PERIZIE\xAE\",\"citt\xE0 e propriet\xE0 \x93nuove\x94\",1,2\n");
        QCOMPARE(p.head, QStringLiteral("€ 2001"));
        QCOMPARE(p.rows[0].name.screenText(), QStringLiteral("PERIZIE®"));
        QCOMPARE(p.rows[0].topic.screenText(), QStringLiteral("città e proprietà “nuove”"));
        // A file saved again as UTF-8 with its byte-order mark is read as UTF-8.
        const PriceList u = PriceListReader::read("\xEF\xBB\xBF\"h\",1\n\"A\",\"citt\xC3\xA0\",1,2\n");
        QCOMPARE(u.head, QStringLiteral("h"));
        QCOMPARE(u.rows[0].topic.screenText(), QStringLiteral("città"));
    }

    void numbersOnScreenAndInPrint()
    {
        const PriceCell c = PriceCell::fromNumber(1234.5);
        QCOMPARE(c.screenText(Italian), QStringLiteral("1234,5"));
        QCOMPARE(c.priceText(Italian), QStringLiteral("1.234,50"));
        QCOMPARE(c.screenText(QLocale::c()), QStringLiteral("1234.5"));
        QCOMPARE(c.priceText(QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("1,234.50"));
        QCOMPARE(PriceCell::fromNumber(1234567).screenText(Italian), QStringLiteral("1234567"));
        QCOMPARE(PriceCell::fromNumber(1234567).priceText(Italian), QStringLiteral("1.234.567,00"));
        QCOMPARE(PriceCell::fromNumber(0.1 + 0.2).screenText(Italian), QStringLiteral("0,3"));
        QCOMPARE(PriceCell::fromNumber(5).priceText(Italian), QStringLiteral("5,00"));
        // A locale that omits grouping by default still groups in print.
        QLocale noGroups = Italian;
        noGroups.setNumberOptions(QLocale::OmitGroupSeparator);
        QCOMPARE(c.priceText(noGroups), QStringLiteral("1.234,50"));
        QCOMPARE(PriceCell::fromText(QStringLiteral("su richiesta")).priceText(Italian), QStringLiteral("su richiesta"));
        QCOMPARE(PriceCell().screenText(Italian), QString());
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray() << 0 << QStringLiteral("Il listino dei prodotti è vuoto. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("only line ends") << QByteArray(" \r\n\r\n\t") << 0
                                        << QStringLiteral("Il listino dei prodotti è vuoto. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("heading only") << QByteArray("\"2001\"\r\n") << 0
                                      << QStringLiteral("Il listino dei prodotti è incompleto: manca il numero dei prodotti. "
                                                        "L'elenco dei prodotti resta vuoto.");
        QTest::newRow("count not a number")
            << QByteArray("\"2001\",dodici\r\n" + rowsOf(12)) << 0
            << QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è un numero intero valido. "
                              "L'elenco dei prodotti resta vuoto.");
        QTest::newRow("count quoted") << QByteArray("\"2001\",\"12\"\r\n" + rowsOf(12)) << 0
                                      << QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è un "
                                                        "numero intero valido. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("count with decimals") << QByteArray("\"2001\",12.5\r\n" + rowsOf(12)) << 0
                                             << QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è "
                                                               "un numero intero valido. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("count negative") << QByteArray("\"2001\",-3\r\n") << 0
                                        << QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è "
                                                          "un numero intero valido. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("fewer rows") << fileOf(18, 12) << 12
                                    << QStringLiteral("Il listino dei prodotti è incompleto: annuncia 18 prodotti, ma ne contiene "
                                                      "per intero solo 12. Si mostrano i primi 12 prodotti.");
        QByteArray cut = fileOf(12, 5) + "\"PROG6\",\"argomento 6\"\r\n";
        QTest::newRow("row cut short") << cut << 5
                                       << QStringLiteral("Il listino dei prodotti è incompleto: annuncia 12 prodotti, ma ne "
                                                         "contiene per intero solo 5. Si mostrano i primi 5 prodotti.");
        QTest::newRow("no row at all") << fileOf(12, 0) << 0
                                       << QStringLiteral("Il listino dei prodotti è incompleto: annuncia 12 prodotti, ma non ne "
                                                         "contiene nessuno per intero. L'elenco dei prodotti resta vuoto.");
        QByteArray text = fileOf(12, 3) + "\"PROG4\",\"argomento 4\",\"centoventi\",99\r\n" + rowsOf(8);
        QTest::newRow("list price not a number")
            << text << 3
            << QStringLiteral("Il listino dei prodotti è danneggiato: il costo netto del prodotto 4 non è un numero. "
                              "Si mostrano i primi 3 prodotti.");
        // A decimal comma splits a price in two, and the fields after it slide out of place.
        QTest::newRow("price with a decimal comma")
            << QByteArray(fileOf(12, 1) + "\"PROG2\",\"argomento 2\",120,50,99\r\n" + rowsOf(10)) << 2
            << QStringLiteral("Il listino dei prodotti è danneggiato: il costo netto del prodotto 3 non è un numero. "
                              "Si mostrano i primi 2 prodotti.");
        QTest::newRow("offer price missing")
            << QByteArray(fileOf(12, 2) + "\"PROG3\",\"argomento 3\",120,\r\n" + rowsOf(9)) << 2
            << QStringLiteral("Il listino dei prodotti è danneggiato: il prezzo via internet del prodotto 3 non è un numero. "
                              "Si mostrano i primi 2 prodotti.");
        QTest::newRow("unclosed quote")
            << QByteArray(fileOf(12, 6) + "\"PROG7,argomento 7,1,2\r\n" + rowsOf(5)) << 6
            << QStringLiteral("Il listino dei prodotti è danneggiato: un testo nel prodotto 7 non ha le virgolette di "
                              "chiusura. Si mostrano i primi 6 prodotti.");
        QTest::newRow("unclosed heading") << QByteArray("\"2001,12\r\n" + rowsOf(12)) << 0
                                          << QStringLiteral("Il listino dei prodotti è danneggiato: un testo nell'intestazione "
                                                            "non ha le virgolette di chiusura. L'elenco dei prodotti resta vuoto.");
        QTest::newRow("more than 100") << fileOf(150, 150) << 100
                                       << QStringLiteral("Il listino dei prodotti annuncia 150 prodotti, più dei 100 che la "
                                                         "finestra può contenere: si mostrano i primi 100.");
        QTest::newRow("more than 100, cut short")
            << fileOf(150, 40) << 40
            << QStringLiteral("Il listino dei prodotti è incompleto: annuncia 150 prodotti, ma ne contiene per intero solo 40. "
                              "Si mostrano i primi 40 prodotti.");
        QTest::newRow("fewer than 10") << fileOf(7, 7) << 7
                                       << QStringLiteral("Il listino dei prodotti contiene solo 7 prodotti, meno dei 10 che la "
                                                         "finestra mostra insieme: le righe restanti dell'elenco restano vuote.");
        QTest::newRow("one product") << fileOf(1, 1) << 1
                                     << QStringLiteral("Il listino dei prodotti contiene un solo prodotto, meno dei 10 che la "
                                                       "finestra mostra insieme: le righe restanti dell'elenco restano vuote.");
        QTest::newRow("no product") << fileOf(0, 0) << 0
                                    << QStringLiteral("Il listino dei prodotti non contiene alcun prodotto: l'elenco resta vuoto.");
        QTest::newRow("huge count") << QByteArray("\"2001\",99999999999999999999\r\n" + rowsOf(3)) << 0
                                    << QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è un "
                                                      "numero intero valido. L'elenco dei prodotti resta vuoto.");
    }
    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        QFETCH(QString, message);
        const PriceList p = PriceListReader::read(bytes);
        QCOMPARE(p.error, message);
        QCOMPARE(int(p.rows.size()), rows);
        // The rows kept are the complete, well-formed ones.
        for (const PriceRow& r : p.rows) {
            QVERIFY(r.listPrice.isNumber());
            QVERIFY(r.offerPrice.isNumber());
            QVERIFY(r.name.screenText().startsWith(QStringLiteral("PROG")));
        }
    }

    void exactlyTheLimitsNeedNoMessage()
    {
        QCOMPARE(PriceListReader::read(fileOf(10, 10)).error, QString());
        const PriceList full = PriceListReader::read(fileOf(100, 100));
        QCOMPARE(full.error, QString());
        QCOMPARE(full.rows.size(), std::size_t(100));
    }

    void everyCutOfAGoodFileIsSafe()
    {
        // A file broken off anywhere, as by an interrupted copy: never more rows than are really there,
        // never a row with a missing price, and a message whenever rows are lost.
        const QByteArray whole = fileOf(12, 12);
        for (int n = 0; n < whole.size(); ++n) {
            const PriceList p = PriceListReader::read(whole.left(n));
            QVERIFY(p.rows.size() <= 12);
            if (p.rows.size() < 12) QVERIFY2(!p.error.isEmpty(), qPrintable(QString::number(n)));
            for (const PriceRow& r : p.rows) QVERIFY(r.offerPrice.isNumber());
        }
    }

    void theShippedListReadsCleanly()
    {
        const PriceList p = PriceListReader::readFile(qEnvironmentVariable("NORVELIA_SOURCE_DIR") +
                                                      QStringLiteral("/resources/listino.txt"));
        QCOMPARE(p.error, QString());
        QVERIFY(p.rows.size() >= 15 && p.rows.size() <= 25);
        int marked = 0;
        for (const PriceRow& r : p.rows) {
            marked += r.name.screenText().contains(QLatin1Char('*'));
            QVERIFY(r.offerPrice.number() <= r.listPrice.number());
            QVERIFY(!r.topic.screenText().contains(QChar::ReplacementCharacter));
        }
        QVERIFY(marked > 0);
    }

    void missingOrUnreadableFile()
    {
        QTemporaryDir dir;
        const PriceList missing = PriceListReader::readFile(dir.filePath(QStringLiteral("listino.txt")));
        QCOMPARE(missing.error, QStringLiteral("Il listino dei prodotti non è disponibile: il file \"listino.txt\" manca o "
                                               "non si può leggere. L'elenco dei prodotti resta vuoto."));
        QVERIFY(missing.rows.empty());
        QVERIFY(missing.head.isEmpty());
        // A folder where the file should be cannot be read either.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("listino.txt")));
        QCOMPARE(PriceListReader::readFile(dir.filePath(QStringLiteral("listino.txt"))).error, missing.error);
    }
};

QTEST_GUILESS_MAIN(TestPriceListReader)
#include "test_pricelistreader.moc"
