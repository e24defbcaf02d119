// Printing maxims from an archive window into documents.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QTextBlock>
#include <QtTest>

namespace {
QList<QTextBlock> blocks(const QTextDocument* d)
{
    QList<QTextBlock> out;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) out << b;
    return out;
}
int pageBreaks(const QTextDocument* d)
{
    int n = 0;
    for (const QTextBlock& b : blocks(d)) n += bool(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    return n;
}
QStringList headings(const QTextDocument* d)
{
    QStringList out;
    for (const QTextBlock& b : blocks(d))
        if (b.text().startsWith(QStringLiteral("Massime sul condominio: "))) out << b.text();
    return out;
}
double sizeOf(const QTextBlock& b)
{
    return b.begin().atEnd() ? b.charFormat().fontPointSize() : b.begin().fragment().charFormat().fontPointSize();
}
} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;
    ArchiveWindow* w = nullptr;

    void chooseTopic10()
    {
        w->List1()->setCurrentRow(9);   // "Assemblea", 12 maxims in this data
    }
    WordDocument* lastDoc() { return WordOut::currentDoc(); }

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
        QByteArray data = SampleArchiveData(QStringLiteral("condominio"), {{10, 12}});
        ArchiveData::setOverride(QStringLiteral("condominio"), data);
        w = Forms::instance().ref<ArchiveWindow>(QStringLiteral("condominio"));
    }
    void cleanup()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
        fx.reset();
    }

    void refusesWithNoTopic_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("button") << 0;
        QTest::newRow("menu, maxim on screen") << 1;
        QTest::newRow("menu, all maxims") << 2;
    }
    void refusesWithNoTopic()
    {
        QFETCH(int, command);
        const QString passo = w->passo()->caption();
        if (command == 0) QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("stampiamo")), Qt::LeftButton);
        else if (command == 1) w->stampa_Click();
        else w->stampatutte_Click();
        QCOMPARE(fx->platform().boxes.size(), 1);
        const MsgBoxRequest& b = fx->platform().boxes[0];
        QCOMPARE(b.text, QStringLiteral("Non vi è nulla da stampare: scegliere un argomento da visualizzare."));
        QCOMPARE(b.title, QStringLiteral("Norvelia: controllo dati immessi nella finestra attiva"));
        QCOMPARE(b.icon, MsgIcon::Exclamation);
        QVERIFY(fx->platform().shownDocuments.isEmpty());
        QVERIFY(WordApplication::instances().isEmpty());
        QCOMPARE(w->passo()->caption(), passo);
        QCOMPARE(w->PrintAll(), 0);
    }

    void printsAllMaximsOnePerPage()
    {
        chooseTopic10();
        w->stampatutte_Click();
        const QTextDocument* d = lastDoc()->text();
        const QList<QTextBlock> bs = blocks(d);
        QCOMPARE(bs[0].text(), QStringLiteral("NORVELIA - massime sull'edilizia"));
        QCOMPARE(bs[1].text(), QString());
        QCOMPARE(sizeOf(bs[0]), 18.0);
        QCOMPARE(sizeOf(bs[1]), 18.0);
        const QStringList h = headings(d);
        QCOMPARE(h.size(), 12);
        for (int k = 1; k <= 12; ++k) QCOMPARE(h[k - 1], QStringLiteral("Massime sul condominio: Assemblea    n.%1").arg(k));
        QCOMPARE(pageBreaks(d), 11);
        // No paragraph mark after the last text: the document ends with the last maxim.
        QCOMPARE(bs.last().text(), SampleMaxim(QStringLiteral("condominio"), 10, 12));
        QCOMPARE(bs.size(), 2 + 12 * 2);
        for (int i = 2; i < bs.size(); ++i) QCOMPARE(sizeOf(bs[i]), 12.0);
        for (const QTextBlock& b : bs) {
            QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
            QCOMPARE(b.begin().atEnd() ? b.charFormat().fontFamilies().toStringList().value(0) : b.begin().fragment().charFormat().fontFamilies().toStringList().value(0),
                     QStringLiteral("Century Gothic"));
        }
        // Each page after the first starts with its heading.
        for (const QTextBlock& b : bs)
            if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                QVERIFY(b.text().startsWith(QStringLiteral("Massime sul condominio: ")));
        // The window stepped through them and stands on the end-of-topic line.
        QCOMPARE(w->HScroll1()->value(), 13);
        QCOMPARE(w->conta()->caption(), QStringLiteral("13"));
        QVERIFY(w->sent()->toPlainText().contains(QStringLiteral("non esistono altre massime")));
        QCOMPARE(w->PrintAll(), 0);
        QCOMPARE(w->passo()->caption(), QStringLiteral("ho visualizzato il testo su WORD"));
        QCOMPARE(fx->platform().shownDocuments.size(), 1);
        QVERIFY(WordOut::currentApp()->Visible());
    }

    void printsFromTheMaximOnScreen()
    {
        chooseTopic10();
        w->HScroll1()->setValue(5);
        w->stampatutte_Click();
        const QStringList h = headings(lastDoc()->text());
        QCOMPARE(h.size(), 8);
        QVERIFY(h.first().endsWith(QStringLiteral("n.5")));
        QVERIFY(h.last().endsWith(QStringLiteral("n.12")));
        QCOMPARE(pageBreaks(lastDoc()->text()), 7);
    }

    void lastMaximAloneHasNoPageBreak()
    {
        chooseTopic10();
        w->HScroll1()->setValue(12);
        w->stampatutte_Click();
        QCOMPARE(headings(lastDoc()->text()), QStringList({"Massime sul condominio: Assemblea    n.12"}));
        QCOMPARE(pageBreaks(lastDoc()->text()), 0);
    }

    void singlePrintLeavesTheWindowAsItWas()
    {
        chooseTopic10();
        w->HScroll1()->setValue(4);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("stampiamo")), Qt::LeftButton);
        const QList<QTextBlock> bs = blocks(lastDoc()->text());
        QCOMPARE(bs.size(), 4);
        QCOMPARE(bs[2].text(), QStringLiteral("Massime sul condominio: Assemblea    n.4"));
        QCOMPARE(bs[3].text(), SampleMaxim(QStringLiteral("condominio"), 10, 4));
        QCOMPARE(w->HScroll1()->value(), 4);
        QCOMPARE(w->conta()->caption(), QStringLiteral("4"));
    }

    void printOfTheEndOfTopicLine()
    {
        chooseTopic10();
        w->HScroll1()->setValue(13);
        w->stampa_Click();
        const QList<QTextBlock> bs = blocks(lastDoc()->text());
        QCOMPARE(bs.size(), 4);
        QCOMPARE(bs[2].text(), QStringLiteral("Massime sul condominio: Assemblea    n.13"));
        QCOMPARE(bs[3].text(), QString());
    }

    void everyPrintIsANewDocument()
    {
        chooseTopic10();
        w->stampa_Click();
        WordApplication* first = WordOut::currentApp();
        WordDocument* firstDoc = lastDoc();
        w->stampa_Click();
        QVERIFY(WordOut::currentApp() != first);
        QVERIFY(lastDoc() != firstDoc);
        QCOMPARE(WordApplication::instances().size(), 2);   // the earlier one stays open
        QCOMPARE(first->DocumentsCount(), 1);
        QCOMPARE(fx->platform().shownDocuments.size(), 2);
        QVERIFY(firstDoc->Name() != lastDoc()->Name());
    }

    void topicFillingEveryPlaceEndsAtItsLastMaxim()
    {
        // Not in the archives' data, but a topic may not overrun the table: 100 maxims in 100 places.
        QByteArray data = "@topic 10 Assemblea\n";
        for (int m = 1; m <= 100; ++m) data += SampleMaxim(QStringLiteral("condominio"), 10, m).toUtf8() + '\n';
        ArchiveData::setOverride(QStringLiteral("condominio"), data);
        Forms::instance().unload(QStringLiteral("condominio"));
        w = Forms::instance().ref<ArchiveWindow>(QStringLiteral("condominio"));
        chooseTopic10();
        w->HScroll1()->setValue(97);
        w->stampatutte_Click();
        const QStringList h = headings(lastDoc()->text());
        QCOMPARE(h.size(), 4);
        QVERIFY(h.last().endsWith(QStringLiteral("n.100")));
        QCOMPARE(w->HScroll1()->value(), 100);
    }

    void documentThatCannotOpenLeavesTheWindow()
    {
        chooseTopic10();
        const QString passo = w->passo()->caption();
        fx->platform().documentWindowsOpen = false;
        w->stampatutte_Click();
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(fx->platform().boxes[0].text, WordOut::CannotCreateText());
        QCOMPARE(w->passo()->caption(), passo);
        QCOMPARE(w->HScroll1()->value(), 1);
        QVERIFY(WordApplication::instances().isEmpty());
        QVERIFY(!WordOut::currentDoc());
    }

    void everyArchiveUsesItsPrefix()
    {
        InstallFullSampleData();
        Forms::instance().unload(QStringLiteral("condominio"));   // loaded with the small data of init()
        for (const ArchiveDefinition& a : Archives::all()) {
            auto* aw = Forms::instance().ref<ArchiveWindow>(a.name());
            int t = 1;
            while (a.topicMaxims(t) == 0) ++t;
            aw->List1()->setCurrentRow(t - 1);
            aw->stampa_Click();
            const QList<QTextBlock> bs = blocks(lastDoc()->text());
            QCOMPARE(bs[0].text(), QStringLiteral("NORVELIA - massime sull'edilizia"));
            QCOMPARE(bs[2].text(), QString::fromUtf8(a.maximLinePrefix) + a.topicTitle(t) + QStringLiteral("    n.1"));
        }
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
