#include "ArchiveWindow.h"
#include "ArchiveData.h"
#include "ToolbarIcons.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include "shell/ModNorvelia.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/VbText.h"
#include <QClipboard>
#include <QMimeData>
#include <QToolTip>
#include <QEvent>
#include <QGuiApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>

namespace {
const QColor Yellow(255, 255, 0);
const QColor DarkBlue(0, 0, 192);
const QColor White(255, 255, 255);
const QColor DesignGrey(128, 128, 128);

VLabel* yellowLabel(ArchiveWindow* w, const QString& name, double l, double t, double wd, double h, double size,
                    const QString& tip)
{
    auto* lb = w->place(new VLabel, name, l, t, wd, h);
    lb->setBackColor(Yellow);
    lb->setForeColor(DarkBlue);
    if (size > 0) lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), size));
    lb->setToolTip(tip);
    return lb;
}
} // namespace

QString ArchiveWindow::ListLabel(int topic, const QString& title)
{
    return (topic < 10 ? QStringLiteral("  ") : QString()) + NumberText(topic) + QStringLiteral(") ") + title;
}

QString ArchiveWindow::AiutoText()
{
    const QChar cr(13);
    return QStringLiteral("- Scegliere uno degli argomenti elencati sulla sinistra della finestra;") + cr +
           QStringLiteral("- visualizzare le sentenze disponibili usando la barra di scorrimento orizzontale;") + cr +
           QStringLiteral("- stampare la singola sentenza cliccando sul tasto Stampa;") + cr +
           QStringLiteral("- stampare tutte le sentenze dell'argomento scelto cliccando su File nella barra del menu;") + cr +
           QStringLiteral("- visualizzare il numero di sentenze disponibili nella casella gialla.");
}

ArchiveWindow::ArchiveWindow(const ArchiveDefinition& def) : Form(def.name()), def_(def)
{
    setCaption(QString::fromUtf8(def.caption));
    setBorder(Border::Sizable);
    setBackColor(DesignGrey);

    toolbar_ = new VToolBar(client());
    registerControl(toolbar_, QStringLiteral("Toolbar1"));
    registerControl(new NonVisualControl(this), QStringLiteral("ImageList1"));

    label1_ = yellowLabel(this, QStringLiteral("Label1"), 120, 600, 2535, 375, 12,
                          QStringLiteral("totale delle sentenze disponibili nella corrente versione del programma"));
    label2_ = yellowLabel(this, QStringLiteral("Label2"), 2760, 600, 6615, 495, 13.5,
                          QStringLiteral("argomento relativo alle massime visualizzate"));

    list_ = place(new VListBox, QStringLiteral("List1"), 120, 1080, 2535, 4350);
    list_->setAccessibleName(QStringLiteral("Argomenti"));
    {
        QPalette p = list_->palette();
        p.setColor(QPalette::Base, White);
        list_->setPalette(p);
    }
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::currentRowChanged, this, &ArchiveWindow::onRowChanged);
    connect(list_, &QListWidget::itemClicked, this, &ArchiveWindow::onItemClicked);

    scroll_ = place(new VScrollBar(Qt::Horizontal), QStringLiteral("HScroll1"), 2760, 1200, 5415, 375);
    scroll_->setRange(1, def.maximsPerTopic);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(5);
    // The change handler runs when the value has changed: on release of the thumb, not while dragging.
    scroll_->setTracking(false);
    scroll_->setValue(1);
    connect(scroll_, &QScrollBar::valueChanged, this, &ArchiveWindow::HScroll1_Change);
    nameScrollBar();

    conta_ = yellowLabel(this, QStringLiteral("conta"), 8280, 1200, 1095, 375, 13.5, def.contaToolTip());
    conta_->setCaption(QStringLiteral(" "));

    sent_ = place(new QPlainTextEdit, QStringLiteral("sent"), 2760, 1680, 6615, 3720);
    sent_->setAccessibleName(QStringLiteral("Testo della massima"));
    sent_->setReadOnly(true);
    sent_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    sent_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sent_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75));
    {
        QPalette p = sent_->palette();
        p.setColor(QPalette::Base, White);
        p.setColor(QPalette::Text, DarkBlue);
        sent_->setPalette(p);
    }

    passo_ = yellowLabel(this, QStringLiteral("passo"), 2400, 5640, 4695, 450, 0,
                         QStringLiteral("indicazioni sulla procedura e sul numero di massime disponibili"));

    placeButton(QStringLiteral("aiuto"), QStringLiteral("&AIUTO"), 120, 5760, 1095, 375,
                QStringLiteral("cliccare per visualizzare l'aiuto in linea"), &ArchiveWindow::aiuto_Click);
    placeButton(QStringLiteral("guidainlinea"), QStringLiteral("&Guida in linea"), 1200, 5760, 1095, 375,
                QStringLiteral("cliccare per visualizzare gli Argomenti della guida"), &ArchiveWindow::guidainlinea_Click);
    placeButton(QStringLiteral("stampiamo"), QStringLiteral("&Stampa"), 7200, 5760, 1095, 375,
                QStringLiteral("cliccare per stampare la sentenza visualizzata"), &ArchiveWindow::stampiamo_Click);
    placeButton(QStringLiteral("esco"), QStringLiteral("&USCITA"), 8280, 5760, 1095, 375,
                QStringLiteral("cliccare per uscire da Norvelia"), &ArchiveWindow::esco_Click);

    registerControl(new NonVisualControl(this), QStringLiteral("CommonDialog1"));
    buildMenus();
    buildToolbar();
    setInnerSize(9480, 6135);
    // The Window menu's shortcuts must reach the menu even from the maxim's text box, which would
    // otherwise keep Ctrl+A for itself.
    sent_->installEventFilter(this);
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::Form_Load()
{
    currentTopic_ = currentMaxim_ = topicMaximCount_ = 0;
    printAll_ = 0;

    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(9600);

    loadContent();

    list_->clear();
    total_ = 0;
    {
        const QSignalBlocker block(list_);
        for (int t = 1; t <= def_.topicCount; ++t) {
            list_->addItem(ListLabel(t, content_.TopicTitles(t)));
            total_ += content_.CountTopicMaxims(t);
        }
    }
    const int index = Archives::indexOf(def_.name());
    if (index >= 0) ModNorvelia::state().ArchiveTotals[std::size_t(index)] = total_;
    label1_->setCaption(NumberText(total_) + def_.totalEnding());
    passo_->setCaption(def_.instruction());
    nameScrollBar();
}

