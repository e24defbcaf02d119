// The search window and what reaches it: opening it, typing, opening a hit in its archive window,
// copying, printing, closing; and the command-line search.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "search/ricerca.h"
#include "raccolte/RaccoltaDocument.h"
#include <QMimeData>
#include "shell/CommandLine.h"
#include "shell/scelta.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QTextBlock>
#include <QtTest>

class TestSearchWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

    ricerca* openSearch(const QString& query)
    {
        auto* r = Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
        r->testo()->clear();
        QTest::keyClicks(r->testo(), query);
        return r;
    }

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
    }
    void cleanup()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
        fx.reset();
    }

    void reachedFromTheMenuAndEveryArchive()
    {
        auto* menu = Forms::instance().show<scelta>(QStringLiteral("scelta"));
        QTest::mouseClick(menu->findChild<QPushButton*>(QStringLiteral("trova")), Qt::LeftButton);
        auto* r = Forms::instance().find<ricerca>(QStringLiteral("ricerca"));
        QVERIFY(r && r->isVisible());
        QCOMPARE(r->caption(), QStringLiteral("Norvelia: ricerca nelle massime"));
        for (const ArchiveDefinition& a : Archives::all()) {
            r->chiudi_Click();
            QVERIFY(!r->isVisible());
            auto* w = Forms::instance().find<ArchiveWindow>(a.name());
            auto* modif = w->findChild<QMenu*>(QStringLiteral("modif"));
            const QList<QAction*> items = modif->actions();
            const auto trova = std::find_if(items.begin(), items.end(),
                                            [](QAction* i) { return i->text() == QLatin1String("&Trova nelle massime..."); });
            QVERIFY(trova != items.end() && trova != items.begin());
            QVERIFY((*std::prev(trova))->isSeparator());
            QCOMPARE((*trova)->shortcut(), QKeySequence(Qt::Key_F3));
            (*trova)->trigger();
            QCOMPARE(Forms::instance().find<ricerca>(QStringLiteral("ricerca")), r);   // one instance
            QVERIFY(r->isVisible());
        }
    }

    void typingShowsTheHits()
    {
        ricerca* r = openSearch(QStringLiteral("revoca amministratore"));
        QVERIFY(r->risultati()->model()->rowCount() > 3);
        QVERIFY(r->esito()->caption().contains(QStringLiteral(" massime trovate (")));
        QVERIFY(r->archivio()->itemText(5).startsWith(QStringLiteral("Condominio (")));
        QTest::keyClicks(r->testo(), QStringLiteral(" zzzqqq"));
        QVERIFY(r->avviso()->caption().contains(QStringLiteral("Nessuna massima contiene tutte le parole")));
        r->testo()->clear();
        QCOMPARE(r->risultati()->model()->rowCount(), 0);
    }

    void openingAHitShowsItInItsArchive()
    {
        Forms::instance().show(QStringLiteral("scelta"));
        ricerca* r = openSearch(QStringLiteral("Cass. 10957/1996"));
        QCOMPARE(r->risultati()->model()->rowCount(), 1);
        r->risultati()->setFocus();
        QTest::keyClick(r->risultati(), Qt::Key_Return);
        auto* w = Forms::instance().find<ArchiveWindow>(QStringLiteral("condominio"));
        QVERIFY(w->isVisible());
        const MaximEntry& e = SearchIndex::shared().entry(r->result().hits.front().id);
        QCOMPARE(w->CurrentTopic(), e.topic);
        QCOMPARE(w->CurrentMaxim(), e.maxim);
        QCOMPARE(w->List1()->currentRow(), e.topic - 1);
        QCOMPARE(w->HScroll1()->value(), e.maxim);
        QCOMPARE(w->conta()->caption(), QString::number(e.maxim));
        QCOMPARE(w->sent()->toPlainText(), e.text);
        QVERIFY(w->passo()->caption().startsWith(QStringLiteral("visualizzazione delle ")));
        QCOMPARE(r->testo()->text(), QStringLiteral("Cass. 10957/1996"));   // the search is kept
        // From the window on that maxim, a step goes on as from any other.
        w->HScroll1()->setValue(e.maxim + 1);
        QCOMPARE(w->conta()->caption(), QString::number(e.maxim + 1));
    }

    void copyingGivesHeadingAndText()
    {
        ricerca* r = openSearch(QStringLiteral("revoca amministratore"));
        r->risultati()->selectionModel()->select(r->risultati()->model()->index(1, 0), QItemSelectionModel::Select);
        QTest::keySequence(r->risultati(), QKeySequence::Copy);
        const QString copied = QGuiApplication::clipboard()->text();
        const MaximEntry& first = SearchIndex::shared().entry(r->result().hits[0].id);
        const MaximEntry& second = SearchIndex::shared().entry(r->result().hits[1].id);
        QCOMPARE(copied, MaximCorpus::headingLine(first) + QLatin1Char('\n') + first.text + QStringLiteral("\n\n") +
                             MaximCorpus::headingLine(second) + QLatin1Char('\n') + second.text);
        QVERIFY(copied.startsWith(QStringLiteral("Massime sul condominio: Amministratore    n.")));

        auto* w = Forms::instance().ref<ArchiveWindow>(QStringLiteral("condominio"));
        w->copia_Click();   // no topic chosen yet
        QCOMPARE(fx->platform().boxes.size(), 1);
        w->List1()->setCurrentRow(6);
        w->List1_Click();
        w->HScroll1()->setValue(3);
        qobject_cast<QAction*>(w->controlNamed(QStringLiteral("copia")))->trigger();
        // The maxim on screen is quoted as a brief quotes it, without the print's heading.
        const ShortCitation::Form form = RaccoltaDocument::preferredForm();
        const QString expected = ShortCitation::quote(w->content().MaximTexts(7, 3), form);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), ShortCitation::quoteHtml(w->content().MaximTexts(7, 3), form));
        QCOMPARE(w->MaximCopyText(), expected);
    }

    void filtersKeepWhatTheirCountsSay()
    {
        ricerca* r = openSearch(QStringLiteral("responsabilita"));   // typed without its accent
        const int all = r->risultati()->model()->rowCount();
        const QRegularExpression count(QStringLiteral("\\((\\d+)\\)$"));
        auto shown = [&](QComboBox* box, int i) { return count.match(box->itemText(i)).captured(1).toInt(); };
        QCOMPARE(shown(r->archivio(), 0), all);
        const int condominio = shown(r->archivio(), 5);
        QVERIFY(condominio > 0 && condominio < all);
        r->archivio()->setCurrentIndex(5);
        QCOMPARE(r->risultati()->model()->rowCount(), condominio);
        QCOMPARE(r->archivio()->currentIndex(), 5);   // the choice survives the recount
        QCOMPARE(shown(r->autorita(), 0), condominio);
        // The most cited statute among the hits, then a year span.
        const int cited = shown(r->norme(), 1);
        r->norme()->setCurrentIndex(1);
        QCOMPARE(r->risultati()->model()->rowCount(), cited);
        r->dal()->setValue(1990);
        r->al()->setValue(1995);
        for (const SearchIndex::Hit& h : r->result().hits) {
            const MaximEntry& e = SearchIndex::shared().entry(h.id);
            QVERIFY(e.archive == 4 && e.citation.year >= 1990 && e.citation.year <= 1995);
        }
        QTest::mouseClick(r->findChild<QPushButton*>(QStringLiteral("azzera")), Qt::LeftButton);
        QCOMPARE(r->risultati()->model()->rowCount(), all);
        QCOMPARE(r->dal()->value(), int(ricerca::NoYear));
    }

    void badInputIsToldInTheStatusLine()
    {
        ricerca* r = openSearch(QString());
        r->testo()->setText(QString(10000, QLatin1Char('x')) + QStringLiteral(" distanze"));
        QVERIFY(r->avviso()->caption().contains(QStringLiteral("Testo troppo lungo")));
        r->testo()->setText(QStringLiteral("\"parti comuni"));
        QVERIFY(r->avviso()->caption().contains(QStringLiteral("Virgolette non chiuse")));
        QVERIFY(r->risultati()->model()->rowCount() > 0);
        r->testo()->setText(QStringLiteral("?!;"));
        QVERIFY(r->avviso()->caption().contains(QStringLiteral("Nessuna parola da cercare")));
        QCOMPARE(fx->platform().boxes.size(), 0);   // never an error box
    }

    void archiveCopyKeyLeavesCtrlCToTheWindowMenu()
    {
        auto* w = Forms::instance().show<ArchiveWindow>(QStringLiteral("condominio"));
        w->List1()->setCurrentRow(4);
        w->List1_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->sent()->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(w->sent(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), w->MaximCopyText());
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(w->sent(), Qt::Key_C, Qt::ControlModifier);   // "Finestra Urbanistica", as ever
        QVERIFY(Forms::instance().find(QStringLiteral("urbanistica"))->isVisible());
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }

    void printingTheHits()
    {
        ricerca* r = openSearch(QStringLiteral("revoca amministratore"));
        r->ordine()->setCurrentIndex(1);
        const int n = int(r->result().hits.size());
        r->stampa_Click();
        const QTextDocument* d = WordOut::currentDoc()->text();
        QStringList headings;
        int breaks = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            if (b.text().startsWith(QStringLiteral("Massime s"))) headings << b.text();
            breaks += bool(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
            QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
        }
        QCOMPARE(d->begin().text(), QStringLiteral("NORVELIA - massime sull'edilizia"));
        QCOMPARE(d->begin().next().next().text(), QStringLiteral("Ricerca: revoca amministratore; ordine: dalla più recente"));
        QCOMPARE(headings.size(), n);
        QCOMPARE(breaks, n - 1);
        QCOMPARE(headings.first(), MaximCorpus::headingLine(SearchIndex::shared().entry(r->result().hits.front().id)));

        r->testo()->clear();
        r->stampa_Click();   // nothing to print: a message, no document
        QCOMPARE(fx->platform().boxes.size(), 1);
    }

    void exitUnloadsTheSearchLast()
    {
        openSearch(QStringLiteral("condominio"));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        ModNorvelia::ConfirmExit();
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("ricerca")));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");   // a regular expression for the whole output
        QTest::addColumn<QString>("err");
        QTest::newRow("tsv") << QStringList{"--cerca", "Cass. 10957/1996"} << 0
                             << "condominio\t5\t5\tCassazione civile, 9 dicembre 1996, n. 10957\n" << "";
        QTest::newRow("limit") << QStringList{"--cerca", "condominio", "--limite", "3"} << 0
                               << "([a-z]+\t\\d+\t\\d+\t[^\t\n]+\n){3}" << "";
        QTest::newRow("no hits") << QStringList{"--cerca", "zzzqqq"} << 0 << "" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Norvelia 2\\.05\\.05\n" << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Uso: norvelia (.|\n)*" << "";
        QTest::newRow("unknown option") << QStringList{"--cercare", "x"} << 2 << "" << "opzione non riconosciuta";
        QTest::newRow("bad limit") << QStringList{"--cerca", "x", "--limite", "tanti"} << 2 << "" << "--limite";
        QTest::newRow("bad format") << QStringList{"--cerca", "x", "--formato", "xml"} << 2 << "" << "--formato";
        QTest::newRow("missing text") << QStringList{"--cerca"} << 2 << "" << "--cerca";
        QTest::newRow("ignored words are told") << QStringList{"--cerca", "di"} << 0 << "" << "parole comuni ignorate: di";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QString o, e;
        QCOMPARE(CommandLine::run(QStringList{"norvelia"} + arguments, o, e), code);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out)).match(o).hasMatch(), qPrintable(o));
        QVERIFY2(e.contains(err), qPrintable(e));
    }

    void commandLineJsonAndProcess()
    {
        QString o, e;
        QCOMPARE(CommandLine::run({"norvelia", "--cerca", "revoca amministratore", "--formato", "json", "--limite", "2"}, o, e), 0);
        const QJsonArray a = QJsonDocument::fromJson(o.toUtf8()).array();
        QCOMPARE(a.size(), 2);
        for (const char* field : {"archive", "topic", "maxim", "citation", "title", "snippet", "score"})
            QVERIFY2(a.at(0).toObject().contains(QLatin1String(field)), field);
        QCOMPARE(a.at(0).toObject().value(QStringLiteral("archive")).toString(), QStringLiteral("condominio"));

        // The program itself, with no display at all.
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("NORVELIA_BINARY_DIR") + QStringLiteral("/norvelia"), {"--cerca", "Cass. 10957/1996"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("condominio\t5\t5\tCassazione civile, 9 dicembre 1996, n. 10957\n"));
        p.start(qEnvironmentVariable("NORVELIA_BINARY_DIR") + QStringLiteral("/norvelia"), {"--nessuna"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_MAIN(TestSearchWindow)
#include "test_searchwindow.moc"
