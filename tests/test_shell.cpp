// The shell: start sequence, splash and farewell screen, the archive menu, the exit confirmation.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "shell/Application.h"
#include "shell/ProgramLifetime.h"
#include "shell/frmSplash.h"
#include "wordout/DocumentWindow.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include "shell/scelta.h"
#include <QDialogButtonBox>
#include <QSignalSpy>
#include <QtTest>

namespace {
ScriptedMciDevice* tune(ScriptedPlatform& p) { return p.devices.isEmpty() ? nullptr : p.devices.last(); }
frmSplash* splash() { return Forms::instance().find<frmSplash>(QStringLiteral("frmSplash")); }
scelta* menu() { return Forms::instance().find<scelta>(QStringLiteral("scelta")); }
} // namespace

class TestShell : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        InstallFullSampleData();
    }
    void cleanup() { fx.reset(); }

    void sharedStateValues()
    {
        ModNorvelia::InitSharedState();
        const ModNorvelia::SharedState once = ModNorvelia::state();
        ModNorvelia::InitSharedState();
        const auto& s = ModNorvelia::state();
        QCOMPARE(s.ProductName, QStringLiteral("Norvelia"));
        QCOMPARE(s.ProductSubtitle, QStringLiteral("massime sull'edilizia"));
        QCOMPARE(s.ProductVersion, QStringLiteral("2.05.05"));
        QCOMPARE(s.ReleaseDate, QStringLiteral("19/03/2001"));
        QCOMPARE(s.EndYearCode.size(), 6);
        QVERIFY(s.EndYearCode.endsWith(QStringLiteral("11")));
        QCOMPARE(s.CheckTitle, QStringLiteral("Norvelia: controllo dati immessi nella finestra attiva"));
        QCOMPARE(s.HelpTitle, QStringLiteral("Norvelia: aiuto in linea"));
        QCOMPARE(s.DeleteDialogTitle, QStringLiteral("Elimina: seleziona il file desiderato e clicca su Apri per cancellarlo"));
        QCOMPARE(s.CheckTitle, once.CheckTitle);
        QCOMPARE(s.HelpTitle, once.HelpTitle);
        for (int i = 0; i < 7; ++i) QCOMPARE(ModNorvelia::ArchiveTotal(i), 0);   // no archive loaded yet
    }

    void startShowsTheSplashWithItsTune()
    {
        ModNorvelia::Start();
        frmSplash* s = splash();
        QVERIFY(s && s->isVisible());
        QVERIFY(!menu());
        QVERIFY(tune(fx->platform())->fileName.endsWith(QStringLiteral("Internet.mid")));
        QCOMPARE(tune(fx->platform())->commands, QStringList({"open", "play"}));
        QCOMPARE(s->label(3)->caption(), QStringLiteral("Norvelia"));
        QCOMPARE(s->label(4)->caption(), QStringLiteral("massime sull'edilizia"));
        QCOMPARE(s->label(5)->caption(), QStringLiteral("EDIZIONE PROFESSIONALE - VERSIONE 2.05.05"));
        QCOMPARE(s->label(2)->caption(), QStringLiteral("                        presenta"));
        QCOMPARE(s->innerWidth(), 8790.0);
        QCOMPARE(s->innerHeight(), 5415.0);
        for (int i : {0, 9, 10, 11}) QCOMPARE(s->label(i)->backColor(), QColor(255, 255, 0));
    }

    void runEndsWhenNothingIsLeftOnScreen()
    {
        ProgramLifetime lifetime;
        QSignalSpy ended(&lifetime, &ProgramLifetime::ended);
        ModNorvelia::Start();
        // Closing the splash from the window manager leaves only the hidden price list: the run is over.
        splash()->close();
        QVERIFY(Forms::instance().isLoaded(QStringLiteral("prodotti")));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(Forms::instance().loadedCount(), 0);

        // The exit confirmation hides every window and shows the farewell screen within one handler:
        // the run goes on.
        ModNorvelia::Start();
        QTest::mouseClick(splash()->client(), Qt::LeftButton, {}, QPoint(300, 370));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        QTest::mouseClick(menu()->findChild<QPushButton*>(QStringLiteral("cmdesci")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ended.count(), 1);
        QVERIFY(splash()->isVisible());

        // A document the user still has open keeps the run going until it is closed.
        WordApplication* app = WordOut::StartDocument();
        QVERIFY(app);
        auto* doc = DocumentWindow::open(WordOut::currentDoc());
        splash()->close();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ended.count(), 1);
        QVERIFY(doc->close());
        FlushDeletes();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ended.count(), 2);
        FlushDeletes();
    }

    void keyPressOnTheSplashEndsTheProgram()
    {
        ModNorvelia::Start();
        QSignalSpy none(&Forms::instance(), &Forms::noneLoaded);
        QTest::keyClick(splash(), Qt::Key_Escape);
        QCOMPARE(none.count(), 1);
        QCOMPARE(Forms::instance().loadedCount(), 0);
        QCOMPARE(fx->platform().devices.first()->commands.last(), QStringLiteral("close"));
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("scelta")));
        QVERIFY(!Forms::instance().isLoaded(QStringLiteral("edilizia")));   // nothing was ever loaded
    }

    void clickAnywhereOpensTheMenu_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("background") << QString();
        QTest::newRow("picture") << QStringLiteral("Image1");
        QTest::newRow("label") << QStringLiteral("label(3)");
        QTest::newRow("frame bar") << QStringLiteral("label(10)");
    }

    void clickAnywhereOpensTheMenu()
    {
        QFETCH(QString, where);
        ModNorvelia::Start();
        frmSplash* s = splash();
        QWidget* target = where.isEmpty() ? s->client() : s->findChild<QWidget*>(where);
        QVERIFY(target);
        const QPoint at = where.isEmpty() ? QPoint(s->client()->width() / 2, s->client()->height() - 6)
                                          : QPoint(target->width() / 2, target->height() / 2);
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
        QVERIFY(menu() && menu()->isVisible());
        QVERIFY(s->isVisible());   // stays behind the menu
        QCOMPARE(tune(fx->platform())->commands.last(), QStringLiteral("pause"));
        QCOMPARE(tune(fx->platform())->mode(), MciDevice::Mode::Paused);
    }

    void menuShowsCountsAndTotal()
    {
        ModNorvelia::InitSharedState();
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        QCOMPARE(m->num()->caption(), QStringLiteral("Numero totale massime:  2050"));
        QCOMPARE(m->countLabel(1)->caption(), QStringLiteral("... 856 massime riguardanti l'edilizia suddivise in 33 argomenti"));
        QCOMPARE(m->countLabel(3)->caption(), QStringLiteral("... 16 massime sull'espropriazione per pubblica utilità"));
        QCOMPARE(m->countLabel(7)->caption(), QStringLiteral("... 264 massime riguardanti le imprese, gli appalti, il lavoro"));
        QCOMPARE(m->Option1(7)->text(), QStringLiteral("Imprese, appalti, lavoro"));
        for (const char* n : {"edilizia", "urbanistica", "espropriazioni", "professionisti", "condominio", "enti", "imprese"}) {
            QVERIFY(Forms::instance().isLoaded(QString::fromLatin1(n)));
            QVERIFY(!Forms::instance().find(QString::fromLatin1(n))->isVisible());
        }
        QCOMPARE(m->innerWidth(), 9480.0);
        QCOMPARE(m->innerHeight(), 6420.0);
        QCOMPARE(m->StatusBar1()->simpleText(), QStringLiteral("Menu di scelta."));
    }

    void optionOpensItsArchiveEveryTime()
    {
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        QTest::mouseClick(m->Option1(5), Qt::LeftButton, {}, QPoint(8, m->Option1(5)->height() / 2));
        auto* c = Forms::instance().find(QStringLiteral("condominio"));
        QVERIFY(c->isVisible());
        QVERIFY(!m->Option1(5)->isChecked());
        c->hide();
        QTest::mouseClick(m->Option1(5), Qt::LeftButton, {}, QPoint(8, m->Option1(5)->height() / 2));
        QVERIFY(c->isVisible());
        QCOMPARE(Forms::instance().find(QStringLiteral("condominio")), c);   // shown, not loaded again
    }

    void arrowsMoveWithinTheOptionGroup()
    {
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        QApplication::setActiveWindow(m);
        QVERIFY(QTest::qWaitForWindowActive(m));
        m->Option1(1)->setFocus(Qt::TabFocusReason);
        const struct {
            Qt::Key key;
            int focused;
        } steps[] = {{Qt::Key_Down, 2}, {Qt::Key_Right, 3}, {Qt::Key_Up, 2}, {Qt::Key_Left, 1},
                     {Qt::Key_Up, 7}, {Qt::Key_Down, 1}, {Qt::Key_Down, 2}};
        for (const auto& st : steps) {
            QTest::keyClick(QApplication::focusWidget(), st.key);
            QCOMPARE(QApplication::focusWidget(), m->Option1(st.focused));
        }
        // Moving opens nothing and selects nothing.
        for (const ArchiveDefinition& a : Archives::all()) QVERIFY(!Forms::instance().find(a.name())->isVisible());
        for (int i = 1; i <= 7; ++i) QVERIFY(!m->Option1(i)->isChecked());
        // The group is one tab stop: Tab leaves it, Shift+Tab comes back to the option last reached.
        QTest::keyClick(m->Option1(2), Qt::Key_Tab);
        QVERIFY(!qobject_cast<VOption*>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), m->Option1(2));
    }

    void keyOnAnOptionOpensItsArchive_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter);
    }

    void keyOnAnOptionOpensItsArchive()
    {
        QFETCH(int, key);
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        QTest::keyClick(m->Option1(4), Qt::Key(key));
        QVERIFY(Forms::instance().find(QStringLiteral("professionisti"))->isVisible());
        QVERIFY(!Forms::instance().find(QStringLiteral("condominio"))->isVisible());
        QVERIFY(!m->Option1(4)->isChecked());
    }

    void qtTextsAreItalian_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("open") << int(QDialogButtonBox::Open) << QStringLiteral("Apri");
        QTest::newRow("cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Annulla");
        QTest::newRow("save") << int(QDialogButtonBox::Save) << QStringLiteral("Salva");
        QTest::newRow("close") << int(QDialogButtonBox::Close) << QStringLiteral("Chiudi");
    }

    void qtTextsAreItalian()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QVERIFY(Norvelia::installItalianQtTexts());
        QVERIFY(Norvelia::installItalianQtTexts());   // a second time changes nothing
        QDialogButtonBox box{QDialogButtonBox::StandardButtons(button)};
        QCOMPARE(box.button(QDialogButtonBox::StandardButton(button))->text().remove(QLatin1Char('&')), text);
    }

    void statusBarHints()
    {
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        m->show();
        QTest::mouseMove(m->Option1(4), QPoint(10, 5));
        QCOMPARE(m->StatusBar1()->simpleText(), scelta::OptionHint(4));
        QVERIFY(scelta::OptionHint(4).contains(QStringLiteral("(architetti, ingegneri, geometri)")));
        QTest::mouseMove(m->countLabel(2), QPoint(10, 5));   // a label leaves the last text
        QCOMPARE(m->StatusBar1()->simpleText(), scelta::OptionHint(4));
        QTest::mouseMove(m->findChild<QWidget*>(QStringLiteral("aiuto")), QPoint(10, 5));
        QCOMPARE(m->StatusBar1()->simpleText(), scelta::OptionHint(4));
        QTest::mouseMove(m->client(), QPoint(4, m->client()->height() / 2));
        QCOMPARE(m->StatusBar1()->simpleText(),
                 QStringLiteral("Elenca le tematiche trattate nelle massime visualizzabili (suddivise per argomenti)."));
    }

    void menuButtons()
    {
        ModNorvelia::InitSharedState();
        ModNorvelia::ShowArchiveMenu();
        scelta* m = menu();
        QTest::mouseClick(m->findChild<QPushButton*>(QStringLiteral("aiuto")), Qt::LeftButton);
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(fx->platform().boxes[0].title, QStringLiteral("Norvelia: aiuto in linea"));
        QCOMPARE(fx->platform().boxes[0].text,
                 QStringLiteral("- Scegliere l'argomento che si intende controllare cliccandoci sopra;\r"
                                "- visualizzare le informazioni nella barra di stato muovendosi con il mouse."));
        QTest::mouseClick(m->findChild<QPushButton*>(QStringLiteral("forum")), Qt::LeftButton);
        QCOMPARE(fx->platform().shellTargets, QStringList({"https://www.velmoria.example/forum.htm"}));
        QCOMPARE(m->findChild<QPushButton*>(QStringLiteral("cmdesci"))->toolTip(),
                 QStringLiteral("cliccare per uscire da Norvelia"));
    }

    void exitAnsweredNoChangesNothing()
    {
        ModNorvelia::Start();
        QTest::mouseClick(splash()->client(), Qt::LeftButton, {}, QPoint(300, 370));
        const QStringList before = Forms::instance().loadedNames();
        const QStringList tuneBefore = tune(fx->platform())->commands;
        fx->platform().answers.push_back(MsgAnswer::No);
        QTest::mouseClick(menu()->findChild<QPushButton*>(QStringLiteral("cmdesci")), Qt::LeftButton);
        const MsgBoxRequest& b = fx->platform().boxes.last();
        QCOMPARE(b.text, QStringLiteral("Vuoi uscire da Norvelia?"));
        QCOMPARE(b.title, QStringLiteral("Norvelia: massime sull'edilizia"));
        QCOMPARE(b.buttons, MsgButtons::YesNo);
        QCOMPARE(b.icon, MsgIcon::Question);
        QVERIFY(b.defaultSecond);
        QCOMPARE(Forms::instance().loadedNames(), before);
        QVERIFY(menu()->isVisible());
        QCOMPARE(tune(fx->platform())->commands, tuneBefore);
    }

    void exitAnsweredYesShowsTheFarewellScreen()
    {
        ModNorvelia::Start();
        QTest::mouseClick(splash()->client(), Qt::LeftButton, {}, QPoint(300, 370));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        QStringList unloadedOrder;
        QObject listening;   // the connection ends with this test
        connect(&Forms::instance(), &Forms::unloaded, &listening, [&](const QString& n) { unloadedOrder << n; });
        ModNorvelia::ConfirmExit();
        QCOMPARE(unloadedOrder, QStringList({"scelta", "edilizia", "urbanistica", "espropriazioni", "professionisti",
                                             "condominio", "enti", "imprese", "prodotti"}));
        QCOMPARE(Forms::instance().loadedNames(), QStringList({"frmSplash"}));
        QVERIFY(splash()->isVisible());
        QCOMPARE(splash()->label(2)->caption(), QStringLiteral("          elaborazione eseguita con"));
        QCOMPARE(tune(fx->platform())->commands, QStringList({"open", "play", "pause", "play"}));
        QCOMPARE(tune(fx->platform())->mode(), MciDevice::Mode::Playing);

        // A click there brings back a freshly loaded menu with its counts.
        ArchiveData::setOverride(QStringLiteral("enti"), SampleArchiveData(QStringLiteral("enti"), {{3, 9}}));
        QTest::mouseClick(splash()->label(1), Qt::LeftButton);
        QVERIFY(menu()->isVisible());
        QCOMPARE(menu()->num()->caption(), QStringLiteral("Numero totale massime:  1934"));
        QCOMPARE(tune(fx->platform())->mode(), MciDevice::Mode::Paused);

        // And a key press on the farewell screen ends the program.
        fx->platform().answers.push_back(MsgAnswer::Yes);
        ModNorvelia::ConfirmExit();
        QSignalSpy none(&Forms::instance(), &Forms::noneLoaded);
        QTest::keyClick(splash(), Qt::Key_A);
        QCOMPARE(none.count(), 1);
    }

    void exitWhenTheSplashIsGoneLoadsItAnew()
    {
        ModNorvelia::Start();
        ModNorvelia::ShowArchiveMenu();
        QTest::keyClick(splash(), Qt::Key_Space);   // the splash closes, the menu stays
        QVERIFY(!splash());
        QVERIFY(menu());
        fx->platform().answers.push_back(MsgAnswer::Yes);
        ModNorvelia::ConfirmExit();
        QVERIFY(splash() && splash()->isVisible());
        // Its own load opened the tune and played it from the start.
        QCOMPARE(tune(fx->platform())->commands, QStringList({"open", "play", "play"}));
        QCOMPARE(splash()->label(2)->caption(), QStringLiteral("          elaborazione eseguita con"));
    }

    void missingTuneChangesNothingElse()
    {
        fx->platform().tuneFileExists = false;
        ModNorvelia::Start();
        QCOMPARE(tune(fx->platform())->mode(), MciDevice::Mode::NotOpen);
        QTest::mouseClick(splash()->client(), Qt::LeftButton, {}, QPoint(300, 370));
        QVERIFY(menu()->isVisible());
        QSignalSpy none(&Forms::instance(), &Forms::noneLoaded);
        fx->platform().answers.push_back(MsgAnswer::Yes);
        ModNorvelia::ConfirmExit();
        QTest::keyClick(splash(), Qt::Key_Return);
        QCOMPARE(none.count(), 1);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
