// The raccolte through the program: adding from an archive window, the raccolte window against the
// store, the exported document, the archive menu's button, and the command line.
#include "Fixture.h"
#include "DocReaders.h"
#include "archives/ArchiveWindow.h"
#include "raccolte/RaccolteActions.h"
#include "raccolte/raccolte.h"
#include "search/ricerca.h"
#include "shell/CommandLine.h"
#include "shell/scelta.h"
#include "wordout/PageLayout.h"
#include <QCheckBox>
#include <QCompleter>
#include <QListView>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <sqlite3.h>

namespace {
ArchiveWindow* onMaxim(const QString& archive, int topic, int maxim)
{
    auto* w = Forms::instance().ref<ArchiveWindow>(archive);
    w->List1()->setCurrentRow(topic - 1);
    w->List1_Click();
    w->HScroll1()->setValue(maxim);
    return w;
}

// The order and the notes as the store holds them, and as the window shows them.
QStringList stored(long long raccolta)
{
    QStringList out;
    for (const StoredMaxim& m : RaccolteActions::store().maxims(raccolta).value)
        out << QStringLiteral("%1:%2:%3 %4").arg(m.archive).arg(m.topic).arg(m.maxim).arg(m.note);
    return out;
}
QStringList shown(raccolte* w)
{
    QStringList out;
    for (const RaccoltaEntry& e : w->entries())
        out << QStringLiteral("%1:%2:%3 %4").arg(e.stored.archive).arg(e.stored.topic).arg(e.stored.maxim).arg(e.stored.note);
    for (int i = 0; i < w->massime()->topLevelItemCount(); ++i)
        if (w->massime()->topLevelItem(i)->text(raccolte::ColNote) != w->entries()[std::size_t(i)].stored.note) out << QStringLiteral("note row differs");
    return out;
}
QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }
} // namespace

class TestRaccoltaWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;
    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        RaccolteStore::setPathOverride(dir->filePath(QStringLiteral("raccolte.sqlite")));
        RaccolteActions::reset();
        RaccoltaDocument::setPreferredForm(ShortCitation::Form::Short);
        fx = std::make_unique<ProgramFixture>();
    }
    void cleanup()
    {
        fx.reset();
        RaccolteActions::reset();
    }

    void addingFromAnArchiveWindow()
    {
        auto* w = onMaxim(QStringLiteral("condominio"), 5, 2);
        fx->platform().inputs = {QStringLiteral("  Causa Rossi ")};
        qobject_cast<QAction*>(w->controlNamed(QStringLiteral("aggiungi")))->trigger();
        QCOMPARE(w->LastAddMessage(), QStringLiteral("1 massima aggiunta a «Causa Rossi»"));
        QCOMPARE(fx->platform().inputPresets.last(), QString());
        // The next addition offers the raccolta just used, and a maxim already there stays single.
        fx->platform().inputs = {QStringLiteral("Causa Rossi")};
        w->aggiungi_Click();
        QCOMPARE(fx->platform().inputPresets.last(), QStringLiteral("Causa Rossi"));
        QCOMPARE(fx->platform().inputChoices.last(), QStringList{QStringLiteral("Causa Rossi")});
        QCOMPARE(w->LastAddMessage(), QStringLiteral("La massima è già presente in «Causa Rossi»"));
        w->HScroll1()->setValue(3);
        fx->platform().inputs = {QStringLiteral("causa rossi")};
        w->aggiungi_Click();
        QCOMPARE(w->LastAddMessage(), QStringLiteral("1 massima aggiunta a «Causa Rossi»"));
        fx->platform().inputs = {std::nullopt};   // cancelled
        w->HScroll1()->setValue(4);
        w->aggiungi_Click();
        const auto info = RaccolteActions::store().find(QStringLiteral("Causa Rossi")).value;
        QCOMPARE(info->count, 2);
        QVERIFY(fx->platform().boxes.isEmpty());
        QCOMPARE(qobject_cast<QAction*>(w->controlNamed(QStringLiteral("aggiungi")))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    }

    // The search window reaches the store through the hooks the program fills at start.
    void addingAndRememberingFromTheSearchWindow()
    {
        auto* r = Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
        r->testo()->clear();
        QTest::keyClicks(r->testo(), QStringLiteral("revoca amministratore"));
        QItemSelectionModel* sel = r->risultati()->selectionModel();
        sel->clearSelection();
        for (int row : {0, 1}) sel->select(r->risultati()->model()->index(row, 0), QItemSelectionModel::Select);
        fx->platform().inputs = {QStringLiteral("Causa Rossi")};
        r->aggiungi_Click();
        QCOMPARE(r->avviso()->caption(), QStringLiteral("2 massime aggiunte a «Causa Rossi»"));
        const auto info = RaccolteActions::store().find(QStringLiteral("Causa Rossi")).value;
        QVERIFY(info);
        const std::vector<StoredMaxim> kept = RaccolteActions::store().maxims(info->id).value;
        QCOMPARE(kept.size(), std::size_t(2));
        const MaximEntry& first = SearchIndex::shared().entry(r->result().hits.front().id);
        QCOMPARE(kept.front().archive, MaximCorpus::archiveName(first));
        QCOMPARE(kept.front().topic, first.topic);
        QCOMPARE(kept.front().maxim, first.maxim);

        QVERIFY(RaccolteActions::store().recentSearches().value.empty());
        r->copia_Click();
        QCOMPARE(RaccolteActions::store().recentSearches().value.front(), QStringLiteral("revoca amministratore"));
        QCOMPARE(r->recenti()->model()->rowCount(), 1);
        QVERIFY(fx->platform().boxes.isEmpty());
    }

    void addedMessages_data()
    {
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("already");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two") << 2 << 0 << "2 massime aggiunte a «Causa Rossi»";
        QTest::newRow("one") << 1 << 0 << "1 massima aggiunta a «Causa Rossi»";
        QTest::newRow("one of two") << 1 << 1 << "1 massima aggiunta a «Causa Rossi» (1 era già presente)";
        QTest::newRow("two of five") << 2 << 3 << "2 massime aggiunte a «Causa Rossi» (3 erano già presenti)";
        QTest::newRow("none of two") << 0 << 2 << "Le massime sono già presenti in «Causa Rossi»";
    }
    void addedMessages()
    {
        QFETCH(int, added);
        QFETCH(int, already);
        QFETCH(QString, expected);
        RaccolteStore::Added a;
        a.added = added;
        a.already = already;
        QCOMPARE(RaccolteActions::addedMessage(a, QStringLiteral("Causa Rossi")), expected);
    }

    void windowAgreesWithTheStore()
    {
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("Causa Rossi")).value;
        std::vector<MaximRef> refs;
        for (int k = 0; k < 4; ++k) refs.push_back(MaximLocator::ref(RaccolteActions::corpus()[std::size_t(10 + k)]));
        s.add(id, refs);
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Norvelia: raccolte"));
        QCOMPARE(w->massime()->topLevelItemCount(), 4);
        QCOMPARE(shown(w), stored(id));

        w->massime()->setCurrentItem(w->massime()->topLevelItem(0));
        button(w, "giu")->click();
        QCOMPARE(shown(w), stored(id));
        QCOMPARE(w->entries()[1].stored.text, refs[0].text);
        QCOMPARE(w->massime()->currentIndex().row(), 1);
        button(w, "su")->click();
        QCOMPARE(w->entries()[0].stored.text, refs[0].text);
        w->MoveMaxim(3, 0);   // a drag from the last row to the first
        QCOMPARE(w->entries()[0].stored.text, refs[3].text);
        QCOMPARE(shown(w), stored(id));

        w->massime()->topLevelItem(2)->setText(raccolte::ColNote, QStringLiteral("decisiva per il motivo 2"));
        QCOMPARE(s.maxims(id).value[2].note, QStringLiteral("decisiva per il motivo 2"));
        QCOMPARE(shown(w), stored(id));

        w->massime()->setCurrentItem(w->massime()->topLevelItem(2));
        button(w, "togli")->click();
        QCOMPARE(s.maxims(id).value.size(), std::size_t(3));
        QCOMPARE(shown(w), stored(id));
        QVERIFY(button(w, "annulla")->isEnabled());
        button(w, "annulla")->click();
        QCOMPARE(s.maxims(id).value[2].note, QStringLiteral("decisiva per il motivo 2"));
        QCOMPARE(shown(w), stored(id));
        QVERIFY(!button(w, "annulla")->isEnabled());

        // Two taken at once come back one at a time, each to its place.
        const QStringList before = stored(id);
        w->massime()->clearSelection();
        w->massime()->topLevelItem(0)->setSelected(true);
        w->massime()->topLevelItem(2)->setSelected(true);
        button(w, "togli")->click();
        QCOMPARE(w->undoCount(), 2);
        button(w, "annulla")->click();
        button(w, "annulla")->click();
        QCOMPARE(stored(id), before);
        QCOMPARE(shown(w), before);
    }

    // Where a dragged row lands: dropped above a row it goes before it, below a row after it, past the
    // last row at the end; the rows after the one taken close up first.
    void dropTarget_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("at");
        QTest::addColumn<bool>("below");
        QTest::addColumn<int>("to");
        QTest::newRow("first above the third") << 0 << 2 << false << 1;
        QTest::newRow("first below the third") << 0 << 2 << true << 2;
        QTest::newRow("last above the first") << 3 << 0 << false << 0;
        QTest::newRow("last below the first") << 3 << 0 << true << 1;
        QTest::newRow("second past the end") << 1 << -1 << false << 3;
        QTest::newRow("onto itself") << 2 << 2 << false << 2;
    }
    void dropTarget()
    {
        QFETCH(int, from);
        QFETCH(int, at);
        QFETCH(bool, below);
        QFETCH(int, to);
        QCOMPARE(RaccoltaList::dropTarget(from, at, below, 4), to);
    }

    void raccolteByName()
    {
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        QVERIFY(!button(w, "rinomina")->isEnabled());
        fx->platform().inputs = {QStringLiteral("Causa Verdi"), QStringLiteral("Causa Bianchi"), QStringLiteral("causa verdi")};
        button(w, "nuova")->click();
        button(w, "nuova")->click();
        QCOMPARE(w->elenco()->count(), 2);
        QCOMPARE(w->elenco()->currentItem()->text(), QStringLiteral("Causa Bianchi (0)"));
        button(w, "nuova")->click();   // the same name in other letters
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes.last().text.contains(QStringLiteral("Esiste già")));
        fx->platform().inputs = {QStringLiteral("Causa Neri")};
        button(w, "rinomina")->click();
        QCOMPARE(fx->platform().inputPresets.last(), QStringLiteral("Causa Bianchi"));
        QVERIFY(RaccolteActions::store().find(QStringLiteral("Causa Neri")).value);
        fx->platform().answers = {MsgAnswer::No};
        button(w, "elimina")->click();
        QCOMPARE(RaccolteActions::store().raccolte().value.size(), std::size_t(2));
        QVERIFY(fx->platform().boxes.last().defaultSecond);
        fx->platform().answers = {MsgAnswer::Yes};
        button(w, "elimina")->click();
        QCOMPARE(RaccolteActions::store().raccolte().value.size(), std::size_t(1));
        QCOMPARE(w->elenco()->count(), 1);
    }

    void copiesQuoteTheMaxims()
    {
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("R")).value;
        const MaximEntry& a = RaccolteActions::corpus()[20];
        const MaximEntry& b = RaccolteActions::corpus()[21];
        s.add(id, {MaximLocator::ref(a), MaximLocator::ref(b)});
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        w->massime()->clearSelection();
        w->massime()->topLevelItem(1)->setSelected(true);
        button(w, "copia")->click();
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), ShortCitation::quote(b.text, ShortCitation::Form::Short));
        QCOMPARE(data->html(), ShortCitation::quoteHtml(b.text, ShortCitation::Form::Short));
        w->massime()->clearSelection();
        w->findChild<QCheckBox*>(QStringLiteral("formabreve"))->setChecked(false);
        QCOMPARE(RaccoltaDocument::preferredForm(), ShortCitation::Form::Long);
        button(w, "citazioni")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), Citations::text(a.text) + QLatin1Char('\n') + Citations::text(b.text));
    }

    void goneMaximKeepsItsText()
    {
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("R")).value;
        s.add(id, {MaximRef{QStringLiteral("enti"), 3, 99, QStringLiteral("Una massima tolta da una nuova edizione. - (Corte dei conti, 3 marzo 1990, n. 1)")}});
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        QVERIFY(w->massime()->topLevelItem(0)->text(raccolte::ColHeading).endsWith(QStringLiteral("(non più presente nell'archivio)")));
        QVERIFY(w->testo()->toPlainText().contains(QStringLiteral("Una massima tolta")));
        QVERIFY(!button(w, "apri")->isEnabled());
        QCOMPARE(w->massime()->topLevelItem(0)->text(raccolte::ColCitation), QStringLiteral("Corte conti, 3 marzo 1990, n. 1"));
    }

    void opensTheMaximInItsArchive()
    {
        RaccolteStore& s = RaccolteActions::store();
        const MaximEntry* e = nullptr;
        for (const MaximEntry& m : RaccolteActions::corpus())
            if (m.archive == 4 && m.topic == 7 && m.maxim == 3) e = &m;
        QVERIFY(e);
        s.add(s.create(QStringLiteral("R")).value, {MaximLocator::ref(*e)});
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        button(w, "apri")->click();
        auto* a = Forms::instance().find<ArchiveWindow>(QStringLiteral("condominio"));
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->conta()->caption(), QStringLiteral("3"));
        QCOMPARE(a->sent()->toPlainText(), e->text);
    }

    // Fifteen maxims make a few pages, not fifteen; every page says its number and the count.
    void exportedDocument()
    {
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("Causa Rossi")).value;
        std::vector<MaximRef> refs;
        for (int k = 0; k < 15; ++k) refs.push_back(MaximLocator::ref(RaccolteActions::corpus()[std::size_t(100 + k)]));
        s.add(id, refs);
        const long long first = s.maxims(id).value[0].id;
        s.setNote(first, QStringLiteral("citare nella comparsa"));
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        button(w, "esporta")->click();
        QCOMPARE(fx->platform().shownDocuments.size(), 1);
        WordDocument* doc = fx->platform().shownDocuments.last();
        const QString text = doc->text()->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Causa Rossi\nRaccolta di massime al ") + RaccoltaDocument::longDate(QDate::currentDate())));
        const QString c1 = ShortCitation::citation(refs[0].text, ShortCitation::Form::Short);
        QVERIFY(text.contains(QStringLiteral("Indice delle citazioni\n1. ") + c1 + QLatin1Char('\n')));
        QVERIFY(text.contains(QStringLiteral("15. ") + ShortCitation::citation(refs[14].text, ShortCitation::Form::Short)));
        QVERIFY(text.contains(QStringLiteral("1. ") + MaximCorpus::headingLine(RaccolteActions::corpus()[100]) + QStringLiteral("\n«")));
        QVERIFY(text.contains(QStringLiteral("» (") + c1 + QStringLiteral(")\nNota: citare nella comparsa")));
        // The citation after each text is bold, the text is not.
        const QTextCursor found = doc->text()->find(QStringLiteral("(") + c1 + QLatin1Char(')'));
        QVERIFY(!found.isNull());
        QCOMPARE(found.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(PageLayout::footer(doc->text()), QStringLiteral("pag. %1 di %2"));
        const int pages = PageLayout::pageCount(doc->text());
        QVERIFY2(pages > 1 && pages < 10, qPrintable(QString::number(pages)));
        QCOMPARE(PageLayout::footerText(doc->text(), pages - 1), QStringLiteral("pag. %1 di %1").arg(pages));

        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("r.pdf")), rtf = out.filePath(QStringLiteral("r.doc"));
        QVERIFY(doc->SaveAs(rtf));
        QFile f(rtf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("{\\footer\\pard\\qc\\fs18 pag. {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} di {\\field{\\*\\fldinst NUMPAGES}"));
        QVERIFY(doc->SaveAs(pdf));
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) QSKIP("pdftotext is not installed");
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        for (int k = 1; k <= pages; ++k) QVERIFY2(printed.contains(QStringLiteral("pag. %1 di %2").arg(k).arg(pages)), qPrintable(QString::number(k)));
    }

    void menuWindowButtonCoversNothing()
    {
        auto* m = Forms::instance().ref<scelta>(QStringLiteral("scelta"));
        auto* b = qobject_cast<QPushButton*>(m->controlNamed(QStringLiteral("raccolte")));
        QVERIFY(b);
        for (QWidget* other : m->client()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (other == b || !other->isVisibleTo(m) || other->objectName() == QLatin1String("StatusBar1")) continue;
            QVERIFY2(!other->geometry().intersects(b->geometry()), qPrintable(other->objectName()));
        }
        b->click();
        QVERIFY(Forms::instance().find(QStringLiteral("raccolte")));
    }

    // A folder that cannot be written: the program goes on, and the user is told once.
    void unavailableStoreIsToldOnce()
    {
        QFile blocker(dir->filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        RaccolteStore::setPathOverride(blocker.fileName() + QStringLiteral("/raccolte.sqlite"));
        RaccolteActions::reset();
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes[0].text.contains(QStringLiteral("Il resto del programma funziona normalmente")));
        QVERIFY(!button(w, "nuova")->isEnabled());
        Forms::instance().unload(QStringLiteral("raccolte"));
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* a = onMaxim(QStringLiteral("edilizia"), 1, 1);
        a->aggiungi_Click();
        QCOMPARE(fx->platform().boxes.size(), 2);   // the addition itself says it could not be made
        QVERIFY(fx->platform().inputTitles.isEmpty());
        QVERIFY(a->isEnabled());
    }

    void newerFileIsShownReadOnly()
    {
        const QString path = RaccolteStore::defaultPath();
        {
            RaccolteStore s;
            s.open(path);
            s.add(s.create(QStringLiteral("R")).value, {MaximLocator::ref(RaccolteActions::corpus()[5])});
        }
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, "PRAGMA user_version=7", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        RaccolteActions::reset();
        Forms::instance().show(QStringLiteral("raccolte"));
        auto* w = Forms::instance().find<raccolte>(QStringLiteral("raccolte"));
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes[0].text.contains(QStringLiteral("versione più recente")));
        QCOMPARE(w->massime()->topLevelItemCount(), 1);
        QVERIFY(!(w->massime()->topLevelItem(0)->flags() & Qt::ItemIsEditable));
        for (const char* b : {"nuova", "elimina", "togli", "su", "giu"}) QVERIFY2(!button(w, b)->isEnabled(), b);
        QVERIFY(button(w, "copia")->isEnabled());
        QString o, e;
        QCOMPARE(CommandLine::run({"norvelia", "--aggiungi", "R", "edilizia:1:2"}, o, e), 2);
        QCOMPARE(CommandLine::run({"norvelia", "--raccolte"}, o, e), 0);
        QCOMPARE(o, QStringLiteral("R\t1\n"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("list") << QStringList{"--raccolte"} << 0 << "Causa Rossi\t2\n" << "";
        QTest::newRow("add") << QStringList{"--aggiungi", "Causa Verdi", "condominio:5:3", "--nota", "vedi"} << 0
                             << "1 massima aggiunta a «Causa Verdi»\n" << "";
        QTest::newRow("add again") << QStringList{"--aggiungi", "Causa Rossi", "edilizia:1:1"} << 0 << "La massima è già presente in «Causa Rossi»\n" << "";
        QTest::newRow("bad place") << QStringList{"--aggiungi", "X", "condominio:5"} << 2 << "" << "ARCHIVIO:ARGOMENTO:MASSIMA";
        QTest::newRow("no such maxim") << QStringList{"--aggiungi", "X", "condominio:5:999"} << 2 << "" << "nessuna massima condominio:5:999";
        QTest::newRow("no such raccolta") << QStringList{"--raccolta", "Nessuna"} << 2 << "" << "nessuna raccolta di nome «Nessuna»";
        QTest::newRow("two at once") << QStringList{"--raccolte", "--raccolta", "Causa Rossi"} << 2 << "" << "uno alla volta";
        QTest::newRow("note alone") << QStringList{"--raccolte", "--nota", "x"} << 2 << "" << "--nota vale solo con --aggiungi";
        QTest::newRow("bad export") << QStringList{"--esporta", "Causa Rossi", "r.txt"} << 2 << "" << ".odt, .pdf o .doc";
        QTest::newRow("bad format") << QStringList{"--raccolta", "Causa Rossi", "--formato", "xml"} << 2 << "" << "tsv oppure json";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("Causa Rossi")).value;
        s.add(id, {MaximLocator::ref(RaccolteActions::corpus()[0]), MaximLocator::ref(RaccolteActions::corpus()[1])});
        QString o, e;
        QCOMPARE(CommandLine::run(QStringList{"norvelia"} + arguments, o, e), code);
        QCOMPARE(o, out);
        QVERIFY2(err.isEmpty() ? e.isEmpty() : e.contains(err), qPrintable(e));
        if (QTest::currentDataTag() == QLatin1String("add"))
            QCOMPARE(RaccolteActions::store().find(QStringLiteral("Causa Verdi")).value->count, 1);
    }

    void commandLineShowsAndExports()
    {
        RaccolteStore& s = RaccolteActions::store();
        const long long id = s.create(QStringLiteral("Causa Rossi")).value;
        const MaximEntry& a = RaccolteActions::corpus()[0];
        s.add(id, {MaximLocator::ref(a)}, QStringLiteral("una\tnota"));
        QString o, e;
        QCOMPARE(CommandLine::run({"norvelia", "--raccolta", "Causa Rossi"}, o, e), 0);
        QCOMPARE(o, QStringLiteral("1\t%1\t%2\t%3\t%4\tuna nota\n").arg(MaximCorpus::archiveName(a)).arg(a.topic).arg(a.maxim).arg(Citations::text(a.text)));
        o.clear();
        QCOMPARE(CommandLine::run({"norvelia", "--raccolta", "Causa Rossi", "--formato", "json"}, o, e), 0);
        const QJsonObject j = QJsonDocument::fromJson(o.toUtf8()).object();
        QCOMPARE(j.value(QStringLiteral("name")).toString(), QStringLiteral("Causa Rossi"));
        const QJsonObject m = j.value(QStringLiteral("maxims")).toArray().at(0).toObject();
        QCOMPARE(m.value(QStringLiteral("short")).toString(), ShortCitation::of(a.citation));
        QCOMPARE(m.value(QStringLiteral("present")).toBool(), true);
        for (const char* ext : {"odt", "pdf", "doc"}) {
            const QString file = dir->filePath(QStringLiteral("r.") + QLatin1String(ext));
            o.clear();
            QCOMPARE(CommandLine::run({"norvelia", "--esporta", "Causa Rossi", file}, o, e), 0);
            QFile f(file);
            QVERIFY2(f.open(QIODevice::ReadOnly), ext);
            const QByteArray bytes = f.readAll();
            if (QLatin1String(ext) == QLatin1String("odt")) QVERIFY(ZipEntry(bytes, QStringLiteral("content.xml")).contains("Causa Rossi"));
            else if (QLatin1String(ext) == QLatin1String("doc")) {
                const RtfDocument rtf = ReadRtf(bytes);
                QVERIFY(std::any_of(rtf.paragraphs.begin(), rtf.paragraphs.end(),
                                    [](const RtfParagraph& p) { return p.text == QLatin1String("Causa Rossi"); }));
            }
            else QVERIFY(bytes.startsWith("%PDF"));
        }
    }
};

QTEST_MAIN(TestRaccoltaWindow)
#include "test_raccoltewindow.moc"