void ArchiveWindow::loadContent()
{
    content_.reset(def_.topicCount, def_.maximsPerTopic);
    const QByteArray bytes = ArchiveData::bytesFor(def_.name());
    const ParsedArchive parsed = ArchiveData::parse(bytes);
    auto runLoader = [this](const ParsedTopic& topic) {
        const int n = std::min<int>(int(topic.cells.size()), def_.maximsPerTopic);
        for (int m = 1; m <= n; ++m) content_.setMaximText(topic.number, m, topic.cells[m - 1]);
    };
    if (def_.perTopicLoaders) {
        for (int t = 1; t <= def_.topicCount; ++t) {
            content_.setTopicTitle(t, def_.topicTitle(t));
            if (const ParsedTopic* topic = parsed.topic(t)) runLoader(*topic);
        }
    } else {
        // A small archive stores all its titles first and then all its cells in one step.
        for (int t = 1; t <= def_.topicCount; ++t) content_.setTopicTitle(t, def_.topicTitle(t));
        for (const ParsedTopic& topic : parsed.topics)
            if (topic.number >= 1 && topic.number <= def_.topicCount) runLoader(topic);
    }
}

void ArchiveWindow::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void ArchiveWindow::Form_Unload() { resizer_.reset(); }

void ArchiveWindow::onRowChanged(int row)
{
    if (row < 0) return;
    if (listPressed_) rowChangedByPress_ = true;
    List1_Click();
}

void ArchiveWindow::onItemClicked()
{
    // A click on a new entry has already chosen it when the row changed under the press; a click on the
    // entry already chosen chooses it again.
    if (!rowChangedByPress_) List1_Click();
    listPressed_ = false;
    rowChangedByPress_ = false;
}

