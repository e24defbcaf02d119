// Online help: the help index, the help pages and their printing, the licence, the tip of the day.
#include "Fixture.h"
#include "help/HelpPageWindow.h"
#include "help/frmTip.h"
#include "help/sommario.h"
#include "platform/Twips.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

namespace {
sommario* index() { return Forms::instance().ref<sommario>(QStringLiteral("sommario")); }
QList<QTextBlock> blocks(const QTextDocument* d)
{
    QList<QTextBlock> out;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) out << b;
    return out;
}
double sizeOf(const QTextBlock& b)
{
    return b.begin().atEnd() ? b.charFormat().fontPointSize() : b.begin().fragment().charFormat().fontPointSize();
}
int boldCount(sommario* s)
{
    int n = 0;
    for (int i = 1; i <= 15; ++i) n += s->lbl(i)->isBold();
    return n;
}

// Stand-in for the price list where it is not defined.
class Stub : public Form {
public:
    explicit Stub(const QString& n) : Form(n) {}
};
} // namespace

class TestHelp : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        if (!Forms::instance().isDefined(QStringLiteral("prodotti")))
            Forms::instance().define(QStringLiteral("prodotti"), [] { return new Stub(QStringLiteral("prodotti")); });
        ModNorvelia::InitSharedState();
    }
    void cleanup()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
        fx.reset();
    }

    void indexEntries()
    {
        sommario* s = index();
        QCOMPARE(s->windowTitle(), QStringLiteral("Norvelia: guida in linea"));
        QCOMPARE(s->lbl(1)->caption(), QStringLiteral("  Manuale d'uso rapido"));
        QCOMPARE(s->lbl(4)->caption(), QStringLiteral(" Come stampare"));
        QCOMPARE(s->lbl(14)->caption(), QStringLiteral("  Licenza d'uso di \"Norvelia\""));
        QCOMPARE(s->lbl(14)->backColor(), QColor(255, 0, 0));
        QCOMPARE(s->lbl(15)->backColor(), QColor(255, 255, 0));
        QCOMPARE(s->lbl(3)->backColor(), QColor(0, 255, 255));
        QCOMPARE(s->findChild<QPushButton*>(QStringLiteral("cmduscita"))->toolTip(), QStringLiteral("cliccare pere uscire da Norvelia"));
        QCOMPARE(s->innerWidth(), 3855.0);
        QCOMPARE(s->innerHeight(), 6420.0);
        QCOMPARE(sommario::EntryTarget(0), QStringLiteral("manuale"));
        QCOMPARE(sommario::EntryTarget(16), QStringLiteral("manuale"));
    }

    void everyEntryOpensItsWindow()
    {
        sommario* s = index();
        s->show();
        for (int i = 1; i <= 15; ++i) {
            QTest::mouseClick(s->puls(i), Qt::LeftButton);
            const QString target = sommario::EntryTarget(i);
            Form* f = Forms::instance().find(target);
            QVERIFY2(f && f->isVisible(), qPrintable(target));
        }
        QCOMPARE(sommario::EntryTarget(13), QStringLiteral("frmTip"));
        QCOMPARE(sommario::EntryTarget(15), QStringLiteral("prodotti"));
    }

    void highlightFollowsTheMouse()
    {
        sommario* s = index();
        s->show();
        QTest::mouseMove(s->lbl(3), QPoint(5, 5));
        QVERIFY(s->lbl(3)->isBold());
        QTest::mouseMove(s->lbl(7), QPoint(5, 5));
        QVERIFY(s->lbl(7)->isBold());
        QCOMPARE(boldCount(s), 1);
        QTest::mouseMove(s->client(), QPoint(s->client()->width() - 3, 3));
        QCOMPARE(boldCount(s), 0);
    }

    void entryOpensOnPress()
    {
        sommario* s = index();
        s->show();
        QTest::mousePress(s->lbl(6), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(Forms::instance().find(QStringLiteral("guidaedilizia"))->isVisible());
        QVERIFY(!s->lbl(6)->hasBorder());
        QTest::mouseRelease(s->lbl(6), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(s->lbl(6)->hasBorder());
    }

    void closingHidesAndReopeningShowsTheSameIndex()
    {
        sommario* s = index();
        s->show();
        QTest::mouseClick(s->findChild<QPushButton*>(QStringLiteral("cmdchiudi")), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        auto* page = Forms::instance().show(QStringLiteral("guidaenti"));
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("cmdSommario")), Qt::LeftButton);
        QCOMPARE(Forms::instance().find(QStringLiteral("sommario")), s);
        QVERIFY(s->isVisible());
        QVERIFY(page->isVisible());   // the page stays open behind
    }

    void helpPagesAndTheirDifferences()
    {
        for (const HelpPageDef& d : HelpPages::all()) {
            auto* p = Forms::instance().ref<HelpPageWindow>(QString::fromLatin1(d.name));
            QVERIFY(p);
            QCOMPARE(p->windowTitle(), QStringLiteral("Guida in linea"));
            QCOMPARE(p->Label1()->caption(), QString::fromUtf8(d.title));
            QVERIFY(!p->Label2()->caption().isEmpty());
            const bool manual = QLatin1String(d.name) == QLatin1String("manuale");
            QCOMPARE(p->innerWidth(), manual ? 9480.0 : 5520.0);
            QCOMPARE(p->innerHeight(), 6420.0);
            if (!manual) QVERIFY(qAbs(p->leftTw() - 5467) <= Twips::perPixelX());
        }
        QWidget* m = Forms::instance().find(QStringLiteral("manuale"));
        QVERIFY(m->findChild<QPushButton*>(QStringLiteral("cmdsommario")));
        QCOMPARE(m->findChild<QPushButton*>(QStringLiteral("cmdstampa"))->toolTip(),
                 QStringLiteral("cliccare per avere la copia su carta del MANUALE D'USO RAPIDO"));
        QVERIFY(Forms::instance().find(QStringLiteral("guidafunzionamento"))->findChild<QPushButton*>(QStringLiteral("CmdSommario")));
        QCOMPARE(Forms::instance().find<HelpPageWindow>(QStringLiteral("guidaespropriazioni"))->Label2()->caption(),
                 QStringLiteral("Questa finestra è in fase di aggiornamento."));
        QVERIFY(Forms::instance().find<HelpPageWindow>(QStringLiteral("guidaarchivio"))->Label2()->caption().contains(QStringLiteral("fonti ufficiali")));
    }

    // Each long help text keeps near the length its page was laid out for and fits its label whole.
    void helpTextsFitTheirPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("length");
        const std::pair<const char*, int> pages[] = {{"manuale", 2182},           {"guidafunzionamento", 1201}, {"guidaarchivio", 1205},
                                                     {"guidastampa", 1207},       {"guidascelta", 1252},        {"guidaedilizia", 1265},
                                                     {"guidaurbanistica", 1265},  {"guidaprofessionisti", 1253}, {"guidacondominio", 1199},
                                                     {"guidaenti", 1203},         {"guidaimprese", 1250}};
        for (const auto& [page, length] : pages) QTest::newRow(page) << QString::fromLatin1(page) << length;
    }

    void helpTextsFitTheirPages()
    {
        QFETCH(QString, page);
        QFETCH(int, length);
        const VLabel* label = Forms::instance().ref<HelpPageWindow>(page)->Label2();
        const QString text = label->caption();
        QVERIFY2(qAbs(text.size() - length) <= length / 20, qPrintable(QStringLiteral("%1 characters").arg(text.size())));
        const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->width(), 1 << 20), Qt::TextWordWrap, text);
        QVERIFY2(needed.height() <= label->height(), qPrintable(QStringLiteral("%1 of %2 pixels").arg(needed.height()).arg(label->height())));
    }

    void closingAPageDestroysIt()
    {
        auto* p = Forms::instance().show(QStringLiteral("guidastampa"));
        p->setOuterWidth(8000);
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("guidastampa")));
        FlushDeletes();
        auto* again = Forms::instance().show(QStringLiteral("guidastampa"));
        QCOMPARE(again->innerWidth(), 5520.0);
    }

    void printingAHelpPage()
    {
        auto* p = Forms::instance().show(QStringLiteral("guidaespropriazioni"));
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("cmdStampa")), Qt::LeftButton);
        const QList<QTextBlock> b = blocks(WordOut::currentDoc()->text());
        QCOMPARE(b.size(), 8);   // the text's paragraph mark leaves the document's last, empty paragraph
        QCOMPARE(b[7].text(), QString());
        QCOMPARE(b[0].text(), QStringLiteral("Norvelia"));
        QCOMPARE(sizeOf(b[0]), 20.0);
        QCOMPARE(b[1].text(), QStringLiteral("massime sull'edilizia"));
        QCOMPARE(sizeOf(b[1]), 16.0);
        QCOMPARE(b[2].text(), QString());
        QCOMPARE(b[3].text(), QString());
        QCOMPARE(b[4].text(), QStringLiteral("Guida: FINESTRA ESPROPRIAZIONI"));
        QCOMPARE(sizeOf(b[4]), 16.0);
        QCOMPARE(b[5].text(), QString());
        QCOMPARE(b[6].text(), QStringLiteral("Questa finestra è in fase di aggiornamento."));
        QCOMPARE(sizeOf(b[6]), 12.0);
        // A page of many lines types each as a paragraph.
        auto* manual = Forms::instance().show(QStringLiteral("manuale"));
        QTest::mouseClick(manual->findChild<QPushButton*>(QStringLiteral("cmdstampa")), Qt::LeftButton);
        const QStringList lines = HelpPages::text(HelpPages::all()[0]).split(QLatin1Char('\n'));
        const QList<QTextBlock> m = blocks(WordOut::currentDoc()->text());
        QCOMPARE(m.size(), 6 + int(lines.size()) + 1);
        for (int i = 0; i < lines.size(); ++i) QCOMPARE(m[6 + i].text(), lines[i]);
        Forms::instance().unload(QStringLiteral("manuale"));
        for (const QTextBlock& x : b) QCOMPARE(x.blockFormat().alignment(), Qt::AlignJustify);
        WordDocument* first = WordOut::currentDoc();
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("cmdStampa")), Qt::LeftButton);
        QVERIFY(WordOut::currentDoc() != first);
        QCOMPARE(WordApplication::instances().size(), 3);
    }

    void licence()
    {
        auto* l = Forms::instance().show(QStringLiteral("licenza"));
        auto* lic = dynamic_cast<licenza*>(l);
        QCOMPARE(lic->windowTitle(), QStringLiteral("LICENZA D'USO"));
        QCOMPARE(lic->Label2()->caption(), QStringLiteral("Norvelia"));
        QVERIFY(lic->Text1()->isReadOnly());
        const QString terms = licenza::LicenceText();
        QVERIFY(terms.size() > 2500);
        QVERIFY(terms.contains(QStringLiteral("\r\n")));
        QTest::mouseClick(lic->findChild<QPushButton*>(QStringLiteral("cmdstampa")), Qt::LeftButton);
        const QList<QTextBlock> b = blocks(WordOut::currentDoc()->text());
        QCOMPARE(b[4].text(), terms.split(QStringLiteral("\r\n")).first());   // no "Guida: " heading
        QCOMPARE(b.size(), 4 + int(terms.split(QStringLiteral("\r\n")).size()) + 1);
        QTest::mouseClick(lic->findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
        QVERIFY(!lic->isVisible());
        QVERIFY(Forms::instance().isLoaded(QStringLiteral("licenza")));
    }

    void wholeGuide()
    {
        QTemporaryDir dir;
        const QString path = sommario::GuidePath();
        QFile::remove(path);
        sommario* s = index();
        s->cmdStampa_Click();
        const QTextDocument* d = WordOut::currentDoc()->text();
        const QList<QTextBlock> b = blocks(d);
        QCOMPARE(b[0].text(), QStringLiteral("Norvelia"));
        QCOMPARE(sizeOf(b[0]), 20.0);
        QCOMPARE(sizeOf(b[1]), 16.0);
        QCOMPARE(b[2].text(), QString());
        QCOMPARE(b[3].text(), QString());
        QCOMPARE(b[4].text(), QStringLiteral("Guida: MANUALE D'USO RAPIDO"));
        QCOMPARE(sizeOf(b[4]), 16.0);
        int headings = 0, breaks = 0;
        for (const QTextBlock& x : b) {
            QCOMPARE(x.blockFormat().alignment(), Qt::AlignJustify);
            if (x.text().startsWith(QStringLiteral("Guida: "))) {
                ++headings;
                if (headings > 1) QCOMPARE(sizeOf(x), 12.0);
            }
            if (x.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
                ++breaks;
                QVERIFY(x.text().startsWith(QStringLiteral("Guida: ")));
            }
        }
        QCOMPARE(headings, 12);
        QCOMPARE(breaks, 11);
        // Each line of a help text is a paragraph of its own, never a line broken inside a justified
        // paragraph; the manual's lines follow its heading one by one.
        for (const QTextBlock& x : b) QVERIFY2(!x.text().contains(QChar::LineSeparator), qPrintable(x.text().left(60)));
        const QStringList manual = HelpPages::text(HelpPages::all()[0]).split(QLatin1Char('\n'));
        QVERIFY(manual.size() > 3);
        for (int i = 0; i < manual.size(); ++i) QCOMPARE(b[6 + i].text(), manual[i]);
        QCOMPARE(b.last().text(), QString());   // page 12 ends with its paragraph mark alone
        // The pages it needed were created hidden and stay hidden.
        for (const HelpPageDef& p : HelpPages::all()) {
            Form* f = Forms::instance().find(QString::fromLatin1(p.name));
            QVERIFY(f && !f->isVisible());
        }
        // Saved under the product's name; a second print asks before replacing it.
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Norvelia-guida.doc"));
        QCOMPARE(WordOut::currentDoc()->FullName(), QFileInfo(path).absoluteFilePath());
        const QDateTime before = QFileInfo(path).lastModified();
        s->cmdStampa_Click();   // answered No
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes[0].text.contains(QStringLiteral("esiste già")));
        QVERIFY(WordOut::currentDoc()->FullName().isEmpty());
        QCOMPARE(QFileInfo(path).lastModified(), before);
        QFile::remove(path);
    }

    void tipsInOrderWithWrapAround()
    {
        QTemporaryDir dir;
        auto* t = new frmTip;
        const QString path = dir.filePath(QStringLiteral("tips.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("uno\r\ndue\r\ntre\r\n");
        f.close();
        QVERIFY(t->LoadTips(path));
        QCOMPARE(t->TipList(), QStringList({"uno", "due", "tre"}));   // a final CR LF adds no tip
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("uno"));
        t->cmdprecedente_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("uno"));
        t->cmdNextTip_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("due"));
        t->cmdNextTip_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("tre"));
        t->cmdNextTip_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("uno"));
        t->cmdNextTip_Click();
        t->cmdNextTip_Click();
        t->cmdprecedente_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("due"));
        t->cmdprecedente_Click();
        QCOMPARE(t->lblTipText()->caption(), QStringLiteral("uno"));
        delete t;
    }

    void tipFileLines()
    {
        QCOMPARE(frmTip::SplitTips("a\rb\nc\r\n\r\nd"), QStringList({"a", "b", "c", "", "d"}));   // blank line is a tip
        QCOMPARE(frmTip::SplitTips("solo"), QStringList({"solo"}));
        QCOMPARE(frmTip::SplitTips(""), QStringList());
        QCOMPARE(frmTip::SplitTips("perch\xe9"), QStringList({QStringLiteral("perché")}));   // Windows Western code page
    }

    void missingAndEmptyTipFiles()
    {
        QTemporaryDir dir;
        auto* t = new frmTip;
        QVERIFY(!t->LoadTips(QString()));
        QVERIFY(!t->LoadTips(dir.filePath(QStringLiteral("manca.txt"))));
        const QString empty = dir.filePath(QStringLiteral("vuoto.txt"));
        QFile f(empty);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(t->LoadTips(empty));
        QVERIFY(t->TipList().isEmpty());
        QCOMPARE(t->lblTipText()->caption(), QString());
        t->cmdNextTip_Click();
        t->cmdprecedente_Click();
        QCOMPARE(t->lblTipText()->caption(), QString());
        delete t;
        QCOMPARE(frmTip::MissingFileText(),
                 QStringLiteral("Impossibile trovare il file SuggerimentiNorvelia.TXT\r\n\r\nCreare un file di testo denominato "
                                "SuggerimentiNorvelia.TXT utilizzando il Blocco note e inserendo un suggerimento per ogni riga. "
                                "Inserire il file nella stessa directory dell'applicazione. "));
    }

    void tipWindowReadsTheInstalledFileAndKeepsItsTip()
    {
        // No tips file beside the test programs: the window falls back on the data folder.
        QTemporaryDir dir;
        qputenv("NORVELIA_DATA_DIR", QFile::encodeName(dir.path()));
        auto* missing = Forms::instance().show<frmTip>(QStringLiteral("frmTip"));
        QCOMPARE(missing->lblTipText()->caption(), frmTip::MissingFileText());
        missing->cmdNextTip_Click();   // the message stays; the index moves to 1
        QCOMPARE(missing->TipIndex(), 1);
        QCOMPARE(missing->lblTipText()->caption(), frmTip::MissingFileText());
        Forms::instance().unload(QStringLiteral("frmTip"));

        QFile f(dir.filePath(frmTip::TipFileName()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("primo\r\nsecondo\r\nterzo");
        f.close();
        auto* tip = Forms::instance().show<frmTip>(QStringLiteral("frmTip"));
        QCOMPARE(tip->TipList().size(), 3);
        tip->cmdNextTip_Click();
        QCOMPARE(tip->lblTipText()->caption(), QStringLiteral("secondo"));
        QTest::mouseClick(tip->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!tip->isVisible());
        f.remove();   // reopening does not read the file again
        index()->puls_Click(13);
        QCOMPARE(Forms::instance().find(QStringLiteral("frmTip")), tip);
        QVERIFY(tip->isVisible());
        QCOMPARE(tip->lblTipText()->caption(), QStringLiteral("secondo"));
        qunsetenv("NORVELIA_DATA_DIR");
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
