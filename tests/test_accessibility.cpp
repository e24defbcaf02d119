// What a screen reader finds in the windows: every control named with its role, the events that tell it
// of changes, one focused object, and the document window's text.
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "platform/Accessibility.h"
#include "shell/frmSplash.h"
#include "shell/scelta.h"
#include "wordout/DocumentWindow.h"
#include "wordout/PageViewAccessible.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include <QAccessible>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QScrollBar>
#include <QTextCursor>
#include <QtTest>

namespace {
bool interactive(QAccessible::Role r)
{
    switch (r) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::ScrollBar:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::Table:
    case QAccessible::Tree: return true;
    default: return false;
    }
}

QString describe(QAccessibleInterface* i)
{
    const QObject* o = i->object();
    return QStringLiteral("%1 role %2").arg(o ? o->objectName() + QLatin1Char('/') + QLatin1String(o->metaObject()->className())
                                              : QStringLiteral("(item)"))
        .arg(int(i->role()));
}

// Walks what a reader can reach: the unnamed interactive objects and the focused ones.
void walk(QAccessibleInterface* i, QStringList& unnamed, QStringList& focused, int depth = 0)
{
    if (!i || depth > 40 || i->state().invisible) return;
    if (interactive(i->role()) && i->text(QAccessible::Name).trimmed().isEmpty()) unnamed << describe(i);
    if (i->state().focused) focused << describe(i) + QLatin1Char(' ') + i->text(QAccessible::Name);
    for (int c = 0; c < i->childCount(); ++c) walk(i->child(c), unnamed, focused, depth + 1);
}