bool ArchiveWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (sent_ && watched == sent_ && event->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->modifiers() == Qt::ControlModifier && k->key() >= Qt::Key_A && k->key() <= Qt::Key_H) {
            event->ignore();
            return true;
        }
        if (k->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && k->key() == Qt::Key_C) {
            event->ignore();
            return true;
        }
    }
    if (list_ && watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
        listPressed_ = true;
        rowChangedByPress_ = false;
    }
    return Form::eventFilter(watched, event);
}

void ArchiveWindow::List1_Click()
{
    const int row = list_->currentRow();
    if (row < 0) return;
    scroll_->setValue(1);
    currentTopic_ = std::int16_t(row + 1);
    currentMaxim_ = 1;
    conta_->setCaption(QStringLiteral("1"));
    sent_->setPlainText(content_.MaximTexts(currentTopic_, 1));
    list_->setToolTip(QStringLiteral("argomento scelto: ") + content_.TopicTitles(currentTopic_));
    label2_->setCaption(content_.TopicTitles(currentTopic_));
    topicMaximCount_ = std::int16_t(content_.CountTopicMaxims(currentTopic_));
    passo_->setCaption(QStringLiteral("visualizzazione delle ") + NumberText(topicMaximCount_) + def_.countEnding());
    nameScrollBar();
}

void ArchiveWindow::HScroll1_Change()
{
    currentMaxim_ = std::int16_t(scroll_->value());
    if (currentMaxim_ > topicMaximCount_) {
        showMaximText(def_.pastLastLine());
        conta_->setCaption(QString::number(EndOfTopicPosition()));
        // Runs this handler once more, inside the assignment, when the value changes; that run takes
        // this same branch and leaves the value as it is, so the chain ends there.
        scroll_->setValue(EndOfTopicPosition());
    } else {
        conta_->setCaption(QString::number(currentMaxim_));
        showMaximText(content_.MaximTexts(currentTopic_, currentMaxim_));
    }
    nameScrollBar();
}

QString ArchiveWindow::ScrollBarName(int topic, int maxim, int count)
{
    if (topic == 0) return QStringLiteral("Massima: nessun argomento scelto");
    if (maxim > count) return QStringLiteral("Fine delle massime dell'argomento, ") + QString::number(count) + QStringLiteral(" in tutto");
    return QStringLiteral("Massima n. %1 di %2").arg(maxim).arg(count);
}

void ArchiveWindow::nameScrollBar()
{
    // The bar tells a reader where it stands, as the yellow box beside it tells the eye.
    scroll_->setAccessibleName(ScrollBarName(currentTopic_, scroll_->value(), topicMaximCount_));
}

void ArchiveWindow::showMaximText(const QString& text)
{
    // Laying out the text box is most of the cost of a step; while a print steps through a topic
    // nobody can see the steps in between, so only the last text is laid out.
    if (holdText_) heldText_ = text;
    else sent_->setPlainText(text);
}

void ArchiveWindow::aiuto_Click()
{
    MsgBox(AiutoText(), MsgButtons::OK, MsgIcon::Information, ModNorvelia::state().HelpTitle);
}

void ArchiveWindow::guidainlinea_Click() { Forms::instance().show(QStringLiteral("sommario")); }

void ArchiveWindow::stampiamo_Click() { PrintMaxims(); }
void ArchiveWindow::stampa_Click() { PrintMaxims(); }

void ArchiveWindow::stampatutte_Click()
{
    printAll_ = 1;
    PrintMaxims();
    printAll_ = 0;
}

QString ArchiveWindow::NothingToPrintText()
{
    return QStringLiteral("Non vi è nulla da stampare: scegliere un argomento da visualizzare.");
}

