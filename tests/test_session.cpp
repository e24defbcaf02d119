// A long randomised session over every window: seeded user actions, with the program's invariants
// checked after each one. A failing seed is shrunk to the shortest action sequence that still fails.
//
// Several seeds run by default; NORVELIA_SESSION_SEEDS ("1-500" or "7,9,12") and
// NORVELIA_SESSION_ACTIONS choose others for a long run.
#include "Fixture.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "shell/AppPaths.h"
#include "shell/ProgramLifetime.h"
#include "wordout/DocumentWindow.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "search/ricerca.h"
#include "raccolte/RaccolteActions.h"
#include "raccolte/raccolte.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <random>

namespace {

// One user action as drawn by the generator: raw numbers read against the program's state when the
// action runs, so that any subsequence of a session can be replayed.
struct Step {
    quint32 kind, target, pick, extra;
};

enum Kind { Button, Action, ListRow, Scroll, Key, Click, CloseWindow, DocumentEdit, MouseMove, Search, Raccolta, KindCount };
constexpr int kWeights[KindCount] = {30, 22, 12, 18, 6, 6, 3, 5, 2, 8, 6};

Step drawStep(std::mt19937& rng)
{
    int total = 0;
    for (int w : kWeights) total += w;
    int r = int(rng() % quint32(total)), kind = 0;
    while (r >= kWeights[kind]) r -= kWeights[kind++];
    return {quint32(kind), quint32(rng()), quint32(rng()), quint32(rng())};
}

template <class T>
QList<T*> usable(QWidget* window)
{
    QList<T*> out;
    for (T* w : window->findChildren<T*>())
        if (w->isEnabled() && w->window() == window) out << w;
    return out;
}

QList<DocumentWindow*> documentWindows()
{
    QList<DocumentWindow*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<DocumentWindow*>(w); d && d->isVisible()) out << d;
    return out;
}

// The program a user has in front of them: its own windows that are showing and the documents.
QList<QWidget*> visibleWindows()
{
    QList<QWidget*> out;
    for (const QString& name : Forms::instance().loadedNames())
        if (Form* f = Forms::instance().find(name); f && f->isVisible()) out << f;
    for (DocumentWindow* d : documentWindows()) out << d;
    return out;
}

class Session {
public:
    explicit Session(ScriptedPlatform& platform, const QString& sandbox) : p_(platform), sandbox_(sandbox)
    {
        QObject::connect(&lifetime_, &ProgramLifetime::ended, [this] { ended_ = true; });
    }

    void start()
    {
        ModNorvelia::resetState();
        ModNorvelia::Start();
        ++runs_;
    }

    // Runs one action; returns what it did, for the report of a failing sequence.
    QString run(const Step& s)
    {
        std::mt19937 rng(s.extra);
        script(rng);
        closing_.clear();
        QString what = act(s, rng);
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        // What the event loop would deliver once the action's handlers have returned.
        ended_ = false;
        FlushDeletes();
        QCoreApplication::sendPostedEvents();
        FlushDeletes();
        ++actions_;
        if (ended_) {
            start();   // the program has ended: the user starts it again
            what += QStringLiteral(" [programma riavviato]");
        }
        return what;
    }