QAccessibleInterface* of(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

QString maximText(ArchiveWindow* w)
{
    QAccessibleTextInterface* t = of(w->sent())->textInterface();
    return t->text(0, t->characterCount());
}

template <class T>
T* child(QWidget* w, const QString& name)
{
    T* c = w->findChild<T*>(name);
    if (!c) qWarning("no control %s", qPrintable(name));
    return c;
}

WordDocument* typedDocument(WordApplication& app, const QStringList& paragraphs)
{
    app.setVisible(true);
    WordDocument* doc = app.DocumentsAdd();
    WordSelection& s = app.Selection();
    s.TypeText(paragraphs.join(QChar(13)));
    s.release();
    return doc;
}
} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

    Form* showWindow(const QString& name)
    {
        Form* w = Forms::instance().ref(name);
        if (auto* a = qobject_cast<ArchiveWindow*>(w)) a->List1()->setCurrentRow(4);
        Forms::instance().show(name);
        w->activateWindow();
        if (!QTest::qWaitForWindowExposed(w)) qWarning("%s not exposed", qPrintable(name));
        return w;
    }

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        ModNorvelia::InitSharedState();
        ArchiveData::setOverride(QStringLiteral("condominio"),
                                 SampleArchiveData(QStringLiteral("condominio"), {{5, 24}, {10, 12}}));
    }
    void cleanup()
    {
        fx.reset();
        FlushDeletes();
    }

    void everyControlOfAWindowIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* w : {"frmSplash", "scelta", "condominio", "ricerca", "sommario", "informa", "prodotti", "frmTip",
                              "licenza", "supportoclienti", "guidascelta", "guidaricerca", "raccolte"})
            QTest::newRow(w) << QString::fromLatin1(w);
    }
    void everyControlOfAWindowIsNamed()
    {
        QFETCH(QString, window);
        Form* w = showWindow(window);
        QAccessibleInterface* i = of(w);
        QCOMPARE(i->role(), QAccessible::Window);
        if (window == QLatin1String("frmSplash")) {
            QVERIFY(!i->text(QAccessible::Name).isEmpty());
            QCOMPARE(i->text(QAccessible::Description), frmSplash::HowToGoOn());
            // A click goes on, and a reader can make it without a mouse.
            QVERIFY(i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QVERIFY(Forms::instance().find(QStringLiteral("scelta")));
        } else {
            QCOMPARE(i->text(QAccessible::Name), w->caption());
            QVERIFY(!i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
        QStringList unnamed, focused;
        walk(i, unnamed, focused);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    void controlsHaveTheirRolesAndNames_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("option") << "scelta" << "Option1(5)" << int(QAccessible::RadioButton) << "Condominio"
                                << scelta::OptionHint(5);
        QTest::newRow("topics") << "condominio" << "List1" << int(QAccessible::List) << "Argomenti"
                                << "argomento scelto: Amministratore";
        QTest::newRow("maxim") << "condominio" << "sent" << int(QAccessible::EditableText) << "Testo della massima"
                               << QString();
        QTest::newRow("maxim bar") << "condominio" << "HScroll1" << int(QAccessible::ScrollBar) << "Massima n. 1 di 24"
                                   << QString();
        QTest::newRow("count") << "condominio" << "conta" << int(QAccessible::StaticText) << "1"
                               << Archives::find(QStringLiteral("condominio"))->contaToolTip();
        QTest::newRow("picture") << "frmSplash" << "Image1" << int(QAccessible::Graphic) << "Immagine di copertina di Norvelia"
                                 << QString();
    }
    void controlsHaveTheirRolesAndNames()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        Form* w = showWindow(window);
        QAccessibleInterface* i = of(child<QWidget>(w, control));
        QVERIFY(i);
        QCOMPARE(int(i->role()), role);
        QCOMPARE(i->text(QAccessible::Name).trimmed(), name);
        QCOMPARE(i->text(QAccessible::Description), description);
    }

    void optionStatesAndPress()
    {
        Form* w = showWindow(QStringLiteral("scelta"));
        QAccessibleInterface* o = of(child<QWidget>(w, QStringLiteral("Option1(5)")));
        QVERIFY(o->state().checkable);
        QVERIFY(!o->state().checked);
        QVERIFY(o->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        o->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(Forms::instance().find(QStringLiteral("condominio"))->isVisible());
        // The count beside the option is linked to it as its label.
        const auto labelled = o->relations(QAccessible::Label);
        QCOMPARE(labelled.size(), 1);
        QVERIFY(labelled.first().first->text(QAccessible::Name).contains(QStringLiteral("massime")));
    }

    void aLabelBesideAChoiceNamesIt()
    {
        Form* w = showWindow(QStringLiteral("ricerca"));
        // The reader says what a choice chooses: its caption is its label.
        auto* order = child<QWidget>(w, QStringLiteral("ordine"));
        const auto labels = of(order)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Ordine"));
        // The list it opens is named after it too.
        QCOMPARE(of(static_cast<QComboBox*>(order)->view())->text(QAccessible::Name), QStringLiteral("Elenco: Ordine"));
    }

    void steppingTheMaximTellsTheReader()
    {
        auto* w = static_cast<ArchiveWindow*>(showWindow(QStringLiteral("condominio")));
        QTest::keyClick(w->HScroll1(), Qt::Key_Right);
        QTest::keyClick(w->HScroll1(), Qt::Key_Right);
        QAccessibleInterface* bar = of(w->HScroll1());
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Massima n. 3 di 24"));
        QCOMPARE(bar->valueInterface()->currentValue().toInt(), 3);
        QCOMPARE(bar->valueInterface()->maximumValue().toInt(), 100);
        QCOMPARE(maximText(w), SampleMaxim(QStringLiteral("condominio"), 5, 3));
        // A reader sets the value as the keys would: the maxim follows.
        bar->valueInterface()->setCurrentValue(7);
        QCOMPARE(w->conta()->caption(), QStringLiteral("7"));
        QCOMPARE(maximText(w), SampleMaxim(QStringLiteral("condominio"), 5, 7));
        // Past the topic's last maxim the bar says so.
        bar->valueInterface()->setCurrentValue(30);
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Fine delle massime dell'argomento, 24 in tutto"));
        QCOMPARE(bar->valueInterface()->currentValue().toInt(), 25);
        // The text box's own bar is named after it.
        QAccessibleInterface* own = of(w->sent()->verticalScrollBar());
        QCOMPARE(own->text(QAccessible::Name), QStringLiteral("Testo della massima, barra di scorrimento verticale"));
    }

    void onlyTheControlWithTheKeysIsFocused()
    {
        auto* w = static_cast<ArchiveWindow*>(showWindow(QStringLiteral("condominio")));
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->List1()->setFocus();
        QStringList unnamed, focused;
        walk(of(w), unnamed, focused);
        QCOMPARE(focused.size(), 1);
        QVERIFY2(focused.first().contains(QStringLiteral("5) ")), qPrintable(focused.first()));
        // Tab leaves the list: its chosen entry is no longer where the keys go.
        QTest::keyClick(w->List1(), Qt::Key_Tab);
        QVERIFY(!w->List1()->hasFocus());
        focused.clear();
        walk(of(w), unnamed, focused);
        QCOMPARE(focused.size(), 1);
        QVERIFY2(!focused.first().contains(QStringLiteral("(item)")), qPrintable(focused.first()));
        QVERIFY(of(w->List1())->child(4)->state().selected);
        QVERIFY(!of(w->List1())->child(4)->state().focused);
    }

    void documentWindowReadsItsText()
    {
        WordApplication app;
        const QStringList paragraphs{QStringLiteral("Prima riga del documento. Seconda frase."), QStringLiteral("Secondo paragrafo.")};
        WordDocument* doc = typedDocument(app, paragraphs);
        DocumentWindow* w = DocumentWindow::open(doc);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QAccessibleInterface* i = of(w->editor());
        QCOMPARE(i->role(), QAccessible::EditableText);
        QVERIFY(!i->text(QAccessible::Name).isEmpty());
        QVERIFY(i->state().focused);
        // The pages are one text, not a text over a second focused area.
        QStringList unnamed, focused;
        walk(of(w), unnamed, focused);
        QCOMPARE(focused.size(), 1);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
        QAccessibleTextInterface* t = i->textInterface();
        QVERIFY(t);
        const QString all = paragraphs.join(QLatin1Char('\n'));
        QCOMPARE(t->characterCount(), all.size());
        QCOMPARE(t->text(0, t->characterCount()), all);
        int start = 0, end = 0;
        QCOMPARE(t->textAtOffset(45, QAccessible::ParagraphBoundary, &start, &end), QStringLiteral("Secondo paragrafo."));
        QCOMPARE(t->textBeforeOffset(45, QAccessible::ParagraphBoundary, &start, &end), paragraphs[0] + QLatin1Char('\n'));
        QCOMPARE(t->textAfterOffset(3, QAccessible::ParagraphBoundary, &start, &end), QStringLiteral("Secondo paragrafo."));
        QVERIFY(t->characterRect(0).isValid());

        // The caret: set by the reader, moved by the keys, read either way.
        t->setCursorPosition(6);
        QCOMPARE(w->editor()->textItem()->textCursor().position(), 6);
        QTest::keyClick(w->editor(), Qt::Key_Right);
        QCOMPARE(t->cursorPosition(), 7);
        QTest::keyClick(w->editor(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(t->selectionCount(), 1);
        t->selection(0, &start, &end);
        QCOMPARE(start, 7);
        QCOMPARE(end, 8);
        t->removeSelection(0);
        QCOMPARE(t->selectionCount(), 0);

        // Typing and a reader's edits alike are in the text it reads.
        QTest::keyClicks(w->editor(), QStringLiteral("xy"));
        QCOMPARE(t->text(0, 12), QStringLiteral("Prima rixyga"));   // after the selection's end
        i->editableTextInterface()->replaceText(0, 5, QStringLiteral("Unica"));
        QVERIFY(doc->text()->toPlainText().startsWith(QStringLiteral("Unica rixyga")));
        doc->text()->setModified(false);
        w->close();
    }

    void unitsOfTheDocument_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        // "Una frase. Due parole.\nFine" : 0..21 the first paragraph, 22 its separator, 23..26 the second.
        QTest::newRow("character") << 4 << int(QAccessible::CharBoundary) << 4 << 5;
        QTest::newRow("word start") << 4 << int(QAccessible::WordBoundary) << 4 << 9;
        QTest::newRow("inside a word") << 6 << int(QAccessible::WordBoundary) << 4 << 9;
        QTest::newRow("sentence") << 13 << int(QAccessible::SentenceBoundary) << 11 << 23;
        QTest::newRow("first sentence") << 0 << int(QAccessible::SentenceBoundary) << 0 << 11;
        QTest::newRow("paragraph with its end") << 3 << int(QAccessible::ParagraphBoundary) << 0 << 23;
        QTest::newRow("last paragraph") << 25 << int(QAccessible::ParagraphBoundary) << 23 << 27;
        QTest::newRow("separator") << 22 << int(QAccessible::WordBoundary) << 22 << 23;
        QTest::newRow("line of an unwrapped paragraph") << 5 << int(QAccessible::LineBoundary) << 0 << 23;
        QTest::newRow("everything") << 9 << int(QAccessible::NoBoundary) << 0 << 27;
        QTest::newRow("past the end") << 90 << int(QAccessible::CharBoundary) << 27 << 27;
    }
    void unitsOfTheDocument()
    {
        QFETCH(int, offset);
        QFETCH(int, type);
        QFETCH(int, first);
        QFETCH(int, second);
        QTextDocument doc(QStringLiteral("Una frase. Due parole.\nFine"));
        doc.setTextWidth(2000);
        (void)doc.size();   // laid out, so that its lines exist
        const auto r = PageViewAccessible::unitAt(&doc, offset, QAccessible::TextBoundaryType(type));
        QCOMPARE(r.first, first);
        QCOMPARE(r.second, second);
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