void ArchiveWindow::PrintMaxims()
{
    if (topicMaximCount_ == 0) {
        MsgBox(NothingToPrintText(), MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    const QString before = passo_->caption();
    passo_->setCaption(QStringLiteral("sto caricando WORD"));
    WordApplication* app = WordOut::StartDocument();
    if (!app) {
        passo_->setCaption(before);   // the window stays as it was
        return;
    }
    WordSelection& sel = app->Selection();
    const QChar cr(13), ff(12);
    holdText_ = printAll_ == 1;
    heldText_ = sent_->toPlainText();
    sel.setFontName(QStringLiteral("Century Gothic"));
    sel.setFontSize(18);
    sel.TypeText(PrintHeading() + cr + cr);
    sel.setFontSize(12);
    const QString prefix = QString::fromUtf8(def_.maximLinePrefix);
    for (;;) {
        const int k = conta_->caption().toInt();
        sel.TypeText(prefix + content_.TopicTitles(currentTopic_) + QStringLiteral("    n.") + conta_->caption() + cr);
        sel.TypeText(content_.MaximTexts(currentTopic_, k));
        if (printAll_ != 1) break;
        // A topic filling every place has no end-of-topic position to step to: it ends at its last maxim.
        if (scroll_->value() >= scroll_->maximum()) break;
        scroll_->setValue(scroll_->value() + 1);   // the maxim step runs inside the assignment
        if (scroll_->value() > topicMaximCount_) break;
        sel.TypeText(QString(cr) + ff);
    }
    if (holdText_) {
        holdText_ = false;
        if (sent_->toPlainText() != heldText_) sent_->setPlainText(heldText_);
    }
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
    passo_->setCaption(QStringLiteral("ho visualizzato il testo su WORD"));
}

void ArchiveWindow::esco_Click() { ModNorvelia::ConfirmExit(); }

namespace {
ArchiveWindow::QuoteHook& quoteHook()
{
    static ArchiveWindow::QuoteHook hook;
    return hook;
}

QString MaximOnScreen(const ArchiveContent& content, int topic, int maxim, int count)
{
    if (count == 0 || maxim < 1 || maxim > count) return QString();
    return content.MaximTexts(topic, maxim);
}
} // namespace

void ArchiveWindow::setQuoteHook(QuoteHook hook) { quoteHook() = std::move(hook); }

QString ArchiveWindow::MaximCopyText() const
{
    const QString text = MaximOnScreen(content_, currentTopic_, currentMaxim_, topicMaximCount_);
    if (text.isEmpty()) return QString();
    if (quoteHook()) return quoteHook()(text).plain;
    return QString::fromUtf8(def_.maximLinePrefix) + content_.TopicTitles(currentTopic_) + QStringLiteral("    n.") +
           QString::number(currentMaxim_) + QLatin1Char('\n') + text;
}

void ArchiveWindow::copia_Click()
{
    const QString text = MaximCopyText();
    if (text.isEmpty()) {
        MsgBox(QStringLiteral("Non vi è nulla da copiare: scegliere un argomento e una massima da visualizzare."),
               MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    if (!quoteHook()) {
        QGuiApplication::clipboard()->setText(text);
        return;
    }
    // Plain text and HTML together: a word processor takes the HTML, a plain editor the text.
    const Quote q = quoteHook()(MaximOnScreen(content_, currentTopic_, currentMaxim_, topicMaximCount_));
    auto* data = new QMimeData;
    data->setText(q.plain);
    data->setHtml(q.html);
    QGuiApplication::clipboard()->setMimeData(data);
}

void ArchiveWindow::trova_Click() { Forms::instance().show(QStringLiteral("ricerca")); }

namespace {
ArchiveWindow::RelatedHandler& relatedHandler()
{
    static ArchiveWindow::RelatedHandler h;
    return h;
}

ArchiveWindow::AddHook& addHook()
{
    static ArchiveWindow::AddHook hook;
    return hook;
}
} // namespace

void ArchiveWindow::setRelatedHandler(RelatedHandler handler) { relatedHandler() = std::move(handler); }

void ArchiveWindow::affini_Click()
{
    if (MaximCopyText().isEmpty()) {
        MsgBox(QStringLiteral("Non vi è nulla di cui cercare le massime affini: scegliere un argomento e una massima da visualizzare."),
               MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    if (relatedHandler()) relatedHandler()(def_.name(), currentTopic_, currentMaxim_);
}

void ArchiveWindow::setAddHook(AddHook hook) { addHook() = std::move(hook); }

void ArchiveWindow::raccolte_Click() { Forms::instance().show(QStringLiteral("raccolte")); }

void ArchiveWindow::aggiungi_Click()
{
    const QString text = topicMaximCount_ == 0 || currentMaxim_ < 1 || currentMaxim_ > topicMaximCount_
                             ? QString()
                             : content_.MaximTexts(currentTopic_, currentMaxim_);
    if (text.isEmpty()) {
        MsgBox(QStringLiteral("Non vi è nulla da aggiungere: scegliere un argomento e una massima da visualizzare."),
               MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    if (!addHook()) return;
    const QString message = addHook()(def_.name(), currentTopic_, currentMaxim_, text);
    if (message.isEmpty()) return;
    lastAddMessage_ = message;
    // The window has no status bar of its own: the confirmation shows for a moment over the text.
    QToolTip::showText(sent_->mapToGlobal(QPoint(8, sent_->height() - 8)), message, sent_, QRect(), 4000);
}

// ---------------------------------------------------------------------------------------------------
// Menu bar and toolbar

QString ArchiveWindow::MainWindowName(int windowNumber)
{
    if (windowNumber == 1) return QStringLiteral("scelta");
    for (const ArchiveDefinition& a : Archives::all())
        if (a.windowNumber == windowNumber) return a.name();
    return QString();
}

void ArchiveWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& name, const QString& caption, auto slot) {
        QAction* a = menu->addAction(caption);
        registerControl(a, name);
        if constexpr (!std::is_same_v<decltype(slot), std::nullptr_t>) connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separator = [this](QMenu* menu, const QString& name) { registerControl(menu->addSeparator(), name); };
    auto submenu = [this](QMenu* parent, QMenuBar* barParent, const QString& name, const QString& caption) {
        QMenu* m = parent ? parent->addMenu(caption) : barParent->addMenu(caption);
        m->setObjectName(name);
        registerControl(m->menuAction(), name);
        return m;
    };

    QMenu* file = submenu(nullptr, bar, QStringLiteral("file"), QStringLiteral("&File"));
    item(file, QStringLiteral("eliminare"), QStringLiteral("&Elimina..."), &ArchiveWindow::eliminare_click);
    separator(file, QStringLiteral("l4"));
    QMenu* stam = submenu(file, nullptr, QStringLiteral("stam"), QStringLiteral("S&tampa"));
    item(stam, QStringLiteral("stampa"), QStringLiteral("&Sentenza visualizzata"), &ArchiveWindow::stampa_Click);
    item(stam, QStringLiteral("stampatutte"), QStringLiteral("&Tutte le sentenze dell'argomento"), &ArchiveWindow::stampatutte_Click);
    separator(file, QStringLiteral("l3"));
    item(file, QStringLiteral("usci"), QStringLiteral("Es&ci"), &ArchiveWindow::usci_Click);

    QMenu* modif = submenu(nullptr, bar, QStringLiteral("modif"), QStringLiteral("&Modifica"));
    item(modif, QStringLiteral("colorare"), QStringLiteral("&Colore di sfondo"), &ArchiveWindow::colorare_Click);
    separator(modif, QStringLiteral("l5"));
    item(modif, QStringLiteral("controlla"), QStringLiteral("Controllo &dati immessi"), nullptr)->setEnabled(false);
    separator(modif, QStringLiteral("l7"));
    item(modif, QStringLiteral("cancella"), QStringLiteral("C&ancella dati finestra"), nullptr)->setEnabled(false);
    // Beyond the window's own items: copying the maxim on screen and the search over every archive.
    separator(modif, QStringLiteral("l10"));
    QAction* copia = item(modif, QStringLiteral("copia"), QStringLiteral("Co&pia massima"), &ArchiveWindow::copia_Click);
    // Ctrl+C belongs to the Window menu here ("Finestra Urbanistica"), so the copy takes Ctrl+Shift+C.
    copia->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copia->setShortcutContext(Qt::WindowShortcut);
    separator(modif, QStringLiteral("l11"));
    QAction* trova = item(modif, QStringLiteral("trova"), QStringLiteral("&Trova nelle massime..."), &ArchiveWindow::trova_Click);
    trova->setShortcut(QKeySequence(Qt::Key_F3));
    trova->setShortcutContext(Qt::WindowShortcut);
    // Beyond the window's own items: the related maxims (computed) and the raccolte; "f", "l" and "r" are free
    // keys, and Ctrl+R is no item's own.
    separator(modif, QStringLiteral("l12"));
    item(modif, QStringLiteral("affini"), QStringLiteral("Massime a&ffini..."), &ArchiveWindow::affini_Click);
    item(modif, QStringLiteral("raccolte"), QStringLiteral("Racco&lte..."), &ArchiveWindow::raccolte_Click);
    QAction* aggiungi = item(modif, QStringLiteral("aggiungi"), QStringLiteral("Aggiungi alla &raccolta..."), &ArchiveWindow::aggiungi_Click);
    aggiungi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    aggiungi->setShortcutContext(Qt::WindowShortcut);

    QMenu* visu = submenu(nullptr, bar, QStringLiteral("visu"), QStringLiteral("&Visualizza"));
    static const char* entries[8] = {"Finestra Menu", "Finestra Edilizia", "Finestra Urbanistica", "Finestra Espropriazioni",
                                     "Finestra Professionisti", "Finestra Condominio", "Finestra Enti", "Finestra Imprese"};
    for (int i = 0; i < 8; ++i) {
        QAction* a = visu->addAction(QString::fromLatin1(entries[i]));
        registerControl(a, QStringLiteral("fin(%1)").arg(i));
        a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + i)));
        a->setShortcutContext(Qt::WindowShortcut);
        // Only the window's own entry carries a check mark; the others are plain entries, with no
        // empty box beside them. The mark is fixed: choosing the entry must not take it away.
        const bool own = i + 1 == def_.windowNumber;
        a->setCheckable(own);
        a->setChecked(own);
        connect(a, &QAction::triggered, this, [this, a, i, own] {
            a->setChecked(own);
            fin_Click(i);
        });
    }

    QMenu* inter = submenu(nullptr, bar, QStringLiteral("inter"), QStringLiteral("&?"));
    item(inter, QStringLiteral("guida"), QStringLiteral("&Guida in linea"), &ArchiveWindow::guida_Click);
    item(inter, QStringLiteral("suggerimenti"), QStringLiteral("&Suggerimenti..."), &ArchiveWindow::suggerimenti_Click);
    separator(inter, QStringLiteral("l8"));
    item(inter, QStringLiteral("supporto"), QStringLiteral("Supporto &prodotto"), &ArchiveWindow::supporto_Click);
    separator(inter, QStringLiteral("l9"));
    item(inter, QStringLiteral("informazioni"), QStringLiteral("&Informazioni su Norvelia"), &ArchiveWindow::informazioni_Click);

    // An item of the menu bar itself, pushed to the far right by its leading blanks.
    QAction* finestra = bar->addAction(def_.finestraCaption());
    registerControl(finestra, QStringLiteral("finestra"));
    connect(finestra, &QAction::triggered, this, &ArchiveWindow::finestra_Click);
}

void ArchiveWindow::buildToolbar()
{
    using ToolbarIcons::Kind;
    struct Button {
        const char* tip;
        Kind kind;
        int number;
    };
    static const char* windowTips[8] = {"visualizza finestra 'Menu'", "visualizza finestra 'Edilizia'",
                                        "visualizza finestra 'Urbanistica'", "visualizza finestra 'Espropriazioni'",
                                        "visualizza finestra 'Professionisti'", "visualizza finestra 'Condominio'",
                                        "visualizza finestra 'Enti'", "visualizza finestra 'Imprese'"};
    std::vector<std::optional<Button>> layout;
    layout.push_back(Button{"elimina file", Kind::Delete, 0});
    layout.push_back(Button{"stampa sentenza visualizzata", Kind::Print, 0});
    layout.push_back(std::nullopt);
    for (int k = 1; k <= 8; ++k) layout.push_back(Button{windowTips[k - 1], Kind::Window, k});
    layout.push_back(std::nullopt);
    layout.push_back(Button{"colore di sfondo", Kind::Colour, 0});
    layout.push_back(std::nullopt);
    layout.push_back(Button{"guida in linea", Kind::Help, 0});
    layout.push_back(Button{"suggerimenti", Kind::Tips, 0});
    layout.push_back(Button{"supporto prodotto", Kind::Support, 0});
    layout.push_back(Button{"informazioni su Norvelia", Kind::About, 0});
    layout.push_back(std::nullopt);
    layout.push_back(Button{"uscita da Norvelia", Kind::Exit, 0});
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const int position = int(i) + 1;
        QAction* a;
        if (!layout[i]) {
            a = toolbar_->addSeparator();
        } else {
            a = toolbar_->addAction(ToolbarIcons::icon(layout[i]->kind, layout[i]->number), QString());
            a->setToolTip(QString::fromUtf8(layout[i]->tip));
            a->setText(QString::fromUtf8(layout[i]->tip));
            connect(a, &QAction::triggered, this, [this, position] { Toolbar1_ButtonClick(position); });
        }
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(position));
        toolbarButtons_.push_back(a);
    }
}

QAction* ArchiveWindow::toolbarButton(int position) const
{
    if (position < 1 || position > int(toolbarButtons_.size())) return nullptr;
    return toolbarButtons_[std::size_t(position - 1)];
}

void ArchiveWindow::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 1: DeleteFile(); break;
    case 2: PrintMaxims(); break;
    case 13: colorare_Click(); break;
    case 15: guida_Click(); break;
    case 16: suggerimenti_Click(); break;
    case 17: supporto_Click(); break;
    case 18: informazioni_Click(); break;
    case 20: ModNorvelia::ConfirmExit(); break;
    default:
        if (position >= 4 && position <= 11) fin_Click(position - 4);
        break;   // separators do nothing
    }
}

