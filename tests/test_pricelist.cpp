// The price-list window: loading "listino.txt", paging with VScroll1, the printed table, the links,
// hiding and reopening, and what a bad file leaves the user with.
#include "Fixture.h"
#include "catalogue/prodotti.h"
#include "shell/Maker.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <QtTest>

namespace {
// n products; product 1 costs 1234.5 (999.9 via internet), product k otherwise 100 + k (90 + k).
QByteArray listino(int announced, int present, const QByteArray& prefix = "PROG")
{
    QByteArray out = "\"2001\"," + QByteArray::number(announced) + "\r\n";
    for (int k = 1; k <= present; ++k) {
        const QByteArray prices = k == 1 ? QByteArray("1234.5,999.9") : QByteArray::number(100 + k) + "," + QByteArray::number(90 + k);
        out += "\"" + prefix + QByteArray::number(k) + "\",\"argomento " + QByteArray::number(k) + "\"," + prices + "\r\n";
    }
    return out;
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList column(prodotti* w, VLabel* (prodotti::*array)(int) const)
{
    QStringList out;
    for (int i = 1; i <= 10; ++i) out << (w->*array)(i)->caption();
    return out;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int k = from; k <= to; ++k) out << QString::number(k);
    return out;
}

QTextTableCell cellOf(WordTable* t, int row, int col) { return t->table()->cellAt(row - 1, col - 1); }
Qt::Alignment alignmentOf(WordTable* t, int row, int col)
{
    return cellOf(t, row, col).firstCursorPosition().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}
double sizeOf(const QTextBlock& b)
{
    return b.begin().atEnd() ? b.charFormat().fontPointSize() : b.begin().fragment().charFormat().fontPointSize();
}
} // namespace

