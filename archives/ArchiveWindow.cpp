#include "ArchiveWindow.h"
#include "ArchiveData.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include "shell/ModNorvelia.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/VbText.h"
#include <QEvent>

namespace {
const QColor Yellow(255, 255, 0);
const QColor DarkBlue(0, 0, 192);
const QColor White(255, 255, 255);
const QColor DesignGrey(128, 128, 128);

// The toolbar is aligned to the top of the window: it follows the window's width by itself, so its
// position properties are read-only to the resize engine, as for any aligned control.
class AlignedToolBar : public QToolBar, public Props::GeometryHooks {
public:
    explicit AlignedToolBar(QWidget* parent) : QToolBar(parent)
    {
        setMovable(false);
        setFloatable(false);
        setIconSize(QSize(16, 16));
        if (parent) parent->installEventFilter(this);
    }
    int readGeom(Props::Geom g, double& out) const override
    {
        const QRect r = geometry();
        switch (g) {
        case Props::Geom::Left: out = Twips::fromPxX(r.x()); return Props::Ok;
        case Props::Geom::Top: out = Twips::fromPxY(r.y()); return Props::Ok;
        case Props::Geom::Width: out = Twips::fromPxX(r.width()); return Props::Ok;
        case Props::Geom::Height: out = Twips::fromPxY(r.height()); return Props::Ok;
        default: return Props::NotSupported;
        }
    }
    int writeGeom(Props::Geom g, double) override
    {
        return (g == Props::Geom::Left || g == Props::Geom::Top || g == Props::Geom::Width || g == Props::Geom::Height)
                   ? Props::ReadOnly
                   : Props::NotSupported;
    }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == parentWidget() && e->type() == QEvent::Resize) align();
        return QToolBar::eventFilter(o, e);
    }
    void align()
    {
        if (parentWidget()) setGeometry(0, 0, parentWidget()->width(), std::max(sizeHint().height(), Twips::toPxY(540)));
    }
};

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
    menuBar();   // the window has a menu bar; its entries are added by the window's commands
    setInnerSize(9480, 6135);
    setBackColor(DesignGrey);

    auto* tb = new AlignedToolBar(client());
    toolbar_ = tb;
    registerControl(toolbar_, QStringLiteral("Toolbar1"));
    tb->align();
    registerControl(new NonVisualControl(this), QStringLiteral("ImageList1"));

    label1_ = yellowLabel(this, QStringLiteral("Label1"), 120, 600, 2535, 375, 12,
                          QStringLiteral("totale delle sentenze disponibili nella corrente versione del programma"));
    label2_ = yellowLabel(this, QStringLiteral("Label2"), 2760, 600, 6615, 495, 13.5,
                          QStringLiteral("argomento relativo alle massime visualizzate"));

    list_ = place(new QListWidget, QStringLiteral("List1"), 120, 1080, 2535, 4350);
    {
        QPalette p = list_->palette();
        p.setColor(QPalette::Base, White);
        list_->setPalette(p);
    }
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::currentRowChanged, this, &ArchiveWindow::onRowChanged);
    connect(list_, &QListWidget::itemClicked, this, &ArchiveWindow::onItemClicked);

    scroll_ = place(new QScrollBar(Qt::Horizontal), QStringLiteral("HScroll1"), 2760, 1200, 5415, 375);
    scroll_->setRange(1, def.maximsPerTopic);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(5);
    // The change handler runs when the value has changed: on release of the thumb, not while dragging.
    scroll_->setTracking(false);
    scroll_->setValue(1);
    connect(scroll_, &QScrollBar::valueChanged, this, &ArchiveWindow::HScroll1_Change);

    conta_ = yellowLabel(this, QStringLiteral("conta"), 8280, 1200, 1095, 375, 13.5, def.contaToolTip());
    conta_->setCaption(QStringLiteral(" "));

    sent_ = place(new QPlainTextEdit, QStringLiteral("sent"), 2760, 1680, 6615, 3720);
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

    auto addButton = [this](const QString& name, const QString& caption, double left, const QString& tip) {
        auto* b = place(new QPushButton(caption), name, left, 5760, 1095, 375);
        b->setToolTip(tip);
        return b;
    };
    connect(addButton(QStringLiteral("aiuto"), QStringLiteral("&AIUTO"), 120,
                      QStringLiteral("cliccare per visualizzare l'aiuto in linea")),
            &QPushButton::clicked, this, &ArchiveWindow::aiuto_Click);
    connect(addButton(QStringLiteral("guidainlinea"), QStringLiteral("&Guida in linea"), 1200,
                      QStringLiteral("cliccare per visualizzare gli Argomenti della guida")),
            &QPushButton::clicked, this, &ArchiveWindow::guidainlinea_Click);
    connect(addButton(QStringLiteral("stampiamo"), QStringLiteral("&Stampa"), 7200,
                      QStringLiteral("cliccare per stampare la sentenza visualizzata")),
            &QPushButton::clicked, this, &ArchiveWindow::stampiamo_Click);
    connect(addButton(QStringLiteral("esco"), QStringLiteral("&USCITA"), 8280, QStringLiteral("cliccare per uscire da Norvelia")),
            &QPushButton::clicked, this, &ArchiveWindow::esco_Click);

    registerControl(new NonVisualControl(this), QStringLiteral("CommonDialog1"));
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
}

void ArchiveWindow::HScroll1_Change()
{
    currentMaxim_ = std::int16_t(scroll_->value());
    if (currentMaxim_ > topicMaximCount_) {
        sent_->setPlainText(def_.pastLastLine());
        conta_->setCaption(QString::number(EndOfTopicPosition()));
        // Runs this handler once more, inside the assignment, when the value changes; that run takes
        // this same branch and leaves the value as it is, so the chain ends there.
        scroll_->setValue(EndOfTopicPosition());
    } else {
        conta_->setCaption(QString::number(currentMaxim_));
        sent_->setPlainText(content_.MaximTexts(currentTopic_, currentMaxim_));
    }
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
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
    passo_->setCaption(QStringLiteral("ho visualizzato il testo su WORD"));
}

void ArchiveWindow::esco_Click() { ModNorvelia::ConfirmExit(); }