void ArchiveWindow::fin_Click(int index)
{
    const int k = index + 1;
    if (k == def_.windowNumber) {
        if (MsgBox(def_.ownWindowQuestion(), MsgButtons::YesNo, MsgIcon::Question, ModNorvelia::state().HelpTitle) ==
            MsgAnswer::Yes)
            showOwnHelpPage();
        return;
    }
    const QString name = MainWindowName(k);
    if (!name.isEmpty()) Forms::instance().show(name);
}

void ArchiveWindow::showOwnHelpPage() { Forms::instance().show(QString::fromLatin1(def_.helpPage)); }
void ArchiveWindow::finestra_Click() { showOwnHelpPage(); }
void ArchiveWindow::guida_Click() { Forms::instance().show(QStringLiteral("sommario")); }
void ArchiveWindow::suggerimenti_Click() { Forms::instance().show(QStringLiteral("frmTip")); }
void ArchiveWindow::supporto_Click() { Forms::instance().show(QStringLiteral("supportoclienti")); }
void ArchiveWindow::informazioni_Click() { Forms::instance().show(QStringLiteral("informa")); }
void ArchiveWindow::usci_Click() { ModNorvelia::ConfirmExit(); }

// ---------------------------------------------------------------------------------------------------
// Colours and file deletion