    // What must hold between any two actions; an empty text when it does.
    QString check()
    {
        Forms& forms = Forms::instance();
        QHash<QString, int> copies;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Form*>(w)) ++copies[w->objectName()];
        for (auto it = copies.cbegin(); it != copies.cend(); ++it)
            if (it.value() > 1) return QStringLiteral("la finestra %1 esiste %2 volte").arg(it.key()).arg(it.value());
        if (forms.loadedCount() > 0 && !forms.anyShown() && documentWindows().isEmpty())
            return QStringLiteral("il programma resta aperto senza alcuna finestra sullo schermo (caricate: %1; "
                                  "finestre di documento: %2)")
                .arg(forms.loadedNames().join(QLatin1Char(' ')))
                .arg(DocumentWindow::openCount());
        if (Form::lockedWindow()) return QStringLiteral("il disegno di %1 resta sospeso").arg(Form::lockedWindow()->objectName());
        if (auto* w = forms.find<raccolte>(QStringLiteral("raccolte"))) {
            // The window shows what the file holds, in the file's order, with the file's notes.
            RaccolteStore& store = RaccolteActions::store();
            const auto all = store.raccolte();
            if (w->elenco()->count() != int(all.value.size()))
                return QStringLiteral("raccolte: %1 nell'elenco, %2 nel file").arg(w->elenco()->count()).arg(all.value.size());
            const auto held = store.maxims(w->currentRaccolta());
            if (held.value.size() != w->entries().size() || w->massime()->topLevelItemCount() != int(held.value.size()))
                return QStringLiteral("raccolte: %1 massime nella finestra, %2 nel file").arg(w->entries().size()).arg(held.value.size());
            for (std::size_t i = 0; i < held.value.size(); ++i) {
                const StoredMaxim& m = held.value[i];
                if (w->entries()[i].stored.id != m.id) return QStringLiteral("raccolte: ordine diverso dal file alla riga %1").arg(i + 1);
                if (w->massime()->topLevelItem(int(i))->text(raccolte::ColNote) != m.note)
                    return QStringLiteral("raccolte: nota diversa dal file alla riga %1").arg(i + 1);
            }
        }
        if (auto* r = forms.find<ricerca>(QStringLiteral("ricerca"))) {
            const int rows = r->risultati()->model()->rowCount();
            if (rows != int(r->result().hits.size())) return QStringLiteral("ricerca: %1 righe per %2 massime").arg(rows).arg(r->result().hits.size());
            // The count is of the maxims holding every word; the related forms are listed after them.
            const int found = r->result().found();
            const QString count = r->result().partial ? QStringLiteral(" Nessuna massima contiene tutte le parole")
                                  : found == 1        ? QStringLiteral(" 1 massima trovata")
                                                      : QStringLiteral(" %1 massime trovate").arg(found);
            if (!r->result().query.empty() && !r->esito()->caption().startsWith(count))
                return QStringLiteral("ricerca: \"%1\" con %2 massime").arg(r->esito()->caption()).arg(rows);
        }

        const auto& totals = ModNorvelia::state().ArchiveTotals;
        for (const ArchiveDefinition& a : Archives::all()) {
            auto* w = forms.find<ArchiveWindow>(a.name());
            if (!w) continue;
            const QString n = a.name();
            const auto& total = totals[std::size_t(Archives::indexOf(n))];
            if (!total || *total != w->archiveTotal())
                return QStringLiteral("%1: il totale condiviso non è quello della finestra").arg(n);
            if (w->PrintAll() != 0) return QStringLiteral("%1: PrintAll resta %2").arg(n).arg(w->PrintAll());
            if (w->CurrentTopic() == 0 && w->CurrentMaxim() == 0) continue;   // nothing shown yet
            const int m = w->CurrentMaxim();
            if (m < 1 || m > w->EndOfTopicPosition())
                return QStringLiteral("%1: massima corrente %2 fuori da 1..%3").arg(n).arg(m).arg(w->EndOfTopicPosition());
            if (w->HScroll1()->value() != m) return QStringLiteral("%1: HScroll1 %2, massima %3").arg(n).arg(w->HScroll1()->value()).arg(m);
            if (w->conta()->caption() != QString::number(m))
                return QStringLiteral("%1: conta \"%2\", massima %3").arg(n, w->conta()->caption()).arg(m);
        }

