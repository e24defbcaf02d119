// The archive window's menu bar and toolbar, navigation between windows, colours, file deletion,
// the about and support windows.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "shell/informa.h"
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {
ArchiveWindow* archive(const QString& name) { return Forms::instance().ref<ArchiveWindow>(name); }
QAction* action(QWidget* w, const QString& name) { return w->findChild<QAction*>(name); }
bool visible(const QString& name)
{
    Form* f = Forms::instance().find(name);
    return f && f->isVisible();
}

// Stand-ins for windows that live elsewhere in the program, so that what a command opens can be
// seen here by name alone.
class Stub : public Form {
public:
    explicit Stub(const QString& n) : Form(n) {}
};
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

private slots:
    void initTestCase()
    {
        for (const char* n : {"sommario", "frmTip", "guidacondominio", "guidaedilizia", "guidaprofessionisti"}) {
            const QString name = QString::fromLatin1(n);
            if (!Forms::instance().isDefined(name)) Forms::instance().define(name, [name] { return new Stub(name); });
        }
    }
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
        InstallFullSampleData();
    }
    void cleanup() { fx.reset(); }

    void menuBarItems()
    {
        ArchiveWindow* w = archive(QStringLiteral("condominio"));
        const struct {
            const char* name;
            const char* caption;
        } items[] = {{"file", "&File"}, {"eliminare", "&Elimina..."}, {"stam", "S&tampa"}, {"stampa", "&Sentenza visualizzata"},
                     {"stampatutte", "&Tutte le sentenze dell'argomento"}, {"usci", "Es&ci"}, {"modif", "&Modifica"},
                     {"colorare", "&Colore di sfondo"}, {"controlla", "Controllo &dati immessi"},
                     {"cancella", "C&ancella dati finestra"}, {"visu", "&Visualizza"}, {"inter", "&?"},
                     {"guida", "&Guida in linea"}, {"suggerimenti", "&Suggerimenti..."}, {"supporto", "Supporto &prodotto"},
                     {"informazioni", "&Informazioni su Norvelia"}};
        for (const auto& i : items) {
            QAction* a = action(w, QString::fromLatin1(i.name));
            QVERIFY2(a, i.name);
            QCOMPARE(a->text(), QString::fromUtf8(i.caption));
        }
        for (const char* sep : {"l3", "l4", "l5", "l7", "l8", "l9"}) QVERIFY(action(w, QString::fromLatin1(sep))->isSeparator());
        QVERIFY(!action(w, QStringLiteral("controlla"))->isEnabled());
        QVERIFY(!action(w, QStringLiteral("cancella"))->isEnabled());
        for (int i = 0; i < 8; ++i) {
            QAction* f = action(w, QStringLiteral("fin(%1)").arg(i));
            QCOMPARE(f->shortcut(), QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + i)));
            QCOMPARE(f->isChecked(), i == 5);
        }
        QCOMPARE(action(w, QStringLiteral("fin(5)"))->text(), QStringLiteral("Finestra Condominio"));
        // The right-hand item belongs to the menu bar itself, last.
        QCOMPARE(w->menuBar()->actions().last(), action(w, QStringLiteral("finestra")));
    }

    void onlyTheOwnWindowEntryHasACheckMark()
    {
        for (const ArchiveDefinition& a : Archives::all()) {
            ArchiveWindow* w = archive(a.name());
            for (int i = 0; i < 8; ++i) {
                QAction* f = action(w, QStringLiteral("fin(%1)").arg(i));
                const bool own = i + 1 == a.windowNumber;
                QCOMPARE(f->isCheckable(), own);   // the others show no empty box
                QCOMPARE(f->isChecked(), own);
            }
        }
        // Choosing the own entry keeps its mark.
        ArchiveWindow* w = archive(QStringLiteral("condominio"));
        action(w, QStringLiteral("fin(5)"))->trigger();
        QVERIFY(action(w, QStringLiteral("fin(5)"))->isChecked());
    }

    void finestraCaptionInEveryWindow()
    {
        for (const ArchiveDefinition& a : Archives::all()) {
            const QString c = action(archive(a.name()), QStringLiteral("finestra"))->text();
            const int blanks = a.formName == QLatin1String("imprese") ? 125 : 126;
            QCOMPARE(c, QString(blanks, QLatin1Char(' ')) + QStringLiteral("Fi&nestra n.%1 di 8").arg(a.windowNumber));
            QCOMPARE(action(archive(a.name()), QStringLiteral("fin(%1)").arg(a.windowNumber - 1))->isChecked(), true);
        }
    }

    void toolbarPositions()
    {
        ArchiveWindow* w = archive(QStringLiteral("condominio"));
        const char* tips[20] = {"elimina file", "stampa sentenza visualizzata", nullptr, "visualizza finestra 'Menu'",
                                "visualizza finestra 'Edilizia'", "visualizza finestra 'Urbanistica'",
                                "visualizza finestra 'Espropriazioni'", "visualizza finestra 'Professionisti'",
                                "visualizza finestra 'Condominio'", "visualizza finestra 'Enti'", "visualizza finestra 'Imprese'",
                                nullptr, "colore di sfondo", nullptr, "guida in linea", "suggerimenti", "supporto prodotto",
                                "informazioni su Norvelia", nullptr, "uscita da Norvelia"};
        QVERIFY(!w->toolbarButton(21));
        for (int p = 1; p <= 20; ++p) {
            QAction* a = w->toolbarButton(p);
            QVERIFY(a);
            if (!tips[p - 1]) {
                QVERIFY(a->isSeparator());
                continue;
            }
            QCOMPARE(a->toolTip(), QString::fromUtf8(tips[p - 1]));
            QVERIFY(!a->icon().isNull());
            QVERIFY(!a->icon().pixmap(16, 16).toImage().isNull());
        }
    }

    void toolbarDispatch()
    {
        ArchiveWindow* w = archive(QStringLiteral("condominio"));
        w->show();
        // Separators do nothing.
        for (int p : {3, 12, 14, 19}) w->Toolbar1_ButtonClick(p);
        QVERIFY(fx->platform().boxes.isEmpty());
        w->toolbarButton(2)->trigger();   // print, refused with no topic
        QCOMPARE(fx->platform().boxes.last().title, ModNorvelia::state().CheckTitle);
        w->toolbarButton(1)->trigger();   // delete: the file dialog
        QCOMPARE(fx->platform().fileDialogTitles,
                 QStringList({"Elimina: seleziona il file desiderato e clicca su Apri per cancellarlo"}));
        w->toolbarButton(4)->trigger();
        QVERIFY(visible(QStringLiteral("scelta")));
        w->toolbarButton(5)->trigger();
        QVERIFY(visible(QStringLiteral("edilizia")));
        w->toolbarButton(11)->trigger();
        QVERIFY(visible(QStringLiteral("imprese")));
        w->toolbarButton(15)->trigger();
        QVERIFY(visible(QStringLiteral("sommario")));
        w->toolbarButton(16)->trigger();
        QVERIFY(visible(QStringLiteral("frmTip")));
        w->toolbarButton(17)->trigger();
        QVERIFY(visible(QStringLiteral("supportoclienti")));
        w->toolbarButton(18)->trigger();
        QVERIFY(visible(QStringLiteral("informa")));
        const int boxes = fx->platform().boxes.size();
        w->toolbarButton(13)->trigger();   // colour: the grey question
        QCOMPARE(fx->platform().boxes.size(), boxes + 1);
        QCOMPARE(fx->platform().boxes.last().title, QStringLiteral("Norvelia: colore di sfondo"));
        w->toolbarButton(20)->trigger();   // exit, answered No
        QCOMPARE(fx->platform().boxes.last().text, QStringLiteral("Vuoi uscire da Norvelia?"));
        QVERIFY(Forms::instance().isLoaded(QStringLiteral("condominio")));
    }

    void menuItemsDispatch()
    {
        ArchiveWindow* w = archive(QStringLiteral("enti"));
        w->show();
        action(w, QStringLiteral("guida"))->trigger();
        QVERIFY(visible(QStringLiteral("sommario")));
        action(w, QStringLiteral("suggerimenti"))->trigger();
        QVERIFY(visible(QStringLiteral("frmTip")));
        action(w, QStringLiteral("supporto"))->trigger();
        QVERIFY(visible(QStringLiteral("supportoclienti")));
        action(w, QStringLiteral("informazioni"))->trigger();
        QVERIFY(visible(QStringLiteral("informa")));
        action(w, QStringLiteral("stampa"))->trigger();
        QCOMPARE(fx->platform().boxes.last().text, ArchiveWindow::NothingToPrintText());
        action(w, QStringLiteral("stampatutte"))->trigger();
        QCOMPARE(fx->platform().boxes.size(), 2);
        action(w, QStringLiteral("controlla"))->trigger();   // disabled: nothing
        action(w, QStringLiteral("cancella"))->trigger();
        QCOMPARE(fx->platform().boxes.size(), 2);
        fx->platform().answers.push_back(MsgAnswer::Yes);
        action(w, QStringLiteral("usci"))->trigger();
        QCOMPARE(Forms::instance().loadedNames(), QStringList({"frmSplash"}));
    }

    void ownWindowHelpQuestion_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("help");
        QTest::newRow("condominio") << "condominio" << int(Qt::Key_F) << 9 << "guidacondominio";
        QTest::newRow("edilizia") << "edilizia" << int(Qt::Key_B) << 5 << "guidaedilizia";
        QTest::newRow("professionisti") << "professionisti" << int(Qt::Key_E) << 8 << "guidaprofessionisti";
    }

    void ownWindowHelpQuestion()
    {
        QFETCH(QString, archive);
        QFETCH(int, key);
        QFETCH(int, button);
        QFETCH(QString, help);
        ArchiveWindow* w = ::archive(archive);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->sent()->setFocus();
        const QStringList before = Forms::instance().loadedNames();
        // No, from the shortcut (even with the text box focused), the entry and the button.
        QTest::keyClick(w->sent(), Qt::Key(key), Qt::ControlModifier);
        action(w, QStringLiteral("fin(%1)").arg(w->definition().windowNumber - 1))->trigger();
        w->toolbarButton(button)->trigger();
        QCOMPARE(fx->platform().boxes.size(), 3);
        const QString name = QString::fromUtf8(w->definition().helpQuestionName);
        for (const MsgBoxRequest& b : fx->platform().boxes) {
            QCOMPARE(b.text, QStringLiteral("E' questa la finestra '") + name + QStringLiteral("': si vuole la guida della finestra?"));
            QCOMPARE(b.title, QStringLiteral("Norvelia: aiuto in linea"));
            QCOMPARE(b.icon, MsgIcon::Question);
            QCOMPARE(b.buttons, MsgButtons::YesNo);
        }
        QCOMPARE(Forms::instance().loadedNames(), before);
        // Yes shows the help page and nothing else.
        fx->platform().answers.push_back(MsgAnswer::Yes);
        w->toolbarButton(button)->trigger();
        QCOMPARE(Forms::instance().loadedNames(), before + QStringList{help});
        QVERIFY(visible(help));
    }

    void finestraOpensTheHelpPageWithoutAsking()
    {
        ArchiveWindow* w = archive(QStringLiteral("condominio"));
        action(w, QStringLiteral("finestra"))->trigger();
        QVERIFY(fx->platform().boxes.isEmpty());
        QVERIFY(visible(QStringLiteral("guidacondominio")));
    }

    void navigationKeepsEachWindowAsItWasLeft()
    {
        ArchiveWindow* c = archive(QStringLiteral("condominio"));
        c->show();
        c->List1()->setCurrentRow(4);
        c->HScroll1()->setValue(7);
        action(c, QStringLiteral("fin(1)"))->trigger();
        ArchiveWindow* e = Forms::instance().find<ArchiveWindow>(QStringLiteral("edilizia"));
        QVERIFY(e->isVisible());
        QVERIFY(c->isVisible());   // the caller stays open behind
        action(e, QStringLiteral("fin(5)"))->trigger();
        QCOMPARE(Forms::instance().find<ArchiveWindow>(QStringLiteral("condominio")), c);
        QCOMPARE(c->CurrentTopic(), 5);
        QCOMPARE(c->conta()->caption(), QStringLiteral("7"));
        action(e, QStringLiteral("fin(0)"))->trigger();   // Ctrl+A's entry: the menu
        QVERIFY(visible(QStringLiteral("scelta")));
    }

    void greyForAllSevenWindows()
    {
        ArchiveWindow* c = archive(QStringLiteral("condominio"));
        // Only condominio is loaded so far; the others are loaded, hidden, by the Yes.
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("enti")));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        c->colorare_Click();
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(fx->platform().boxes[0].text, QStringLiteral("Colori uguali e riposanti (grigio) per tutte le finestre?"));
        QCOMPARE(fx->platform().boxes[0].icon, MsgIcon::None);
        QVERIFY(fx->platform().colourPresets.isEmpty());   // no dialog
        for (const ArchiveDefinition& a : Archives::all()) {
            Form* f = Forms::instance().find(a.name());
            QVERIFY(f);
            QCOMPARE(f->backColor(), QColor(192, 192, 192));
            if (a.name() != QLatin1String("condominio")) QVERIFY(!f->isVisible());
        }
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("scelta")));   // nothing else is touched
        // The next command in a grey window goes straight to the dialog and changes this window only.
        fx->platform().colours.push_back(QColor(10, 120, 200));
        c->colorare_Click();
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(c->backColor(), QColor(10, 120, 200));
        QCOMPARE(Forms::instance().find(QStringLiteral("enti"))->backColor(), QColor(192, 192, 192));
        // Not grey any more: the question again; No opens the dialog, preset with the last colour.
        c->colorare_Click();
        QCOMPARE(fx->platform().boxes.size(), 2);
        QCOMPARE(fx->platform().colourPresets.last(), QColor(10, 120, 200));
    }

    void colourDialogCancelledOrFailed()
    {
        ArchiveWindow* c = archive(QStringLiteral("condominio"));
        c->colorare_Click();   // No, then the dialog reports its preset: the window's own colour
        QCOMPARE(fx->platform().colourPresets, QList<QColor>({QColor(128, 128, 128)}));
        QCOMPARE(c->backColor(), QColor(128, 128, 128));
        fx->platform().colours.push_back(std::nullopt);   // the dialog failed
        c->colorare_Click();
        QCOMPARE(c->backColor(), QColor(128, 128, 128));
        QCOMPARE(fx->platform().boxes.size(), 2);   // silently
    }

    void deleteFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("da cancellare.txt"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        ArchiveWindow* w = archive(QStringLiteral("urbanistica"));
        w->eliminare_click();   // cancelled: nothing
        QVERIFY(QFile::exists(path));
        fx->platform().fileNames.push_back(path);
        action(w, QStringLiteral("eliminare"))->trigger();
        QVERIFY(!QFile::exists(path));
        fx->platform().fileNames.push_back(path);   // gone already: silently
        w->DeleteFile();
        QVERIFY(fx->platform().boxes.isEmpty());
    }

    void aboutWindow()
    {
        auto* a = Forms::instance().show(QStringLiteral("informa"));
        auto* about = dynamic_cast<informa*>(a);
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("Informazioni su Norvelia"));
        QCOMPARE(about->findChild<VLabel*>(QStringLiteral("Label6"))->caption(),
                 QStringLiteral("edizione professionale - versione 2.05.05   2001- 2011"));
        QCOMPARE(about->findChild<VLabel*>(QStringLiteral("Label1"))->caption(), QStringLiteral("Norvelia"));
        QCOMPARE(about->innerWidth(), 6975.0);
        QCOMPARE(about->innerHeight(), 4020.0);
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!about->isVisible());
        QVERIFY(Forms::instance().isLoaded(QStringLiteral("informa")));
        Forms::instance().show(QStringLiteral("informa"));
        QCOMPARE(about->loadCount(), 1);
        QVERIFY(about->isVisible());
    }

    void fixedBorderWindowsCannotBeResized_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("about") << QStringLiteral("informa") << true;
        QTest::newRow("support") << QStringLiteral("supportoclienti") << true;
        QTest::newRow("archive, sizable") << QStringLiteral("condominio") << false;
    }

    void fixedBorderWindowsCannotBeResized()
    {
        QFETCH(QString, name);
        QFETCH(bool, fixed);
        Form* f = Forms::instance().show(name);
        QVERIFY(QTest::qWaitForWindowExposed(f));
        const QSize before = f->size();
        QCOMPARE(f->minimumSize() == f->maximumSize(), fixed);
        // What a window manager's drag asks for.
        f->resize(before + QSize(120, 80));
        QCOMPARE(f->size() == before, fixed);
        if (fixed) {
            QCOMPARE(f->innerWidth(), 6975.0);
            QCOMPARE(f->innerHeight(), 4020.0);
        }
    }

    void supportWindow()
    {
        Form* s = Forms::instance().show(QStringLiteral("supportoclienti"));
        QCOMPARE(s->windowTitle(), QStringLiteral("Servizi di supporto ai clienti"));
        QVERIFY(s->findChild<VLabel*>(QStringLiteral("Label9"))->caption().endsWith(QStringLiteral(".example")));
        QVERIFY(s->findChild<VLabel*>(QStringLiteral("Label4"))->caption().contains(QStringLiteral("dalle 9,30 alle 13,00")));
        QTest::mouseClick(s->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QVERIFY(Forms::instance().isLoaded(QStringLiteral("supportoclienti")));
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
