// The archive window: its load, the topic list, the topic choice and the scroll-bar chain.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "shell/ModNorvelia.h"
#include <QtTest>

namespace {
ArchiveWindow* openArchive(const QString& name)
{
    return Forms::instance().ref<ArchiveWindow>(name);
}

void choose(ArchiveWindow* w, int topic)
{
    // As a click on the entry: a new row chooses it through the row change, the current one directly.
    if (w->List1()->currentRow() == topic - 1) w->List1_Click();
    else w->List1()->setCurrentRow(topic - 1);
}
} // namespace

class TestArchiveWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
        // condominio: topic 5 with 24 maxims, topic 10 with 12, topic 20 with none.
        ArchiveData::setOverride(QStringLiteral("condominio"),
                                 SampleArchiveData(QStringLiteral("condominio"), {{5, 24}, {10, 12}}));
    }
    void cleanup() { fx.reset(); }

    void loadFillsListLabelsAndTotal()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        QCOMPARE(w->List1()->count(), 36);
        QCOMPARE(w->List1()->item(8)->text(), QStringLiteral("   9) Ascensore"));
        QCOMPARE(w->List1()->item(9)->text(), QStringLiteral(" 10) Assemblea"));
        QCOMPARE(w->archiveTotal(), 36);
        QCOMPARE(ModNorvelia::ArchiveTotal(4), 36);
        QCOMPARE(w->Label1()->caption(), QStringLiteral(" 36 massime totali"));
        QCOMPARE(w->passo()->caption(),
                 QStringLiteral("scegliere l'argomento di cui si vuole visualizzare le massime disponibili"));
        QCOMPARE(w->Label2()->caption(), QString());
        QCOMPARE(w->conta()->caption(), QStringLiteral(" "));
        QCOMPARE(w->sent()->toPlainText(), QString());
        QCOMPARE(w->HScroll1()->value(), 1);
        QCOMPARE(w->HScroll1()->maximum(), 100);
        QCOMPARE(w->CurrentTopic(), 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("Norvelia: condominio"));
        QVERIFY(!w->isVisible());
        QCOMPARE(w->backColor(), QColor(128, 128, 128));
    }

    void topicChoiceShowsTheFirstMaxim()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        choose(w, 5);
        QCOMPARE(w->CurrentTopic(), 5);
        QCOMPARE(w->CurrentMaxim(), 1);
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
        QCOMPARE(w->sent()->toPlainText(), SampleMaxim(QStringLiteral("condominio"), 5, 1));
        QCOMPARE(w->Label2()->caption(), QStringLiteral("Amministratore"));
        QCOMPARE(w->List1()->toolTip(), QStringLiteral("argomento scelto: Amministratore"));
        QCOMPARE(w->TopicMaximCount(), 24);
        QCOMPARE(w->passo()->caption(), QStringLiteral("visualizzazione delle  24 sentenze relative all'argomento scelto"));
    }

    void steppingToTheEndAndBeyond()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        choose(w, 10);
        QScrollBar* s = w->HScroll1();
        for (int k = 2; k <= 12; ++k) {
            s->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(w->conta()->caption(), QString::number(k));
            QCOMPARE(w->sent()->toPlainText(), SampleMaxim(QStringLiteral("condominio"), 10, k));
        }
        s->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->conta()->caption(), QStringLiteral("13"));
        QCOMPARE(w->sent()->toPlainText(),
                 QStringLiteral("     ----- non esistono altre massime da visualizzare sull'argomento -----"));
        s->triggerAction(QAbstractSlider::SliderSingleStepAdd);   // pulled back to 13
        QCOMPARE(s->value(), 13);
        QCOMPARE(w->CurrentMaxim(), 13);
        s->triggerAction(QAbstractSlider::SliderSingleStepSub);   // one back shows the last maxim
        QCOMPARE(w->conta()->caption(), QStringLiteral("12"));
        // A trough click moves five places: from 10 that lands on the end-of-topic line.
        s->setValue(10);
        s->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(s->value(), 13);
        QCOMPARE(w->conta()->caption(), QStringLiteral("13"));
    }

    void draggingPastTheEndEndsOnTheEndLine()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        choose(w, 10);
        QScrollBar* s = w->HScroll1();
        int changes = 0;
        connect(s, &QScrollBar::valueChanged, this, [&changes] { ++changes; });
        s->setSliderDown(true);
        s->setSliderPosition(60);
        QCOMPARE(changes, 0);             // nothing while the thumb is dragged
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
        s->setSliderDown(false);          // released at 60
        QCOMPARE(s->value(), 13);
        QCOMPARE(s->sliderPosition(), 13);
        QCOMPARE(w->conta()->caption(), QStringLiteral("13"));
        QCOMPARE(changes, 2);             // 60, then the chain's 13, and no further run
    }

    void mouseOnTheBarRunsTheStepAtOnce()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->show();
        choose(w, 10);
        QScrollBar* s = w->HScroll1();
        // A click on the right arrow.
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() - 3, s->height() / 2));
        QCOMPARE(w->conta()->caption(), QStringLiteral("2"));
        // A click in the trough, right of the thumb.
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() - s->height() - 8, s->height() / 2));
        QCOMPARE(w->conta()->caption(), QStringLiteral("7"));
    }

    void movingBeforeAnyTopic()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->HScroll1()->setValue(40);
        QCOMPARE(w->HScroll1()->value(), 1);
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
        QCOMPARE(w->sent()->toPlainText(),
                 QStringLiteral("     ----- non esistono altre massime da visualizzare sull'argomento -----"));
    }

    void topicWithoutMaxims()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        choose(w, 20);
        QCOMPARE(w->sent()->toPlainText(), QString());
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
        QCOMPARE(w->passo()->caption(), QStringLiteral("visualizzazione delle  0 sentenze relative all'argomento scelto"));
        w->HScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->HScroll1()->value(), 1);
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
    }

    void choosingAgainRestartsAtTheFirstMaxim()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->show();
        choose(w, 5);
        w->HScroll1()->setValue(7);
        // A click on the entry already chosen chooses it again.
        QListWidget* list = w->List1();
        const QRect r = list->visualItemRect(list->item(4));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(w->conta()->caption(), QStringLiteral("1"));
        QCOMPARE(w->HScroll1()->value(), 1);
        // A click on another entry, and the keyboard.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(9)).center());
        QCOMPARE(w->CurrentTopic(), 10);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w->CurrentTopic(), 11);
    }

    void focusAloneChoosesNoTopic_data()
    {
        QTest::addColumn<int>("reason");
        QTest::newRow("window activated") << int(Qt::ActiveWindowFocusReason);
        QTest::newRow("tab") << int(Qt::TabFocusReason);
        QTest::newRow("back tab") << int(Qt::BacktabFocusReason);
        QTest::newRow("other") << int(Qt::OtherFocusReason);
    }

    void focusAloneChoosesNoTopic()
    {
        QFETCH(int, reason);
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->show();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::FocusReason(reason));
        QApplication::sendEvent(w->List1(), &focusIn);
        QCOMPARE(w->CurrentTopic(), 0);
        QCOMPARE(w->TopicMaximCount(), 0);
        QCOMPARE(w->List1()->currentRow(), -1);
        QCOMPARE(w->conta()->caption(), QStringLiteral(" "));
        QCOMPARE(w->sent()->toPlainText(), QString());
        QCOMPARE(w->Label2()->caption(), QString());
        w->PrintMaxims();   // still refuses
        QCOMPARE(fx->platform().boxes.size(), 1);
        QCOMPARE(fx->platform().boxes[0].text, ArchiveWindow::NothingToPrintText());
        // The first arrow key chooses the first topic, as a real choice.
        QTest::keyClick(w->List1(), Qt::Key_Down);
        QCOMPARE(w->CurrentTopic(), 1);
        QCOMPARE(w->Label2()->caption(), w->content().TopicTitles(1));
    }

    void scrollBarStepsFromTheKeyboard_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("conta");
        QTest::newRow("right") << QList<int>{Qt::Key_Right} << QStringLiteral("2");
        QTest::newRow("down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << QStringLiteral("3");
        QTest::newRow("left back") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left} << QStringLiteral("2");
        QTest::newRow("up back") << QList<int>{Qt::Key_Down, Qt::Key_Up} << QStringLiteral("1");
        QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << QStringLiteral("6");
        QTest::newRow("page up") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp} << QStringLiteral("6");
        QTest::newRow("past the end") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown} << QStringLiteral("13");
        QTest::newRow("back from the end") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Left}
                                           << QStringLiteral("12");
        QTest::newRow("end") << QList<int>{Qt::Key_End} << QStringLiteral("13");
        QTest::newRow("home") << QList<int>{Qt::Key_PageDown, Qt::Key_Home} << QStringLiteral("1");
    }

    void scrollBarStepsFromTheKeyboard()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, conta);
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->show();
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        choose(w, 10);
        // Tab from the list reaches the scroll bar.
        w->List1()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->List1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->HScroll1());
        for (int k : keys) QTest::keyClick(w->HScroll1(), Qt::Key(k));
        QCOMPARE(w->conta()->caption(), conta);
        QCOMPARE(w->HScroll1()->value(), conta.toInt());
        const QString expected = conta == QLatin1String("13")
                                     ? QStringLiteral("     ----- non esistono altre massime da visualizzare sull'argomento -----")
                                     : SampleMaxim(QStringLiteral("condominio"), 10, conta.toInt());
        QCOMPARE(w->sent()->toPlainText(), expected);
    }

    void aiutoMessage()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        w->aiuto_Click();
        QCOMPARE(fx->platform().boxes.size(), 1);
        const MsgBoxRequest& b = fx->platform().boxes[0];
        QCOMPARE(b.title, QStringLiteral("Norvelia: aiuto in linea"));
        QCOMPARE(b.icon, MsgIcon::Information);
        QCOMPARE(b.buttons, MsgButtons::OK);
        const QStringList lines = b.text.split(QChar(13));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("- Scegliere uno degli argomenti elencati sulla sinistra della finestra;"));
        QCOMPARE(lines[4], QStringLiteral("- visualizzare il numero di sentenze disponibili nella casella gialla."));
    }

    void loadingTwiceGivesTheSameWindow()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        choose(w, 5);
        Forms::instance().unload(QStringLiteral("condominio"));
        w = openArchive(QStringLiteral("condominio"));
        QCOMPARE(w->List1()->count(), 36);
        QCOMPARE(w->archiveTotal(), 36);
        QCOMPARE(w->CurrentTopic(), 0);
        QCOMPARE(w->TopicMaximCount(), 0);
    }

    void explicitlyEmptyCellsAreEmpty()
    {
        QByteArray data = SampleArchiveData(QStringLiteral("professionisti"), {{24, 1}});
        data += "@empty\n@empty\n@empty\n@topic 36 Varie\n@empty\n@empty\n";
        ArchiveData::setOverride(QStringLiteral("professionisti"), data);
        ArchiveWindow* w = openArchive(QStringLiteral("professionisti"));
        QCOMPARE(w->content().CountTopicMaxims(24), 1);
        QCOMPARE(w->content().CountTopicMaxims(36), 0);
        QCOMPARE(w->archiveTotal(), 1);
        QCOMPARE(w->List1()->item(0)->text(), QStringLiteral("   1) ..."));
    }

    void perArchiveValues()
    {
        InstallFullSampleData();
        ArchiveWindow* e = openArchive(QStringLiteral("edilizia"));
        QCOMPARE(e->List1()->count(), 33);
        QCOMPARE(e->HScroll1()->maximum(), 150);
        QCOMPARE(e->content().CountTopicMaxims(29), 147);
        QCOMPARE(e->content().cellCount(), 34 * 151);
        choose(e, 29);
        e->HScroll1()->setValue(150);
        QCOMPARE(e->conta()->caption(), QStringLiteral("148"));
        ArchiveWindow* x = openArchive(QStringLiteral("espropriazioni"));
        QCOMPARE(x->Label1()->caption(), QStringLiteral(" 16 sentenze totali"));
        QCOMPARE(x->passo()->caption(),
                 QStringLiteral("scegliere l'argomento di cui si vuole visualizzare le sentenze disponibili"));
        QCOMPARE(x->conta()->toolTip(), QStringLiteral("numero della massima dell'argomento scelto"));
        choose(x, 24);
        QCOMPARE(x->passo()->caption(), QStringLiteral("visualizzazione delle  6 sentenze relative all'argomento scelto"));
        x->HScroll1()->setValue(9);
        QCOMPARE(x->sent()->toPlainText(),
                 QStringLiteral("     ----- non esistono altre sentenze da visualizzare sull'argomento -----"));
        choose(x, 1);
        QCOMPARE(x->TopicMaximCount(), 0);
        ArchiveWindow* u = openArchive(QStringLiteral("urbanistica"));
        QCOMPARE(u->conta()->toolTip(), QStringLiteral("numero della sentenza dell'argomento scelto"));
        choose(u, 12);   // a real title without maxims
        QCOMPARE(u->TopicMaximCount(), 0);
        QCOMPARE(u->Label2()->caption(), QStringLiteral("Edilizia residenziale"));
        int sum = 0;
        for (const char* n : {"professionisti", "condominio", "enti", "imprese"}) openArchive(QString::fromLatin1(n));
        for (int i = 0; i < 7; ++i) sum += ModNorvelia::ArchiveTotal(i);
        QCOMPARE(sum, 2050);
    }

    void resizingScalesTheControls()
    {
        ArchiveWindow* w = openArchive(QStringLiteral("condominio"));
        QCOMPARE(w->innerWidth(), 9480.0);
        QCOMPARE(w->innerHeight(), 6135.0);
        double left = 0;
        Props::read(w->sent(), Props::Geom::Left, left);
        QCOMPARE(left, 2760.0);
        w->setOuterWidth(9480 * 2 + 120);
        Props::read(w->sent(), Props::Geom::Left, left);
        QCOMPARE(left, 5520.0);
    }
};

QTEST_MAIN(TestArchiveWindow)
#include "test_archivewindow.moc"