        // A document goes away only when the user closes its window.
        QSet<WordDocument*> shown;
        for (DocumentWindow* d : documentWindows()) {
            if (!d->document()) return QStringLiteral("una finestra di documento ha perso il suo documento");
            if (shown.contains(d->document())) return QStringLiteral("un documento è aperto in due finestre");
            shown.insert(d->document());
        }
        for (WordApplication* app : WordApplication::instances())
            for (int i = 1; i <= app->DocumentsCount(); ++i)
                if (WordDocument* doc = app->DocumentsItem(i); doc && !known_.contains(doc)) known_.insert(doc, doc);
        for (auto it = known_.begin(); it != known_.end();) {
            const bool gone = it.value().isNull() || !shown.contains(it.key());
            if (gone && !closing_.contains(it.key())) return QStringLiteral("un documento è andato perso");
            it = gone ? known_.erase(it) : std::next(it);
        }
        for (const MsgBoxRequest& b : p_.boxes)
            if (b.text.trimmed().isEmpty() || b.title.trimmed().isEmpty()) return QStringLiteral("un messaggio senza testo o titolo");
        p_.boxes.clear();
        return QString();
    }

    int actions() const { return actions_; }
    int runs() const { return runs_; }

private:
    // Answers and dialog results for whatever the next action asks; what it does not use is dropped.
    void script(std::mt19937& rng)
    {
        p_.answers.clear();
        p_.colours.clear();
        p_.fileNames.clear();
        p_.saveNames.clear();
        p_.inputs.clear();
        static const char* names[] = {"Causa Rossi", "Causa Bianchi", "causa rossi", "", "Parere Verdi"};
        if (rng() % 4 == 0) p_.inputs.push_back(std::nullopt);
        else p_.inputs.push_back(QString::fromUtf8(names[rng() % std::size(names)]));
        static const MsgAnswer answers[] = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel, MsgAnswer::OK};
        for (int i = 0; i < 4; ++i) p_.answers.push_back(answers[rng() % 4]);
        if (rng() % 3 == 0) p_.colours.push_back(std::nullopt);
        else p_.colours.push_back(QColor::fromRgb(rng() & 0xffffff));

        // The delete dialog: cancelled, a file of the sandbox, a folder, or a name that has vanished.
        const QString victim = QDir(sandbox_).filePath(QStringLiteral("da eliminare %1.txt").arg(rng() % 3));
        switch (rng() % 4) {
        case 0: p_.fileNames.push_back(QString()); break;
        case 1: {
            QFile f(victim);
            if (f.open(QIODevice::WriteOnly)) f.write("prova");
            p_.fileNames.push_back(victim);
            break;
        }
        case 2: QDir(sandbox_).mkpath(QStringLiteral("cartella")); p_.fileNames.push_back(QDir(sandbox_).filePath(QStringLiteral("cartella"))); break;
        default: p_.fileNames.push_back(QDir(sandbox_).filePath(QStringLiteral("svanito.txt"))); break;
        }
        static const char* ext[] = {".doc", ".odt", ".pdf"};
        switch (rng() % 3) {
        case 0: p_.saveNames.push_back(QString()); break;
        case 1: p_.saveNames.push_back(QStringLiteral("/proc/non-scrivibile/documento.doc")); break;
        default: p_.saveNames.push_back(QDir(sandbox_).filePath(QStringLiteral("salvato%1").arg(QLatin1String(ext[rng() % 3])))); break;
        }
    }

    QString act(const Step& s, std::mt19937& rng)
    {
        const QList<QWidget*> windows = visibleWindows();
        if (windows.isEmpty()) return QStringLiteral("nessuna finestra sullo schermo");
        QWidget* window = windows[int(s.target % quint32(windows.size()))];
        // A search goes to the search window when it is on the screen, a raccolta's action to the
        // raccolte window.
        if (s.kind == Search)
            for (QWidget* w : windows)
                if (w->objectName() == QLatin1String("ricerca")) window = w;
        if (s.kind == Raccolta)
            for (QWidget* w : windows)
                if (w->objectName() == QLatin1String("raccolte")) window = w;
        const QString where = window->objectName();
        auto* doc = qobject_cast<DocumentWindow*>(window);
        if (doc) return documentAction(doc, s);
        // A kind of action the window does not offer gives way to a click, as a user at a loss would
        // click; keys and closing stay as rare as drawn.
        for (Kind k : {Kind(s.kind), Click, Button, Action, ListRow, Scroll, MouseMove}) {
            const QString done = tryKind(k, window, s, rng);
            if (!done.isEmpty()) return where + QStringLiteral(": ") + done;
        }
        return where + QStringLiteral(": nulla da fare");
    }

    QString tryKind(Kind kind, QWidget* window, const Step& s, std::mt19937& rng)
    {
        switch (kind) {
        case Button: {
            // The window's own buttons; Qt's extension buttons only pop up menus.
            QList<QAbstractButton*> list;
            for (QAbstractButton* b : usable<QAbstractButton>(window))
                if (!b->objectName().isEmpty() && !b->objectName().startsWith(QLatin1String("qt_")) && !qobject_cast<QToolButton*>(b))
                    list << b;
            if (list.isEmpty()) break;
            QAbstractButton* b = list[int(s.pick % quint32(list.size()))];
            const QString name = b->objectName();
            b->click();
            return QStringLiteral("clic su ") + name;
        }
        case Action: {
            QList<QAction*> list;
            for (QAction* a : window->findChildren<QAction*>())
                if (a->isEnabled() && !a->isSeparator() && !a->menu()) list << a;
            if (list.isEmpty()) break;
            QAction* a = list[int(s.pick % quint32(list.size()))];
            const QString name = a->objectName().isEmpty() ? a->text() : a->objectName();
            a->trigger();
            return QStringLiteral("comando ") + name;
        }
        case ListRow: {
            const auto list = usable<QListWidget>(window);
            if (list.isEmpty()) break;
            QListWidget* l = list[int(s.pick % quint32(list.size()))];
            if (l->count() == 0) break;
            const int row = int(rng() % quint32(l->count()));
            if (rng() % 2) {
                l->setCurrentRow(row);
                return QStringLiteral("riga %1 scelta").arg(row);
            }
            const QRect r = l->visualItemRect(l->item(row));
            if (!r.isValid()) break;
            l->scrollToItem(l->item(row));
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
            return QStringLiteral("clic sulla riga %1").arg(row);
        }
        case Scroll: {
            const auto list = usable<QScrollBar>(window);
            if (list.isEmpty()) break;
            QScrollBar* b = list[int(s.pick % quint32(list.size()))];
            const int how = int(rng() % 7);
            const int to = b->minimum() + int(rng() % quint32(b->maximum() - b->minimum() + 3)) - 1;
            static const QAbstractSlider::SliderAction steps[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderPageStepAdd,
                QAbstractSlider::SliderPageStepSub, QAbstractSlider::SliderToMaximum};
            static const char* stepNames[] = {"freccia avanti", "freccia indietro", "pagina avanti", "pagina indietro", "in fondo"};
            if (how < 5) {
                b->triggerAction(steps[how]);
                return QStringLiteral("%1 %2").arg(b->objectName(), QLatin1String(stepNames[how]));
            }
            if (how == 5) {
                b->setValue(to);
                return QStringLiteral("%1 a %2 da codice").arg(b->objectName()).arg(to);
            }
            b->setSliderDown(true);
            b->setSliderPosition(to);
            b->setSliderPosition(b->minimum() + int(rng() % quint32(b->maximum() - b->minimum() + 1)));
            b->setSliderDown(false);
            return QStringLiteral("%1 trascinata").arg(b->objectName());
        }
        case Key: {
            static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
                {Qt::Key_Return, {}}, {Qt::Key_Escape, {}}, {Qt::Key_Space, {}}, {Qt::Key_Tab, {}},
                {Qt::Key_Right, {}},  {Qt::Key_Left, {}},   {Qt::Key_A, {}},     {Qt::Key_X, Qt::AltModifier},
                {Qt::Key_U, Qt::AltModifier}, {Qt::Key_S, Qt::AltModifier}, {Qt::Key_A, Qt::AltModifier}};
            const auto& [key, mods] = keys[s.pick % std::size(keys)];
            QApplication::setActiveWindow(window);
            QWidget* to = window->focusWidget() ? window->focusWidget() : window;
            QTest::keyClick(to, key, mods);
            return QStringLiteral("tasto %1").arg(QKeySequence(int(key) | int(mods)).toString());
        }
        case Click: {
            auto labels = usable<VLabel>(window);
            if (labels.isEmpty() || s.pick % 4 == 0) {
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(2, window->height() - 2));
                return QStringLiteral("clic sulla finestra");
            }
            VLabel* l = labels[int(s.pick % quint32(labels.size()))];
            const QString name = l->objectName();
            QTest::mouseClick(l, Qt::LeftButton, {}, l->rect().center());
            return QStringLiteral("clic sull'etichetta ") + name;
        }
        case CloseWindow:
            window->close();
            return QStringLiteral("chiusa");
        case MouseMove:
            QTest::mouseMove(window, QPoint(int(s.pick % 200), int(s.extra % 200)));
            return QStringLiteral("mouse mosso");
        case Search: return searchAction(window, s, rng);
        case Raccolta: return raccoltaAction(window, s, rng);
        default: break;
        }
        return QString();
    }

    // The search window: a query typed from pieces of every kind, well formed or not; a hit opened or
    // copied; a filter chosen.
    QString searchAction(QWidget* window, const Step& s, std::mt19937& rng)
    {
        auto* r = qobject_cast<ricerca*>(window);
        if (!r) return QString();
        switch (s.pick % 3) {
        case 0: {
            static const char* pieces[] = {"distanze", "revoca", "amministratore", "\"parti comuni\"", "condomin*", "-muro",
                                           "O", "Cass.", "3679/1996", "sez. un.", "TAR Lombardia", "1998", "art. 1117 cod. civ.",
                                           "legge 47/1985", "\"", "perche'", "servitù", "-", "*", "zzqq", "(", "\x01", "di"};
            QString q;
            for (quint32 k = 0, n = 1 + rng() % 4; k < n; ++k) q += QLatin1String(pieces[rng() % std::size(pieces)]) + QLatin1Char(' ');
            r->testo()->clear();
            // Typed key by key where the test library has keys for it; pasted otherwise.
            if (std::all_of(q.begin(), q.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; }))
                QTest::keyClicks(r->testo(), q);
            else
                r->testo()->insert(q);
            return QStringLiteral("cerca \"%1\"").arg(q.trimmed());
        }
        case 1: {
            const int rows = r->risultati()->model()->rowCount();
            if (rows == 0) return QString();
            const QModelIndex i = r->risultati()->model()->index(int(rng() % quint32(rows)), 0);
            r->risultati()->setCurrentIndex(i);
            if (rng() % 2) {
                QTest::keyClick(r->risultati(), Qt::Key_Return);
                return QStringLiteral("apre la massima %1").arg(i.row());
            }
            QTest::keySequence(r->risultati(), QKeySequence::Copy);
            return QStringLiteral("copia la massima %1").arg(i.row());
        }
        default: {
            QComboBox* boxes[] = {r->archivio(), r->autorita(), r->norme(), r->ordine()};
            QComboBox* b = boxes[rng() % 4];
            if (rng() % 3 == 0) {
                QSpinBox* y = rng() % 2 ? r->dal() : r->al();
                y->setValue(y->minimum() + int(rng() % quint32(y->maximum() - y->minimum() + 1)));
                return QStringLiteral("%1 %2").arg(y->objectName()).arg(y->value());
            }
            if (b->count() == 0) return QString();
            b->setCurrentIndex(int(rng() % quint32(b->count())));
            return QStringLiteral("%1: %2").arg(b->objectName(), b->currentText());
        }
        }
    }

    // The raccolte window: a note written in place, a maxim dragged elsewhere, some rows chosen; from
    // an archive window, the maxim on screen added.
    QString raccoltaAction(QWidget* window, const Step& s, std::mt19937& rng)
    {
        if (auto* a = qobject_cast<ArchiveWindow*>(window)) {
            a->aggiungi_Click();
            return QStringLiteral("aggiunge alla raccolta: %1").arg(a->LastAddMessage());
        }
        auto* w = qobject_cast<raccolte*>(window);
        if (!w) return QString();
        const int rows = w->massime()->topLevelItemCount();
        if (rows == 0) return QString();
        const int row = int(rng() % quint32(rows));
        switch (s.pick % 3) {
        case 0: {
            static const char* notes[] = {"", "decisiva", "vedi memoria del 3 marzo", "«citare» & <non>"};
            const QString note = QString::fromUtf8(notes[rng() % std::size(notes)]);
            w->massime()->topLevelItem(row)->setText(raccolte::ColNote, note);
            return QStringLiteral("nota \"%1\" alla riga %2").arg(note).arg(row + 1);
        }
        case 1: {
            const int to = int(rng() % quint32(rows));
            w->MoveMaxim(row, to);
            return QStringLiteral("trascina la riga %1 alla %2").arg(row + 1).arg(to + 1);
        }
        default:
            w->massime()->clearSelection();
            for (int i = 0; i < rows; ++i)
                if (rng() % 3 == 0) w->massime()->topLevelItem(i)->setSelected(true);
            w->massime()->setCurrentItem(w->massime()->topLevelItem(row), 0, QItemSelectionModel::Select);
            return QStringLiteral("sceglie righe, corrente la %1").arg(row + 1);
        }
    }

    QString documentAction(DocumentWindow* w, const Step& s)
    {
        switch (s.pick % 4) {
        case 0:
            QTest::keyClicks(w->editor(), QStringLiteral("aggiunta "));
            return QStringLiteral("documento: testo aggiunto");
        case 1:
            w->save();
            return QStringLiteral("documento: salvato");
        default: {
            // The user closes it; only then may its document go.
            closing_.insert(w->document());
            const bool modified = w->document()->isModified();
            w->close();
            return QStringLiteral("documento: chiuso%1").arg(modified ? QStringLiteral(" (modificato)") : QString());
        }
        }
    }

    ScriptedPlatform& p_;
    QString sandbox_;
    ProgramLifetime lifetime_;
    bool ended_ = false;
    QHash<WordDocument*, QPointer<WordDocument>> known_;
    QSet<WordDocument*> closing_;
    int actions_ = 0;
    int runs_ = 0;
};

