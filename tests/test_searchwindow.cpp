// The search window and what reaches it: opening it, typing, opening a hit in its archive window,
// copying, printing, closing; its size, place and keys, the reading pane; and the command-line search.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "help/HelpPageWindow.h"
#include "platform/ScreenFit.h"
#include "search/RelatedMaxims.h"
#include "search/ResultModel.h"
#include "search/ricerca.h"
#include "raccolte/RaccoltaDocument.h"
#include <QMimeData>
#include "shell/CommandLine.h"
#include "shell/Settings.h"
#include "shell/scelta.h"
#include "wordout/PageLayout.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QListWidget>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QScreen>
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

    // The window shown and active, so that its keys reach it as a user's would.
    ricerca* activeSearch(const QString& query)
    {
        ricerca* r = openSearch(query);
        r->activateWindow();
        if (!QTest::qWaitForWindowActive(r)) qWarning("the search window is not active");
        r->testo()->setFocus();
        return r;
    }

    static QRect room(QWidget* w) { return ScreenFit::usable(w->screen()->availableGeometry()); }

    // Unloads the window (which keeps what the user chose) and opens it anew.
    ricerca* reopen()
    {
        Forms::instance().unload(QStringLiteral("ricerca"));
        FlushDeletes();
        return Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
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
            const qsizetype at = std::find_if(items.begin(), items.end(), [](QAction* a) {
                return a->objectName() == QLatin1String("trova");
            }) - items.begin();
            QVERIFY(at < items.size());
            QCOMPARE(items.at(at)->text(), QStringLiteral("&Trova nelle massime..."));
            QVERIFY(items.at(at - 1)->isSeparator());
            QCOMPARE(items.at(at)->shortcut(), QKeySequence(Qt::Key_F3));
            items.at(at)->trigger();
            QCOMPARE(Forms::instance().find<ricerca>(QStringLiteral("ricerca")), r);   // one instance
            QVERIFY(r->isVisible());
        }
    }

    void typingShowsTheHits()
    {
        ricerca* r = openSearch(QStringLiteral("revoca amministratore"));
        QVERIFY(r->risultati()->model()->rowCount() > 3);
        QVERIFY(r->esito()->caption().contains(QStringLiteral(" massime trovate")));
        QVERIFY(r->archivio()->itemText(5).startsWith(QStringLiteral("Condominio (")));
        QTest::keyClicks(r->testo(), QStringLiteral(" zzzqqq"));
        // The count line itself says that no maxim holds every word.
        QVERIFY(r->esito()->caption().contains(QStringLiteral("Nessuna massima contiene tutte le parole")));
        r->testo()->clear();
        QCOMPARE(r->risultati()->model()->rowCount(), 0);
    }

    void periodTermsAreSaidAndCanBeTurnedOff()
    {
        ricerca* r = openSearch(QStringLiteral("SCIA"));
        QCheckBox* box = r->findChild<QCheckBox*>(QStringLiteral("chkTerminiEpoca"));
        QVERIFY(box && box->isChecked());
        QCOMPARE(box->accessibleName(), QStringLiteral("Termini d'epoca"));
        QVERIFY2(r->avviso()->caption().contains(QStringLiteral("denuncia di inizio attività (oggi SCIA")),
                 qPrintable(r->avviso()->caption()));
        const int with = r->risultati()->model()->rowCount();
        QVERIFY(with > 0);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QVERIFY(!box->isChecked());
        QVERIFY(!r->avviso()->caption().contains(QStringLiteral("Cercato anche")));
        QVERIFY(r->risultati()->model()->rowCount() < with);
        r->azzera_Click();
        QVERIFY(box->isChecked());
    }

    void noHitOffersWhatToTry()
    {
        ricerca* r = openSearch(QStringLiteral("qqqzzz wwwyyy"));
        QCOMPARE(r->risultati()->model()->rowCount(), 0);
        QVERIFY(r->suggerimenti()->isVisibleTo(r));
        QVERIFY(r->suggerimenti()->text().contains(QStringLiteral("2001")));
        QVERIFY(r->suggerimenti()->text().contains(QStringLiteral("href=\"wwwyyy\"")));
        // One click searches that word alone.
        emit r->suggerimenti()->linkActivated(QStringLiteral("revoca"));
        QCOMPARE(r->testo()->text(), QStringLiteral("revoca"));
        QVERIFY(r->risultati()->model()->rowCount() > 0);
        QVERIFY(!r->suggerimenti()->isVisibleTo(r));
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

    // The maxims' headings a printed document holds, and how many of its paragraphs start a sheet of
    // their own or are not justified.
    static std::pair<QStringList, int> printed(const QTextDocument* d)
    {
        QStringList headings;
        int breaks = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            if (b.text().contains(QStringLiteral(". Massime s"))) headings << b.text();
            breaks += bool(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
            // Justified throughout, as the window's prints ever were.
            breaks += (b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) != Qt::AlignJustify;
        }
        return {headings, breaks};
    }

    void printingTheHits_data()
    {
        QTest::addColumn<int>("selected");   // rows chosen before printing
        QTest::newRow("one chosen: every hit") << 1;
        QTest::newRow("three chosen: those alone") << 3;
    }
    void printingTheHits()
    {
        QFETCH(int, selected);
        ricerca* r = openSearch(QStringLiteral("revoca amministratore"));
        r->ordine()->setCurrentIndex(1);
        const int n = int(r->result().hits.size());
        QVERIFY(n > 3);
        QItemSelectionModel* sel = r->risultati()->selectionModel();
        sel->clearSelection();
        // The rows chosen are not the first ones, so that printing them all would show.
        for (int k = 0; k < selected; ++k) sel->select(r->risultati()->model()->index(k + 1, 0), QItemSelectionModel::Select);
        r->stampa_Click();
        const QTextDocument* d = WordOut::currentDoc()->text();
        const auto [headings, breaks] = printed(d);
        QCOMPARE(d->begin().text(), QStringLiteral("NORVELIA - massime sull'edilizia"));
        QCOMPARE(d->begin().next().next().text(), QStringLiteral("Ricerca: revoca amministratore; ordine: dalla più recente"));
        const int expected = selected > 1 ? selected : n;
        const int first = selected > 1 ? 1 : 0;
        QCOMPARE(headings.size(), expected);
        QCOMPARE(breaks, 0);   // one maxim after another, justified, no sheet each
        QCOMPARE(headings.first(),
                 QStringLiteral("1. ") + MaximCorpus::headingLine(SearchIndex::shared().entry(r->result().hits[std::size_t(first)].id)));
        QCOMPARE(PageLayout::footer(d), QStringLiteral("pag. %1 di %2"));

        r->testo()->clear();
        fx->platform().boxes.clear();
        r->stampa_Click();   // nothing to print: a message, no document
        QCOMPARE(fx->platform().boxes.size(), 1);
    }

    void relatedMaximsFollowTheHitRead()
    {
        ricerca* r = openSearch(QStringLiteral("distacco riscaldamento centralizzato"));
        QListWidget* affini = r->affini();
        QCOMPARE(affini->objectName(), QStringLiteral("affini"));
        QCOMPARE(affini->accessibleName(), QStringLiteral("Massime affini (calcolate)"));
        QVERIFY(r->result().hits.size() > 2);
        RelatedMaxims related(SearchIndex::shared());
        for (int row : {0, 2}) {
            r->risultati()->setCurrentIndex(r->risultati()->model()->index(row, 0));
            const int hit = r->result().hits[std::size_t(row)].id;
            const std::vector<RelatedMaxim> expected = related.of(hit);
            QList<int> ids;
            for (const RelatedMaxim& m : expected) ids << m.id;
            QVERIFY(!ids.isEmpty() && ids.size() <= 8);
            QVERIFY(!ids.contains(hit));
            QCOMPARE(r->RelatedIds(), ids);
            for (int k = 0; k < affini->count(); ++k) {
                const MaximEntry& e = SearchIndex::shared().entry(ids[k]);
                const QString line = affini->item(k)->text();
                QVERIFY2(line.contains(MaximCorpus::topicTitle(e)) && line.contains(QStringLiteral("n. %1").arg(e.maxim)), qPrintable(line));
                QVERIFY2(line.endsWith(QStringLiteral("(") + related.reason(expected[std::size_t(k)]) + QStringLiteral(")")), qPrintable(line));
            }
        }
        // The arrows in the list read a related maxim in the pane, and leave the list of hits alone.
        const int hitRow = r->risultati()->currentIndex().row();
        affini->setFocus();
        affini->setCurrentRow(0);
        QTest::keyClick(affini, Qt::Key_Down);
        const MaximEntry& second = SearchIndex::shared().entry(r->RelatedIds()[1]);
        QVERIFY(r->lettura()->toPlainText().contains(MaximCorpus::topicTitle(second) + QStringLiteral(" \u2013 n. %1").arg(second.maxim)));
        QCOMPARE(r->risultati()->currentIndex().row(), hitRow);
        QCOMPARE(r->RelatedIds().size(), affini->count());
        // Enter opens it in its archive window, on its topic and maxim.
        QTest::keyClick(affini, Qt::Key_Return);
        auto* w = Forms::instance().find<ArchiveWindow>(MaximCorpus::archiveName(second));
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->List1()->currentRow(), second.topic - 1);
        QCOMPARE(w->HScroll1()->value(), second.maxim);
    }

    void addingToARaccolta_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("chosen");   // hits chosen in the list
        QTest::newRow("the button, two hits") << "button" << 2;
        QTest::newRow("Ctrl+R in the list, three hits") << "key" << 3;
        QTest::newRow("Ctrl+R in the related list") << "related" << 2;
    }
    void addingToARaccolta()
    {
        QFETCH(QString, how);
        QFETCH(int, chosen);
        std::vector<MaximEntry> given;
        ricerca::setAddHook([&given](const std::vector<MaximEntry>& maxims) {
            given = maxims;
            return QStringLiteral("%1 massime aggiunte a «Causa Rossi»").arg(maxims.size());
        });
        ricerca* r = activeSearch(QStringLiteral("revoca amministratore"));
        QVERIFY(r->aggiungi()->text().contains(QStringLiteral("&r")));
        QCOMPARE(r->aggiungi()->objectName(), QStringLiteral("aggiungi"));
        QItemSelectionModel* sel = r->risultati()->selectionModel();
        sel->clearSelection();
        QList<int> expected;
        for (int k = 0; k < chosen; ++k) {
            sel->select(r->risultati()->model()->index(2 * k, 0), QItemSelectionModel::Select);
            expected << r->result().hits[std::size_t(2 * k)].id;
        }
        if (how == QLatin1String("button")) {
            QTest::mouseClick(r->aggiungi(), Qt::LeftButton);
        } else if (how == QLatin1String("key")) {
            r->risultati()->setFocus();
            QTest::keyClick(r->risultati(), Qt::Key_R, Qt::ControlModifier);
        } else {
            r->affini()->setFocus();
            r->affini()->setCurrentRow(1);
            expected = {r->RelatedIds()[1]};
            QTest::keyClick(r->affini(), Qt::Key_R, Qt::ControlModifier);
        }
        QList<int> got;
        for (const MaximEntry& e : given) got << RelatedMaxims::find(SearchIndex::shared(), e.archive, e.topic, e.maxim);
        QCOMPARE(got, expected);
        QCOMPARE(r->avviso()->caption(), QStringLiteral("%1 massime aggiunte a «Causa Rossi»").arg(expected.size()));
        ricerca::setAddHook({});
    }

    void recentQueries()
    {
        QStringList kept;
        ricerca::setRecentHooks({[&kept](const QString& q) {
                                     kept.removeAll(q);
                                     kept.prepend(q);
                                 },
                                 [&kept] { return kept; }});
        ricerca* r = activeSearch(QStringLiteral("revoca amministratore"));
        QTest::keyClick(r->testo(), Qt::Key_Return);   // Enter keeps the query
        Forms::instance().show(QStringLiteral("ricerca"));
        r = activeSearch(QStringLiteral("parti comuni"));
        r->copia_Click();                              // so does copying what it found
        r = activeSearch(QStringLiteral("sopraelevazione"));   // typed only: not kept
        QCOMPARE(kept, QStringList({QStringLiteral("parti comuni"), QStringLiteral("revoca amministratore")}));
        // Up in the middle of the box moves the cursor; at its start it brings the queries back in turn.
        r->testo()->setCursorPosition(3);
        QTest::keyClick(r->testo(), Qt::Key_Up);
        QCOMPARE(r->testo()->text(), QStringLiteral("sopraelevazione"));
        r->testo()->setCursorPosition(0);
        QTest::keyClick(r->testo(), Qt::Key_Up);
        QCOMPARE(r->testo()->text(), QStringLiteral("parti comuni"));
        QTest::keyClick(r->testo(), Qt::Key_Up);
        QCOMPARE(r->testo()->text(), QStringLiteral("revoca amministratore"));
        QTest::keyClick(r->testo(), Qt::Key_Up);   // none older
        QCOMPARE(r->testo()->text(), QStringLiteral("revoca amministratore"));
        QVERIFY(!r->result().hits.empty());
        // The drop-down offers them all, newest first.
        QTest::keyClick(r->testo(), Qt::Key_F4);
        QCOMPARE(r->recenti()->completionCount(), 2);
        QCOMPARE(r->recenti()->completionModel()->index(0, 0).data().toString(), QStringLiteral("parti comuni"));
        r->recenti()->popup()->hide();
        // An empty box lists them where the hits go, each a link that searches it again.
        r->testo()->clear();
        QCOMPARE(r->archivio()->itemText(1), QStringLiteral("Edilizia"));   // nothing searched, nothing counted
        QVERIFY(r->suggerimenti()->isVisibleTo(r));
        QVERIFY(r->suggerimenti()->text().contains(QStringLiteral("href=\"parti comuni\"")));
        emit r->suggerimenti()->linkActivated(QStringLiteral("parti comuni"));
        QVERIFY(!r->result().hits.empty());
        QVERIFY(r->archivio()->itemText(1).startsWith(QStringLiteral("Edilizia (")));
        QVERIFY(!r->suggerimenti()->isVisibleTo(r));
        ricerca::setRecentHooks({});
    }

    void exitUnloadsTheSearchLast()
    {
        openSearch(QStringLiteral("condominio"));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        ModNorvelia::ConfirmExit();
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("ricerca")));
    }

    void firstSizeThenTheUsersSizePlaceDividerAndZoom()
    {
        ricerca* r = Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
        const QRect free = r->screen()->availableGeometry();
        QVERIFY(room(r).contains(r->geometry()));
        QVERIFY2(r->width() >= free.width() * 0.7 && r->height() >= free.height() * 0.7,
                 qPrintable(QStringLiteral("%1x%2").arg(r->width()).arg(r->height())));
        QVERIFY(qAbs(r->geometry().center().x() - free.center().x()) <= 8);
        QVERIFY(qAbs(r->geometry().center().y() - free.center().y()) <= 20);
        // The maxim read has the room to be read: the related maxims under it take a quarter at most.
        const QList<int> first = r->divisore()->sizes();
        QVERIFY2(first[2] > 0 && first[1] >= first[2] && first[2] * 4 <= first[0] + first[1] + first[2] + 4,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(first[0]).arg(first[1]).arg(first[2])));

        const QRect chosen(30, 50, 740, 480);
        r->setGeometry(chosen);
        r->divisore()->setSizes({90, 250, 100});
        const QList<int> divided = r->divisore()->sizes();
        QTest::keyClick(r->testo(), Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(r->testo(), Qt::Key_Plus, Qt::ControlModifier);
        const int zoom = r->zoom();
        const double paneSize = r->lettura()->font().pointSizeF();
        r->chiudi_Click();
        r = reopen();
        QCOMPARE(r->geometry(), chosen);
        QCOMPARE(r->divisore()->sizes(), divided);
        QCOMPARE(r->zoom(), zoom);
        QCOMPARE(r->lettura()->font().pointSizeF(), paneSize);
    }

    void storedPlaceBroughtBackOnScreen_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<bool>("keepsSize");
        QTest::newRow("on a screen to the right that is gone") << QRect(2600, 100, 740, 440) << true;
        QTest::newRow("above and left of every screen") << QRect(-3000, -2000, 740, 440) << true;
        QTest::newRow("half off the bottom right") << QRect(400, 300, 740, 440) << true;
        QTest::newRow("larger than the screen") << QRect(0, 0, 3000, 2000) << false;
    }
    void storedPlaceBroughtBackOnScreen()
    {
        QFETCH(QRect, stored);
        QFETCH(bool, keepsSize);
        Settings::open()->setValue(QStringLiteral("ricerca/geometria"), stored);
        ricerca* r = Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
        QVERIFY2(room(r).contains(r->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(r->x()).arg(r->y()).arg(r->width()).arg(r->height())));
        if (keepsSize) QCOMPARE(r->size(), stored.size());
        else QCOMPARE(r->size(), room(r).size());
    }

    void growingGivesTheRoomToTheListAndThePane()
    {
        ricerca* r = openSearch(QStringLiteral("distanze"));
        r->resize(r->minimumSizeHint());
        QCoreApplication::processEvents();
        const QList<QWidget*> controls{r->testo(), r->archivio(), r->norme(), r->dal(), r->findChild<QPushButton*>(QStringLiteral("apri")),
                                       r->esito()};
        QList<int> heights;
        for (QWidget* c : controls) heights << c->height();
        const QSize list = r->risultati()->size(), pane = r->lettura()->size();
        r->resize(r->width() + 500, r->height() + 400);
        QCoreApplication::processEvents();
        for (int i = 0; i < controls.size(); ++i) QCOMPARE(controls[i]->height(), heights[i]);
        QVERIFY(r->risultati()->width() >= list.width() + 450);
        QVERIFY(r->risultati()->height() + r->lettura()->height() >= list.height() + pane.height() + 350);
        QVERIFY(r->lettura()->height() > pane.height());
    }

    void citationsWholeInTheirRows()
    {
        // The maxim whose citation is the widest of all, found by its number and year.
        SearchIndex& index = SearchIndex::shared();
        ricerca* r = openSearch(QString());
        QFont bold = r->risultati()->font();
        bold.setBold(true);
        int widest = -1, widestWidth = 0;
        for (int id = 0; id < index.size(); ++id) {
            const int w = QFontMetrics(bold).horizontalAdvance(Citations::text(index.entry(id).text));
            if (w > widestWidth && index.entry(id).citation.number) widest = id, widestWidth = w;
        }
        const MaximEntry& e = index.entry(widest);
        QTest::keyClicks(r->testo(), QStringLiteral("%1/%2").arg(e.citation.number).arg(e.citation.year));
        QCOMPARE(r->result().hits.front().id, widest);

        const QModelIndex row = r->risultati()->model()->index(0, 0);
        const QString citation = Citations::text(e.text);
        const ResultDelegate::Heading h = ResultDelegate::heading(r->risultati()->font(), r->risultati()->visualRect(row).width() - 6,
                                                                  row.data(ResultModel::PlaceRole).toString(), citation);
        QCOMPARE(h.citationText, citation);
        QVERIFY(h.citation.left() >= 0 && h.citation.right() < r->risultati()->visualRect(row).width() - 6);
        QVERIFY(!h.placeText.isEmpty());
        QVERIFY(h.place.right() < h.citation.left());
        QCOMPARE(row.data(Qt::ToolTipRole).toString(), MaximCorpus::headingLine(e) + QLatin1Char('\n') + citation);
        const QString spoken = row.data(Qt::AccessibleTextRole).toString();
        QVERIFY(spoken.startsWith(row.data(ResultModel::PlaceRole).toString() + QStringLiteral(" \u2013 ") + citation + QStringLiteral(". ")));
        QVERIFY(spoken.size() > 200);
    }

    void keysInTheSearchBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("currentBefore");   // the list's current row before the key; -1 none
        QTest::addColumn<QString>("outcome");
        QTest::newRow("Down goes to the first hit") << int(Qt::Key_Down) << 3 << "list";
        QTest::newRow("Page Down too") << int(Qt::Key_PageDown) << 3 << "list";
        QTest::newRow("Enter opens the selected hit") << int(Qt::Key_Return) << 3 << "opens";
        QTest::newRow("Enter with none selected opens the first") << int(Qt::Key_Enter) << -1 << "opens";
        QTest::newRow("Esc closes as Chiudi does") << int(Qt::Key_Escape) << 0 << "closed";
        QTest::newRow("F1 opens the page on searching") << int(Qt::Key_F1) << 0 << "help";
    }
    void keysInTheSearchBox()
    {
        QFETCH(int, key);
        QFETCH(int, currentBefore);
        QFETCH(QString, outcome);
        Forms::instance().show(QStringLiteral("scelta"));
        ricerca* r = activeSearch(QStringLiteral("revoca amministratore"));
        QListView* list = r->risultati();
        QVERIFY(list->model()->rowCount() > 4);
        list->setCurrentIndex(currentBefore < 0 ? QModelIndex() : list->model()->index(currentBefore, 0));
        list->selectionModel()->clearSelection();
        if (currentBefore >= 0) list->selectionModel()->select(list->currentIndex(), QItemSelectionModel::Select);
        r->testo()->setFocus();
        QTest::keyClick(r->testo(), Qt::Key(key));

        const int opened = std::max(currentBefore, 0);
        const MaximEntry& e = SearchIndex::shared().entry(r->result().hits[std::size_t(opened)].id);
        auto* archive = Forms::instance().find<ArchiveWindow>(MaximCorpus::archiveName(e));
        Form* help = Forms::instance().find(QStringLiteral("guidaricerca"));
        QCOMPARE(r->isVisible(), outcome != QLatin1String("closed"));
        QCOMPARE(Forms::instance().isLoaded(QStringLiteral("ricerca")), true);
        QCOMPARE(archive && archive->isVisible(), outcome == QLatin1String("opens"));
        QCOMPARE(help && help->isVisible(), outcome == QLatin1String("help"));
        if (outcome == QLatin1String("list")) {
            QCOMPARE(QApplication::focusWidget(), list);
            QCOMPARE(list->currentIndex().row(), 0);
            QVERIFY(list->selectionModel()->isSelected(list->currentIndex()));
        }
        if (outcome == QLatin1String("opens")) {
            QCOMPARE(archive->CurrentTopic(), e.topic);
            QCOMPARE(archive->CurrentMaxim(), e.maxim);
        }
        if (outcome == QLatin1String("help")) {
            auto* page = qobject_cast<HelpPageWindow*>(help);
            QCOMPARE(page->Label1()->caption(), QStringLiteral("RICERCA NELLE MASSIME"));
            for (const char* topic : {"\"parti comuni\"", "Cass. 3679/1996", "filtri", "Copia", "Invio"})
                QVERIFY2(page->Label2()->caption().contains(QLatin1String(topic)), topic);
            for (const HelpPageDef& d : HelpPages::all()) QVERIFY(QLatin1String(d.name) != QLatin1String("guidaricerca"));
        }
    }

    void readingPaneFollowsTheSelectionWithTheWordsInBold()
    {
        ricerca* r = activeSearch(QStringLiteral("revoca amministratore"));
        QListView* list = r->risultati();
        auto shownMaxim = [&] { return SearchIndex::shared().entry(r->result().hits[std::size_t(list->currentIndex().row())].id); };
        auto check = [&] {
            const MaximEntry& e = shownMaxim();
            const QString text = r->lettura()->toPlainText();
            QVERIFY(text.contains(e.text.left(Citations::start(e.text))));
            QVERIFY(text.contains(QStringLiteral("(") + Citations::text(e.text) + QStringLiteral(")")));
            QVERIFY(text.startsWith(MaximCorpus::archiveTitle(e) + QStringLiteral(" \u2013 %1) ").arg(e.topic) + MaximCorpus::topicTitle(e)));
            // The two words are bold wherever they stand, with the forms that share their stems (as in the
            // excerpts: "amministrazione" with "amministratore"), and nothing else is.
            QStringList bold;
            const QTextBlock body = r->lettura()->document()->begin().next();
            for (auto it = body.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().fontWeight() >= QFont::Bold) bold << it.fragment().text().toLower();
            QVERIFY(!bold.isEmpty());
            static const QRegularExpression exact(QStringLiteral("\\b(revoca|amministratore)\\b"), QRegularExpression::CaseInsensitiveOption);
            for (auto m = exact.globalMatch(body.text()); m.hasNext();) QVERIFY(bold.contains(m.next().captured(0).toLower()));
            for (const QString& b : bold) QVERIFY2(b.startsWith(QLatin1String("revoc")) || b.startsWith(QLatin1String("amministr")), qPrintable(b));
        };
        check();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), 1);
        check();
        QTest::keyClick(list, Qt::Key_End);
        check();
        // Selectable and copied as it is.
        QVERIFY(r->lettura()->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(r->lettura()->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        r->lettura()->selectAll();
        r->lettura()->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), r->lettura()->toPlainText());
        r->testo()->setText(QStringLiteral("zzzqqq"));
        QVERIFY(r->lettura()->toPlainText().isEmpty());
    }

    void zoomKeysChangeListAndPaneTogether()
    {
        ricerca* r = activeSearch(QStringLiteral("distanze"));
        const QModelIndex first = r->risultati()->model()->index(0, 0);
        const double list = r->risultati()->font().pointSizeF(), pane = r->lettura()->font().pointSizeF();
        const int row = r->risultati()->visualRect(first).height();
        QTest::keyClick(r->testo(), Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(r->risultati()->font().pointSizeF() > list);
        QVERIFY(r->lettura()->font().pointSizeF() > pane);
        QVERIFY(r->risultati()->visualRect(first).height() > row);
        for (int i = 0; i < 20; ++i) QTest::keyClick(r->risultati(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(r->zoom(), int(ricerca::MinZoom));
        QVERIFY(r->risultati()->font().pointSizeF() < list);
        QVERIFY(r->risultati()->visualRect(first).height() < row);
        QTest::keyClick(r->lettura(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(r->risultati()->font().pointSizeF(), list);
        QCOMPARE(r->lettura()->font().pointSizeF(), pane);
        QCOMPARE(r->risultati()->visualRect(first).height(), row);
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