class TestPriceList : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTemporaryDir> dataDir;
    QString previousDir;

    QString file() const { return dir->filePath(QStringLiteral("listino.txt")); }
    prodotti* open() { return Forms::instance().ref<prodotti>(QStringLiteral("prodotti")); }
    prodotti* openWith(const QByteArray& bytes)
    {
        write(file(), bytes);
        return open();
    }
    QPushButton* button(prodotti* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
        dir = std::make_unique<QTemporaryDir>();
        // An empty data folder, so that an installed copy of the file never stands in for a missing one.
        dataDir = std::make_unique<QTemporaryDir>();
        qputenv("NORVELIA_DATA_DIR", dataDir->path().toLocal8Bit());
        previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->path()));
    }
    void cleanup()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
        fx.reset();
        QDir::setCurrent(previousDir);
        qunsetenv("NORVELIA_DATA_DIR");
        dir.reset();
        dataDir.reset();
    }

    void twelveRowsPageFromOneToThree()
    {
        prodotti* w = openWith(listino(12, 12));
        QVERIFY(!w->isVisible());
        QCOMPARE(ModNorvelia::state().PriceListHead, QStringLiteral("2001"));
        QCOMPARE(w->Label10()->caption(), QStringLiteral("2001"));
        QScrollBar* s = w->VScroll1();
        QCOMPARE(s->orientation(), Qt::Vertical);
        QCOMPARE(s->minimum(), 1);
        QCOMPARE(s->maximum(), 3);
        QCOMPARE(s->value(), 1);
        QVERIFY(!s->hasTracking());
        QCOMPARE(column(w, &prodotti::num), numbers(1, 10));
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("PROG1"));
        QCOMPARE(w->argom(10)->caption(), QStringLiteral("argomento 10"));

        s->setValue(3);   // the rows follow inside the assignment
        QCOMPARE(column(w, &prodotti::num), numbers(3, 12));
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("PROG3"));
        QCOMPARE(w->nom(10)->caption(), QStringLiteral("PROG12"));
        QCOMPARE(w->eur(10)->caption(), QStringLiteral("112"));
        QCOMPARE(w->off(10)->caption(), QStringLiteral("102"));

        s->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(column(w, &prodotti::num), numbers(2, 11));
        s->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(s->value(), 1);
        QCOMPARE(column(w, &prodotti::num), numbers(1, 10));
        s->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(s->value(), 3);
        QCOMPARE(column(w, &prodotti::num), numbers(3, 12));
        QVERIFY(fx->platform().boxes.isEmpty());
    }

    void exactlyTenRowsNeverMove()
    {
        prodotti* w = openWith(listino(10, 10));
        QScrollBar* s = w->VScroll1();
        QCOMPARE(s->minimum(), 1);
        QCOMPARE(s->maximum(), 1);
        for (auto a : {QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderToMaximum}) {
            s->triggerAction(a);
            QCOMPARE(s->value(), 1);
        }
        QCOMPARE(column(w, &prodotti::num), numbers(1, 10));
        QCOMPARE(w->nom(10)->caption(), QStringLiteral("PROG10"));
        QVERIFY(fx->platform().boxes.isEmpty());
    }

    void pricesOnScreenAreThePlainNumbers()
    {
        prodotti* w = openWith(listino(12, 12));
        QCOMPARE(w->eur(1)->caption(), QStringLiteral("1234,5"));
        QCOMPARE(w->off(1)->caption(), QStringLiteral("999,9"));
        QCOMPARE(w->eur(2)->caption(), QStringLiteral("102"));
        QCOMPARE(w->num(1)->caption(), QStringLiteral("1"));   // no sign position on screen
    }

    void printsTheWholeListAsATable()
    {
        prodotti* w = openWith(listino(12, 12));
        w->VScroll1()->setValue(2);
        QTest::mouseClick(button(w, "cmdstampa"), Qt::LeftButton);
        QCOMPARE(fx->platform().shownDocuments.size(), 1);
        WordDocument* doc = WordOut::currentDoc();
        QVERIFY(doc);
        QVERIFY(WordOut::currentApp()->Visible());

        const QTextDocument* d = doc->text();
        QTextBlock b = d->begin();
        QCOMPARE(b.text(), QStringLiteral("prodotti software VELMORIA"));
        QCOMPARE(sizeOf(b), 20.0);
        QCOMPARE(b.begin().fragment().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Century Gothic"));
        b = b.next();
        QCOMPARE(b.text(), QString());
        b = b.next();
        QCOMPARE(b.text(), QStringLiteral("acquistabili dalla pagina ") + Maker::purchasePage());
        QVERIFY(b.text().endsWith(QStringLiteral("/compra.htm")));
        QCOMPARE(sizeOf(b), 12.0);

        QCOMPARE(doc->tableCount(), 1);
        WordTable* t = doc->Tables(1);
        QCOMPARE(t->rows(), 13);
        QCOMPARE(t->columns(), 5);
        QCOMPARE(t->autoFormat(), 9);
        QCOMPARE(t->cellText(1, 1), QStringLiteral("numero"));
        QCOMPARE(t->cellText(1, 2), QStringLiteral("nome del software"));
        QCOMPARE(t->cellText(1, 3), QStringLiteral("argomento trattato                    "));
        QCOMPARE(t->cellText(1, 4), QStringLiteral("listino in euro"));
        QCOMPARE(t->cellText(1, 5), QStringLiteral("in offerta ad euro"));
        QCOMPARE(t->cellText(2, 1), QStringLiteral(" 1"));   // the sign position of the number text
        QCOMPARE(t->cellText(2, 2), QStringLiteral("PROG1"));
        QCOMPARE(t->cellText(2, 3), QStringLiteral("argomento 1"));
        QCOMPARE(t->cellText(2, 4), QStringLiteral("1.234,50"));
        QCOMPARE(t->cellText(2, 5), QStringLiteral("999,90"));
        QCOMPARE(t->cellText(13, 1), QStringLiteral(" 12"));
        QCOMPARE(t->cellText(13, 4), QStringLiteral("112,00"));
        for (int r = 1; r <= 13; ++r) {
            for (int c = 1; c <= 3; ++c) QVERIFY(alignmentOf(t, r, c) != Qt::AlignRight);
            for (int c = 4; c <= 5; ++c) QCOMPARE(alignmentOf(t, r, c), Qt::AlignRight);
            for (int c = 1; c <= 5; ++c) QCOMPARE(sizeOf(cellOf(t, r, c).firstCursorPosition().block()), 8.0);
        }
        // Printing is no step of the list.
        QCOMPARE(w->VScroll1()->value(), 2);
        QCOMPARE(w->num(1)->caption(), QStringLiteral("2"));
    }

    void printWithoutADocumentWindowLeavesTheListAsItWas()
    {
        prodotti* w = openWith(listino(12, 12));
        fx->platform().documentWindowsOpen = false;
        w->cmdStampa_Click();
        QVERIFY(!WordOut::currentDoc());
        QCOMPARE(fx->platform().boxes.size(), 1);   // the document layer says why
        QCOMPARE(w->num(1)->caption(), QStringLiteral("1"));
    }

    void linksGoThroughTheShell()
    {
        prodotti* w = open();
        QCOMPARE(button(w, "Command1")->text(), QStringLiteral("Sito: ") + Maker::webHost());
        QCOMPARE(button(w, "Command2")->text(), QStringLiteral("Email: ") + Maker::email());
        QTest::mouseClick(button(w, "Command1"), Qt::LeftButton);
        QTest::mouseClick(button(w, "Command2"), Qt::LeftButton);
        QCOMPARE(fx->platform().shellTargets,
                 QStringList({Maker::webAddress() + QStringLiteral("/catalogo.htm"), QStringLiteral("mailto: ") + Maker::email()}));
    }

    void sommarioShowsTheHelpIndex()
    {
        if (!Forms::instance().isDefined(QStringLiteral("sommario"))) QSKIP("the help index is not part of this build");
        prodotti* w = openWith(listino(12, 12));
        QTest::mouseClick(button(w, "cmdsommario"), Qt::LeftButton);
        Form* index = Forms::instance().find(QStringLiteral("sommario"));
        QVERIFY(index && index->isVisible());
    }

    void closingHidesAndKeepsThePosition()
    {
        prodotti* w = openWith(listino(12, 12));
        Forms::instance().show(QStringLiteral("prodotti"));
        w->VScroll1()->setValue(3);
        QTest::mouseClick(button(w, "cmdchiudi"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(Forms::instance().find(QStringLiteral("prodotti")), w);

        // A changed file is not read again while the window stays loaded.
        write(file(), listino(20, 20, "NUOVO"));
        QCOMPARE(Forms::instance().show(QStringLiteral("prodotti")), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->VScroll1()->value(), 3);
        QCOMPARE(w->VScroll1()->maximum(), 3);
        QCOMPARE(w->RowCount(), 12);
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("PROG3"));

        // Loaded anew it reads the file again and starts at the top.
        Forms::instance().unload(QStringLiteral("prodotti"));
        FlushDeletes();
        w = open();
        QCOMPARE(w->RowCount(), 20);
        QCOMPARE(w->VScroll1()->value(), 1);
        QCOMPARE(w->VScroll1()->maximum(), 11);
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("NUOVO1"));
        QVERIFY(fx->platform().boxes.isEmpty());
    }

    void fileFoundInTheDataFolder()
    {
        write(dataDir->filePath(QStringLiteral("listino.txt")), listino(11, 11, "DATI"));
        prodotti* w = open();
        QCOMPARE(w->RowCount(), 11);
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("DATI1"));
        QVERIFY(w->LoadMessage().isEmpty());
        // The current directory comes first.
        Forms::instance().unload(QStringLiteral("prodotti"));
        FlushDeletes();
        w = openWith(listino(12, 12));
        QCOMPARE(w->nom(1)->caption(), QStringLiteral("PROG1"));
    }

    void startUpReadsTheListQuietly()
    {
        write(file(), listino(18, 12));
        ModNorvelia::Start();
        auto* w = Forms::instance().find<prodotti>(QStringLiteral("prodotti"));
        QVERIFY(w && !w->isVisible());
        QCOMPARE(ModNorvelia::state().PriceListHead, QStringLiteral("2001"));
        QVERIFY(!w->LoadMessage().isEmpty());
        QVERIFY(fx->platform().boxes.isEmpty());   // the splash comes up undisturbed
        Forms::instance().show(QStringLiteral("prodotti"));
        QCOMPARE(fx->platform().boxes.size(), 1);
    }

    void badFileStillGivesAUsableWindow_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::newRow("missing") << false << QByteArray() << 0;
        QTest::newRow("empty") << true << QByteArray() << 0;
        QTest::newRow("fewer rows than announced") << true << listino(18, 12) << 12;
        QByteArray text = listino(12, 4) + "\"PROG5\",\"argomento 5\",\"molto\",2\r\n" + listino(12, 12).mid(11);
        QTest::newRow("price not a number") << true << text << 4;
        QTest::newRow("count not a number") << true << QByteArray("\"2001\",xii\r\n" + listino(12, 12).mid(11)) << 0;
        QTest::newRow("more than 100") << true << listino(120, 120) << 100;
        QTest::newRow("fewer than 10") << true << listino(7, 7) << 7;
        QTest::newRow("unclosed quote") << true << QByteArray(listino(12, 3) + "\"PROG4,argomento 4,1,2\r\n") << 3;
    }
    void badFileStillGivesAUsableWindow()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        if (present) write(file(), bytes);
        ModNorvelia::LoadPriceListWindow();
        auto* w = Forms::instance().find<prodotti>(QStringLiteral("prodotti"));
        QVERIFY(w && !w->isVisible());
        QVERIFY(fx->platform().boxes.isEmpty());
        QCOMPARE(w->RowCount(), rows);
        QVERIFY(!w->LoadMessage().isEmpty());

        QScrollBar* s = w->VScroll1();
        QCOMPARE(s->minimum(), 1);
        QCOMPARE(s->maximum(), std::max(1, rows - 9));
        s->triggerAction(QAbstractSlider::SliderToMaximum);
        const int v = s->value();
        for (int i = 1; i <= 10; ++i) {
            const int k = v + i - 1;
            if (k <= rows) {
                QCOMPARE(w->num(i)->caption(), QString::number(k));
                QVERIFY(w->nom(i)->caption().startsWith(QStringLiteral("PROG")));
                QVERIFY(!w->off(i)->caption().isEmpty());
            } else {
                for (VLabel* l : {w->num(i), w->nom(i), w->argom(i), w->eur(i), w->off(i)}) QCOMPARE(l->caption(), QString());
            }
        }

        // Told once, when the user first opens the list.
        Forms::instance().show(QStringLiteral("prodotti"));
        QCOMPARE(fx->platform().boxes.size(), 1);
        const MsgBoxRequest& box = fx->platform().boxes[0];
        QCOMPARE(box.text, w->LoadMessage());
        QCOMPARE(box.title, QStringLiteral("Norvelia: listino dei prodotti"));
        QCOMPARE(box.buttons, MsgButtons::OK);
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        w->cmdchiudi_Click();
        Forms::instance().show(QStringLiteral("prodotti"));
        QCOMPARE(fx->platform().boxes.size(), 1);

        // The print holds what the window holds.
        w->cmdStampa_Click();
        QCOMPARE(WordOut::currentDoc()->Tables(1)->rows(), rows + 1);
    }
};

QTEST_MAIN(TestPriceList)
#include "test_pricelist.moc"