void ArchiveWindow::colorare_Click()
{
    if (backColor() != RestfulGrey()) {
        const MsgAnswer a = MsgBox(QStringLiteral("Colori uguali e riposanti (grigio) per tutte le finestre?"),
                                   MsgButtons::YesNo, MsgIcon::None,
                                   ModNorvelia::state().ProductName + QStringLiteral(": colore di sfondo"));
        if (a == MsgAnswer::Yes) {
            for (const ArchiveDefinition& d : Archives::all())
                if (Form* f = Forms::instance().ref(d.name())) f->setBackColor(RestfulGrey());
            return;
        }
    }
    // The dialog opens on the last colour picked here, or on the window's own colour the first time,
    // so that cancelling it leaves the window as it was.
    const std::optional<QColor> chosen = Platform::current().chooseColor(dialogColour_.value_or(backColor()));
    if (!chosen || !chosen->isValid()) return;
    dialogColour_ = *chosen;
    setBackColor(*chosen);
}

void ArchiveWindow::eliminare_click() { DeleteFile(); }

void ArchiveWindow::DeleteFile()
{
    const QString name = Platform::current().openFileName(ModNorvelia::state().DeleteDialogTitle);
    if (name.isEmpty()) return;
    // The dialog's title has told the user that confirming deletes; a file in use, read-only or gone
    // ends the command silently.
    QFile::remove(name);
}