struct Outcome {
    int failedAt = -1;   // index of the step after which a check failed
    QString message;
    QStringList trace;
};

// Everything left from an earlier run goes: documents, windows, shared state.
void clearProgram()
{
    for (DocumentWindow* d : documentWindows()) {
        if (d->document()) d->document()->text()->setModified(false);
        d->close();
    }
    for (WordApplication* a : WordApplication::instances()) delete a;
    Forms::instance().unloadAll();
    FlushDeletes();
    ModNorvelia::resetState();
}

Outcome play(const std::vector<Step>& steps, const QString& sandbox, int* actions = nullptr, int* runs = nullptr)
{
    clearProgram();
    // Every replay starts from no raccolte, so that a shortened sequence meets the same file.
    const QString file = QDir(sandbox).filePath(QStringLiteral("raccolte.sqlite"));
    for (const char* side : {"", "-wal", "-shm"}) QFile::remove(file + QLatin1String(side));
    RaccolteStore::setPathOverride(file);
    RaccolteActions::reset();
    ProgramFixture fx;
    fx.platform().documentWindowsOpen = true;
    fx.platform().openRealDocumentWindows = true;
    Session session(fx.platform(), sandbox);
    session.start();
    Outcome out;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        out.trace << session.run(steps[i]);
        const QString problem = session.check();
        if (!problem.isEmpty()) {
            out.failedAt = int(i);
            out.message = problem;
            break;
        }
    }
    if (actions) *actions = session.actions();
    if (runs) *runs = session.runs();
    clearProgram();
    return out;
}

// Removes chunks of a failing sequence while it still fails, from halves down to single actions.
std::vector<Step> shrink(std::vector<Step> steps, const QString& sandbox)
{
    QElapsedTimer budget;
    budget.start();
    for (std::size_t chunk = steps.size() / 2; chunk >= 1 && budget.elapsed() < 120000; chunk /= 2) {
        for (std::size_t at = 0; at < steps.size() && budget.elapsed() < 120000;) {
            std::vector<Step> fewer(steps.begin(), steps.begin() + qsizetype(at));
            fewer.insert(fewer.end(), steps.begin() + qsizetype(std::min(steps.size(), at + chunk)), steps.end());
            const Outcome o = play(fewer, sandbox);
            if (o.failedAt >= 0) steps.assign(fewer.begin(), fewer.begin() + o.failedAt + 1);
            else at += chunk;
        }
        if (chunk == 1) break;
    }
    return steps;
}

// The offscreen platform warns about every window property it cannot honour; thousands of windows
// would bury the report.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    previousHandler(type, context, message);
}

QList<quint32> seedsToRun()
{
    const QString wanted = qEnvironmentVariable("NORVELIA_SESSION_SEEDS");
    if (wanted.isEmpty()) return {1, 2, 3, 4};
    QList<quint32> out;
    for (const QString& part : wanted.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.split(QLatin1Char('-'));
        const quint32 from = range[0].toUInt(), to = range.size() > 1 ? range[1].toUInt() : from;
        for (quint32 s = from; s <= to; ++s) out << s;
    }
    return out;
}
} // namespace

class TestSession : public QObject {
    Q_OBJECT
    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        previousHandler = qInstallMessageHandler(quietHandler);
        // The program's side files come from the source tree; whatever it writes goes to a sandbox.
        qputenv("NORVELIA_DATA_DIR", qgetenv("NORVELIA_SOURCE_DIR") + "/resources");
        AppPaths::setApplicationFolder(home.filePath(QStringLiteral("programma")));
        QDir().mkpath(home.filePath(QStringLiteral("programma")));
        qputenv("HOME", QFile::encodeName(home.path()));
    }

    void randomSession_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 s : seedsToRun()) QTest::newRow(qPrintable(QStringLiteral("seme %1").arg(s))) << s;
    }
    void randomSession()
    {
        QFETCH(quint32, seed);
        const int count = qEnvironmentVariableIsSet("NORVELIA_SESSION_ACTIONS") ? qEnvironmentVariableIntValue("NORVELIA_SESSION_ACTIONS")
                                                                                 : 2000;
        std::mt19937 rng(seed);
        std::vector<Step> steps;
        for (int i = 0; i < count; ++i) steps.push_back(drawStep(rng));
        int actions = 0, runs = 0;
        const QString sandbox = home.filePath(QStringLiteral("seme%1").arg(seed));
        QDir().mkpath(sandbox);
        const Outcome o = play(steps, sandbox, &actions, &runs);
        if (o.failedAt >= 0) {
            const std::vector<Step> shortest = shrink(std::vector<Step>(steps.begin(), steps.begin() + o.failedAt + 1), sandbox);
            const Outcome again = play(shortest, sandbox);
            QString report = QStringLiteral("seme %1: %2 dopo l'azione %3\nsequenza più breve (%4 azioni):\n")
                                 .arg(seed).arg(o.message).arg(o.failedAt + 1).arg(shortest.size());
            for (const QString& line : again.trace) report += QStringLiteral("  ") + line + QLatin1Char('\n');
            report += QStringLiteral("  -> ") + again.message;
            QFAIL(qPrintable(report));
        }
        if (qEnvironmentVariableIsSet("NORVELIA_SESSION_TRACE"))
            for (const QString& line : o.trace) qInfo("%s", qPrintable(line));
        qInfo("seme %u: %d azioni, %d avvii del programma", seed, actions, runs);
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
