#include "ricerca.h"
#include "RelatedMaxims.h"
#include "ResultModel.h"
#include "SearchMessages.h"
#include "Thesaurus.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "shell/ModNorvelia.h"
#include "shell/Settings.h"
#include "wordout/PageLayout.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/ScreenFit.h"
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QStringListModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <array>
#include <numeric>

namespace {
const QColor Yellow(255, 255, 0);
const QColor DarkBlue(0, 0, 192);
const QColor White(255, 255, 255);
const QColor DesignGrey(128, 128, 128);

// The text of the list and of the reading pane at the normal size, and the factor of each zoom step
// from ricerca::MinZoom to ricerca::MaxZoom.
constexpr double ListPoints = 9.75;
constexpr double ReadingPoints = 11.25;
constexpr std::array<double, 9> ZoomFactors{0.8, 0.9, 1.0, 1.15, 1.3, 1.5, 1.75, 2.0, 2.3};

// The foot of every printed sheet, as in the raccolte's documents.
const QString PrintFooter = QStringLiteral("pag. %1 di %2");

// The keys of what the window keeps between runs.
const char* const GeometryKey = "ricerca/geometria";
const char* const MaximisedKey = "ricerca/massimizzata";
// The list, the maxim read and its related maxims (the two-part state of earlier versions is let go).
const char* const DividerKey = "ricerca/divisione";
const char* const ZoomKey = "ricerca/zoom";

// The related maxims' list asks for the room of all its lines and shrinks to three of them, at the size
// of its text: the splitter gives it that much at first and the rest of the window to the hits and the
// maxim read.
class RelatedList : public QListWidget {
public:
    QSize sizeHint() const override { return {QListWidget::sizeHint().width(), heightFor(RelatedMaxims::DefaultLimit)}; }
    QSize minimumSizeHint() const override { return {QListWidget::minimumSizeHint().width(), heightFor(3)}; }

private:
    int heightFor(int rows) const
    {
        const int row = std::max(sizeHintForRow(0), QFontMetrics(font()).height() + 2);
        return row * rows + 2 * frameWidth() + horizontalScrollBar()->sizeHint().height();
    }
};

// The list, the pane and the related maxims: text of their colour on white.
void onWhite(QWidget* w, const QColor& text)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, White);
    p.setColor(QPalette::Text, text);
    w->setPalette(p);
}

QFont listFont(int zoom)
{
    return Fonts::design(QStringLiteral("MS Sans Serif"), ListPoints * ZoomFactors[std::size_t(zoom - ricerca::MinZoom)]);
}

QFont readingFont(int zoom)
{
    return Fonts::design(QStringLiteral("MS Sans Serif"), ReadingPoints * ZoomFactors[std::size_t(zoom - ricerca::MinZoom)]);
}

QString sortName(int i)
{
    static const char* names[] = {"per pertinenza", "dalla più recente", "dalla più antica", "nell'ordine degli archivi"};
    return QString::fromUtf8(names[i]);
}

ricerca::AddHook& addHook()
{
    static ricerca::AddHook hook;
    return hook;
}

ricerca::RecentHooks& recentHooks()
{
    static ricerca::RecentHooks hooks;
    return hooks;
}

// A citation in few words, for a line of the related list: "Cass. civ. sez. II 16.7.1999 n. 7547".
QString shortCitation(const Citation& c)
{
    QString s = c.authority;
    if (!c.section.isEmpty()) s += QStringLiteral(" sez. ") + c.section;
    if (c.year) s += QStringLiteral(" %1.%2.%3").arg(c.day).arg(c.month).arg(c.year);
    if (c.number) s += QStringLiteral(" n. %1").arg(c.number);
    return s;
}

template <class W>
W* named(W* w, const QString& accessible, const QString& tip = QString())
{
    w->setAccessibleName(accessible);
    if (!tip.isEmpty()) w->setToolTip(tip);
    return w;
}
} // namespace

ricerca::ricerca() : Form(QStringLiteral("ricerca"))
{
    setCaption(QStringLiteral("Norvelia: ricerca nelle massime"));
    setBorder(Border::Sizable);
    setBackColor(DesignGrey);
    buildQueryRow();
    buildList();
    buildReadingPane();
    buildFilters();
    buildButtons();
    buildKeys();
    layOut();
}

ricerca::~ricerca() = default;

// ---------------------------------------------------------------------------------------------------
// The controls

void ricerca::buildQueryRow()
{
    auto yellow = [this](const QString& name, double size, bool bold, const QString& tip) {
        auto* lb = new VLabel;
        registerControl(lb, name);
        lb->setWordWrap(false);
        lb->setBackColor(Yellow);
        lb->setForeColor(DarkBlue);
        lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), size, bold));
        lb->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lb->setContentsMargins(2, 2, 6, 2);
        lb->setToolTip(tip);
        return lb;
    };
    etichetta_ = yellow(QStringLiteral("Label1"), 9.75, true,
                        QStringLiteral("parole, \"frasi\", parola*, -parola, O tra due parole, citazioni e norme"));
    etichetta_->setCaption(QStringLiteral(" Cerca nelle massime:"));
    testo_ = new QLineEdit;
    registerControl(testo_, QStringLiteral("testo"));
    named(testo_, QStringLiteral("Cerca nelle massime"),
          QStringLiteral("le parole da cercare: tutte devono comparire; \"frase esatta\", parola* (inizio di "
                         "parola), -parola (da escludere), O tra due parole (l'una o l'altra); citazioni "
                         "(Cass. sez. II 3679/1996, TAR Lombardia 1998) e norme (art. 1117 cod. civ., legge 47/1985). "
                         "Freccia giù: all'elenco; freccia su all'inizio: la ricerca precedente; Alt+freccia giù o F4: le ricerche recenti; Invio: apre la massima scelta; F1: la guida della ricerca"));
    testo_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12));
    testo_->setPlaceholderText(QStringLiteral("es. revoca amministratore, \"parti comuni\", Cass. 3679/1996, art. 1117 cod. civ."));
    testo_->setClearButtonEnabled(true);
    etichetta_->setBuddy(testo_);
    testo_->installEventFilter(this);
    connect(testo_, &QLineEdit::textChanged, this, &ricerca::testo_Change);
    connect(testo_, &QLineEdit::returnPressed, this, &ricerca::testo_Enter);
    // The queries searched before, offered as the user types and from the drop-down.
    recentModel_ = new QStringListModel(this);
    recenti_ = new QCompleter(recentModel_, this);
    recenti_->setObjectName(QStringLiteral("recenti"));
    recenti_->setCaseSensitivity(Qt::CaseInsensitive);
    recenti_->setMaxVisibleItems(RecentShown);
    recenti_->popup()->setObjectName(QStringLiteral("elencoRecenti"));
    recenti_->popup()->setAccessibleName(QStringLiteral("Ricerche recenti"));
    // Kept apart from the box's own typing: it drops down when asked (Alt+Down or F4), all of it.
    recenti_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    recenti_->setWidget(testo_);
    connect(recenti_, qOverload<const QString&>(&QCompleter::activated), testo_, &QLineEdit::setText);

    esito_ = yellow(QStringLiteral("esito"), 9.75, true, QStringLiteral("numero delle massime trovate e tempo impiegato"));
    esito_->setAccessibleName(QStringLiteral("Esito della ricerca"));
    // A long count line is cut rather than widening the window.
    esito_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    avviso_ = yellow(QStringLiteral("avviso"), 8.25, false, QStringLiteral("che cosa è stato cercato e che cosa è stato ignorato"));
    avviso_->setAccessibleName(QStringLiteral("Note sulla ricerca"));
    avviso_->setWordWrap(true);
    avviso_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    avviso_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    avviso_->setMinimumHeight(QFontMetrics(avviso_->font()).lineSpacing() + 4);
}

void ricerca::buildList()
{
    list_ = new QListView;
    registerControl(list_, QStringLiteral("risultati"));
    named(list_, QStringLiteral("Massime trovate"),
          QStringLiteral("Invio o doppio clic: apre la massima nel suo archivio; Ctrl+C: copia le massime scelte; "
                         "Ctrl+più, Ctrl+meno, Ctrl+0: dimensione del testo"));
    model_ = new ResultModel(this);
    list_->setModel(model_);
    list_->setItemDelegate(new ResultDelegate(list_));
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setFont(listFont(0));
    onWhite(list_, DarkBlue);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& i) { OpenHit(i.row()); });
    suggerimenti_ = new QLabel(list_->viewport());
    suggerimenti_->setObjectName(QStringLiteral("suggerimenti"));
    suggerimenti_->setAccessibleName(QStringLiteral("Suggerimenti"));
    suggerimenti_->setWordWrap(true);
    suggerimenti_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    suggerimenti_->setTextFormat(Qt::RichText);
    suggerimenti_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    suggerimenti_->setMargin(8);
    suggerimenti_->hide();
    (new QVBoxLayout(list_->viewport()))->addWidget(suggerimenti_);
    // A word offered when nothing is found becomes the query.
    connect(suggerimenti_, &QLabel::linkActivated, testo_, &QLineEdit::setText);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &ricerca::showReading);
}

void ricerca::buildReadingPane()
{
    lettura_ = new QTextBrowser;
    registerControl(lettura_, QStringLiteral("lettura"));
    named(lettura_, QStringLiteral("Massima scelta"),
          QStringLiteral("la massima scelta nell'elenco, per intero, con le parole cercate in grassetto; il testo si può "
                         "selezionare e copiare"));
    lettura_->setAccessibleDescription(QStringLiteral("archivio, argomento e numero della massima, il suo testo e la citazione"));
    lettura_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lettura_->setOpenLinks(false);
    lettura_->setFont(readingFont(0));
    onWhite(lettura_, Qt::black);
    lettura_->viewport()->installEventFilter(this);

    // The related maxims under the maxim read, in a pane of their own: the reader gives each the room
    // wanted, and the maxim keeps the larger share unless told otherwise.
    pannello_ = new QWidget;
    pannello_->setObjectName(QStringLiteral("pannelloAffini"));
    pannello_->setAccessibleName(QStringLiteral("Massime affini"));
    pannelloLayout_ = new QVBoxLayout(pannello_);
    pannelloLayout_->setContentsMargins(0, 0, 0, 0);
    pannelloLayout_->setSpacing(2);

    affiniTitolo_ = new VLabel;
    registerControl(affiniTitolo_, QStringLiteral("affiniTitolo"));
    affiniTitolo_->setCaption(QStringLiteral("Massime affini (calcolate)"));
    affiniTitolo_->setAccessibleName(QStringLiteral("Massime affini (calcolate)"));
    affiniTitolo_->setWordWrap(false);
    affiniTitolo_->setTransparent(true);
    affiniTitolo_->setForeColor(White);
    affiniTitolo_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    affini_ = new RelatedList;
    registerControl(affini_, QStringLiteral("affini"));
    named(affini_, QStringLiteral("Massime affini (calcolate)"),
          QStringLiteral("le massime vicine a quella scelta, calcolate dal programma (la stessa sentenza, le norme citate, "
                         "le parole, l'argomento); frecce o clic: la legge sopra; Invio o doppio clic: la apre nel suo "
                         "archivio; Ctrl+R: la aggiunge a una raccolta"));
    affiniTitolo_->setBuddy(affini_);
    affini_->setFont(listFont(0));
    affini_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    affini_->setUniformItemSizes(true);
    onWhite(affini_, DarkBlue);
    affini_->installEventFilter(this);
    connect(affini_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (fillingRelated_ || row < 0) return;
        showMaxim(affini_->item(row)->data(Qt::UserRole).toInt());
    });
    // A click on the line already chosen reads it again after the hit was read.
    connect(affini_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showMaxim(item->data(Qt::UserRole).toInt()); });
    connect(affini_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenEntry(item->data(Qt::UserRole).toInt()); });
    pannelloLayout_->addWidget(affiniTitolo_);
    pannelloLayout_->addWidget(affini_, 1);
}

void ricerca::buildFilters()
{
    auto caption = [this](const QString& name, const QString& text) {
        auto* lb = new VLabel;
        registerControl(lb, name);
        lb->setCaption(text);
        lb->setWordWrap(false);
        lb->setTransparent(true);
        lb->setForeColor(White);
        lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
        return lb;
    };
    auto combo = [this](const QString& name, const QString& accessible, const QString& tip) {
        auto* c = named(new QComboBox, accessible, tip);
        registerControl(c, name);
        c->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25));
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(20);
        return c;
    };
    filtri_ = new QVBoxLayout;
    filtri_->setSpacing(2);
    auto add = [this](QWidget* w, int gapBefore = 0) {
        if (gapBefore) filtri_->addSpacing(gapBefore);
        filtri_->addWidget(w);
    };

    VLabel* label2 = caption(QStringLiteral("Label2"), QStringLiteral("Archivio"));
    add(label2);
    archivio_ = combo(QStringLiteral("archivio"), QStringLiteral("Archivio"), QStringLiteral("elenca solo le massime di un archivio"));
    add(archivio_);
    VLabel* label3 = caption(QStringLiteral("Label3"), QStringLiteral("Autorità"));
    add(label3, 6);
    autorita_ = combo(QStringLiteral("autorita"), QStringLiteral("Autorità"), QStringLiteral("elenca solo le sentenze di un'autorità"));
    add(autorita_);
    anni_ = caption(QStringLiteral("Label4"), QStringLiteral("Anni"));
    add(anni_, 6);
    dal_ = named(new QSpinBox, QStringLiteral("Anni: dal"), QStringLiteral("anno della sentenza più antica da elencare"));
    registerControl(dal_, QStringLiteral("dal"));
    al_ = named(new QSpinBox, QStringLiteral("Anni: al"), QStringLiteral("anno della sentenza più recente da elencare"));
    registerControl(al_, QStringLiteral("al"));
    auto* years = new QHBoxLayout;
    years->setSpacing(6);
    for (QSpinBox* s : {dal_, al_}) {
        s->setRange(NoYear, 2001);
        s->setValue(NoYear);
        s->setSpecialValueText(QStringLiteral("tutti"));
        s->setKeyboardTracking(false);
        s->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25));
        years->addWidget(s, 1);
        connect(s, &QSpinBox::valueChanged, this, &ricerca::filtro_Change);
    }
    dal_->setPrefix(QStringLiteral("dal "));
    al_->setPrefix(QStringLiteral("al "));
    filtri_->addLayout(years);
    VLabel* label5 = caption(QStringLiteral("Label5"), QStringLiteral("Norme citate"));
    add(label5, 6);
    norme_ = combo(QStringLiteral("norme"), QStringLiteral("Norme citate"), QStringLiteral("elenca solo le massime che citano una norma"));
    add(norme_);
    VLabel* label6 = caption(QStringLiteral("Label6"), QStringLiteral("Ordine"));
    add(label6, 6);
    ordine_ = combo(QStringLiteral("ordine"), QStringLiteral("Ordine"), QStringLiteral("ordine dell'elenco"));
    add(ordine_);
    for (int i = 0; i < 4; ++i) ordine_->addItem(sortName(i));
    // A screen reader says what a choice chooses: each caption is its choice's label.
    label2->setBuddy(archivio_);
    label3->setBuddy(autorita_);
    anni_->setBuddy(dal_);
    label5->setBuddy(norme_);
    label6->setBuddy(ordine_);
    for (QComboBox* c : {archivio_, autorita_, norme_, ordine_})
        connect(c, &QComboBox::currentIndexChanged, this, &ricerca::filtro_Change);
    // The edition's words for today's: on unless the user wants only what is typed.
    terminiEpoca_ = named(new QCheckBox(QStringLiteral("&Termini d'epoca")), QStringLiteral("Termini d'epoca"),
                          QStringLiteral("cerca anche i termini delle massime per le parole di oggi "
                                         "(SCIA: denuncia di inizio attività; permesso di costruire: concessione edilizia)"));
    registerControl(terminiEpoca_, QStringLiteral("chkTerminiEpoca"));
    terminiEpoca_->setChecked(true);
    terminiEpoca_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    {
        QPalette p = terminiEpoca_->palette();
        p.setColor(QPalette::WindowText, White);
        terminiEpoca_->setPalette(p);
    }
    connect(terminiEpoca_, &QCheckBox::toggled, this, &ricerca::filtro_Change);
    add(terminiEpoca_, 6);
}

void ricerca::buildButtons()
{
    auto button = [this](const QString& name, const QString& caption, const QString& accessible, const QString& tip,
                         void (ricerca::*onClick)()) {
        auto* b = named(new QPushButton(caption), accessible, tip);
        registerControl(b, name);
        connect(b, &QPushButton::clicked, this, onClick);
        return b;
    };
    azzera_ = button(QStringLiteral("azzera"), QStringLiteral("A&zzera filtri"), QStringLiteral("Azzera filtri"),
                     QStringLiteral("cliccare per togliere i filtri e tornare all'ordine per pertinenza"), &ricerca::azzera_Click);
    apri_ = button(QStringLiteral("apri"), QStringLiteral("&Apri"), QStringLiteral("Apri"),
                   QStringLiteral("cliccare per visualizzare la massima scelta nel suo archivio (o doppio clic, o Invio)"),
                   &ricerca::apri_Click);
    copia_ = button(QStringLiteral("copia"), QStringLiteral("Co&pia"), QStringLiteral("Copia"),
                    QStringLiteral("cliccare per copiare le massime scelte (o Ctrl+C)"), &ricerca::copia_Click);
    stampa_ = button(QStringLiteral("stampa"), QStringLiteral("&Stampa"), QStringLiteral("Stampa"),
                     QStringLiteral("cliccare per stampare le massime elencate, o solo quelle scelte quando sono più d'una"), &ricerca::stampa_Click);
    aggiungi_ = button(QStringLiteral("aggiungi"), QStringLiteral("Aggiungi alla &raccolta..."), QStringLiteral("Aggiungi alla raccolta"),
                       QStringLiteral("cliccare per aggiungere le massime scelte a una raccolta (o Ctrl+R)"), &ricerca::aggiungi_Click);
    chiudi_ = button(QStringLiteral("chiudi"), QStringLiteral("&Chiudi"), QStringLiteral("Chiudi"),
                     QStringLiteral("cliccare per chiudere la finestra di ricerca (o Esc)"), &ricerca::chiudi_Click);
}

void ricerca::buildKeys()
{
    auto key = [this](const QKeySequence& k, auto action) {
        auto* s = new QShortcut(k, this);
        connect(s, &QShortcut::activated, this, action);
    };
    // F3 here, as in the windows that open this one, goes back to the search box.
    key(QKeySequence(Qt::Key_F3), [this] {
        testo_->setFocus();
        testo_->selectAll();
    });
    key(QKeySequence(Qt::Key_Escape), &ricerca::chiudi_Click);
    key(QKeySequence(Qt::Key_F1), &ricerca::aiuto_Click);
    // From the related list the key adds the maxim chosen there, elsewhere the hits chosen.
    key(QKeySequence(Qt::CTRL | Qt::Key_R), [this] {
        if (affini_->hasFocus()) aggiungiAffine_Click();
        else aggiungi_Click();
    });
    key(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { setZoom(zoom_ + 1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { setZoom(zoom_ + 1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { setZoom(zoom_ - 1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(0); });
}

// The query on top; under it the count line, the list over the reading pane and the notes, with the
// filters' column and the buttons beside them. Only the list and the pane grow with the window.
void ricerca::layOut()
{
    divisore_ = new QSplitter(Qt::Vertical);
    registerControl(divisore_, QStringLiteral("divisore"));
    named(divisore_, QStringLiteral("Divisione tra elenco e massima scelta"));
    divisore_->setChildrenCollapsible(false);
    divisore_->addWidget(list_);
    divisore_->addWidget(lettura_);
    divisore_->addWidget(pannello_);
    divisore_->setStretchFactor(0, 1);
    divisore_->setStretchFactor(1, 1);
    divisore_->setStretchFactor(2, 0);   // a larger window is for the hits and the maxim

    auto* query = new QHBoxLayout;
    query->setSpacing(6);
    query->addWidget(etichetta_);
    query->addWidget(testo_, 1);

    auto* hits = new QVBoxLayout;
    hits->setSpacing(6);
    hits->addWidget(esito_);
    hits->addWidget(divisore_, 1);
    hits->addWidget(avviso_);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    buttons->addWidget(apri_, 0, 0);
    buttons->addWidget(copia_, 0, 1);
    buttons->addWidget(aggiungi_, 1, 0, 1, 2);
    buttons->addWidget(stampa_, 2, 0);
    buttons->addWidget(chiudi_, 2, 1);
    filtri_->addSpacing(10);
    filtri_->addWidget(azzera_);
    filtri_->addStretch(1);
    filtri_->addLayout(buttons);
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("colonnaFiltri"));
    column->setAccessibleName(QStringLiteral("Filtri"));
    column->setLayout(filtri_);
    filtri_->setContentsMargins(0, 0, 0, 0);
    column->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addLayout(hits, 1);
    body->addWidget(column);

    auto* all = new QVBoxLayout(client());
    all->setContentsMargins(8, 8, 8, 8);
    all->setSpacing(6);
    all->addLayout(query);
    all->addLayout(body, 1);
}

// ---------------------------------------------------------------------------------------------------
// Load, size and place

void ricerca::Form_Load()
{
    index_ = &SearchIndex::shared();
    // Every citation fits its row at the normal size of the text.
    list_->setMinimumWidth(ResultDelegate::widthForCitations(*index_, listFont(0)) + list_->verticalScrollBar()->sizeHint().width() +
                           2 * list_->frameWidth());
    const auto settings = Settings::open();
    setZoom(settings->value(QLatin1String(ZoomKey), 0).toInt());
    placeOnScreen(*settings);
    // The first time, the panes are shared once the window has its size (showEvent).
    divideFirst_ = !divisore_->restoreState(settings->value(QLatin1String(DividerKey)).toByteArray());
    related_ = std::make_unique<RelatedMaxims>(*index_);
    refreshRecent();
    runSearch();
    testo_->setFocus();
}

void ricerca::placeOnScreen(QSettings& settings)
{
    const QRect stored = settings.value(QLatin1String(GeometryKey)).toRect();
    // Where the user left it, or the first time about three quarters of the free area, centred; never
    // smaller than the controls need nor larger than the screen, and brought back inside the screen
    // when the screens have changed since.
    const QRect free = ScreenFit::availableAround(stored);
    const QRect room = ScreenFit::usable(free);
    QRect wanted = stored.isValid() ? stored : ScreenFit::centred(free, FirstShare);
    const QPoint centre = wanted.center();
    wanted.setSize(wanted.size().expandedTo(minimumSizeHint()).boundedTo(room.size()));
    if (!stored.isValid()) wanted.moveCenter(centre);
    setGeometry(ScreenFit::inside(wanted, room));
    if (settings.value(QLatin1String(MaximisedKey), false).toBool()) setWindowState(windowState() | Qt::WindowMaximized);
}

void ricerca::remember() const
{
    const auto settings = Settings::open();
    settings->setValue(QLatin1String(GeometryKey), normalGeometry());
    settings->setValue(QLatin1String(MaximisedKey), isMaximized());
    settings->setValue(QLatin1String(DividerKey), divisore_->saveState());
}

// The related maxims have the room of their lines, but never more than a quarter of the panes; the hits
// and the maxim read share the rest.
void ricerca::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!divideFirst_) return;
    divideFirst_ = false;
    const QList<int> sizes = divisore_->sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    const int related = std::min(pannello_->sizeHint().height(), total / 4);
    const int list = (total - related) / 2;
    divisore_->setSizes({list, total - related - list, related});
}

void ricerca::hideEvent(QHideEvent* event)
{
    remember();
    Form::hideEvent(event);
}

void ricerca::setZoom(int step)
{
    step = std::clamp(step, MinZoom, MaxZoom);
    if (step == zoom_ && list_->font() == listFont(step)) return;
    zoom_ = step;
    applyZoom();
    Settings::open()->setValue(QLatin1String(ZoomKey), zoom_);
}

void ricerca::applyZoom()
{
    list_->setFont(listFont(zoom_));
    lettura_->setFont(readingFont(zoom_));
    affini_->setFont(listFont(zoom_));
    // The rows are all of one height, measured once: measured again for the new text size.
    list_->setUniformItemSizes(false);
    list_->setUniformItemSizes(true);
    list_->doItemsLayout();
    if (list_->currentIndex().isValid()) list_->scrollTo(list_->currentIndex());
}

// ---------------------------------------------------------------------------------------------------
// The search

void ricerca::testo_Change()
{
    given_ = false;
    recalled_ = -1;
    runSearch();
}

void ricerca::filtro_Change()
{
    if (!filling_ && !given_) runSearch();
}

void ricerca::azzera_Click()
{
    filling_ = true;
    archivio_->setCurrentIndex(0);
    autorita_->setCurrentIndex(0);
    norme_->setCurrentIndex(0);
    ordine_->setCurrentIndex(0);
    dal_->setValue(NoYear);
    al_->setValue(NoYear);
    terminiEpoca_->setChecked(true);
    filling_ = false;
    runSearch();
}

SearchIndex::Filters ricerca::filters() const
{
    SearchIndex::Filters f;
    f.archive = archivio_->currentData().isValid() ? archivio_->currentData().toInt() : -1;
    if (autorita_->currentData().isValid()) f.authority = Authority(autorita_->currentData().toInt());
    f.statute = norme_->currentData().isValid() ? norme_->currentData().toInt() : -1;
    f.yearFrom = dal_->value() == NoYear ? 0 : dal_->value();
    f.yearTo = al_->value() == NoYear ? 0 : al_->value();
    f.thesaurus = terminiEpoca_->isChecked();
    return f;
}

void ricerca::runSearch()
{
    if (!index_) return;
    const QString text = testo_->text();
    result_ = index_->search(text, filters(), SearchIndex::Sort(std::max(0, ordine_->currentIndex())));
    model_->setResult(index_, result_);
    if (model_->rowCount() > 0) list_->setCurrentIndex(model_->index(0, 0));
    showCounts();
    showOutcome();
    showReading();
}

void ricerca::showOutcome()
{
    esito_->setCaption(QStringLiteral(" ") + SearchMessages::countLine(result_, result_.milliseconds));
    QStringList notes = SearchMessages::expansions(result_.query);
    if (result_.hits.empty() && !result_.query.empty()) {
        const QStringList unmatched = SearchMessages::unmatchedParts(*index_, result_.query);
        for (const QString& s : unmatched) notes << s.left(1).toUpper() + s.mid(1);
        if (unmatched.isEmpty() && result_.query.hasWords() && (!result_.query.citation.empty() || !result_.query.statutes.empty()))
            notes << QStringLiteral("Le parole non compaiono nelle massime della citazione o della norma indicata");
    }
    if (!result_.query.citation.empty()) notes << QStringLiteral("Citazione: ") + result_.query.citation.describe();
    for (const StatuteRef& s : result_.query.statutes) notes << QStringLiteral("Norma: ") + s.label;
    for (const QString& s : result_.query.ignored) notes << s.left(1).toUpper() + s.mid(1);
    avviso_->setCaption(notes.join(QStringLiteral(". ")));
    showSuggestions();
}

void ricerca::showSuggestions()
{
    // An empty box offers the searches kept, each a link, where the hits will be.
    if (result_.query.empty() && testo_->text().trimmed().isEmpty() && recentModel_->rowCount() > 0) {
        QString html = QStringLiteral("<p><b>Ricerche recenti</b> (anche con Alt+freccia giù o F4 nella casella):</p><ul>");
        for (const QString& q : recentModel_->stringList())
            html += QStringLiteral("<li><a href=\"%1\">%1</a></li>").arg(q.toHtmlEscaped());
        suggerimenti_->setText(html + QStringLiteral("</ul>"));
        suggerimenti_->show();
        return;
    }
    if (!result_.hits.empty() || result_.query.empty()) {
        suggerimenti_->hide();
        return;
    }
    const SearchMessages::Suggestions s =
        SearchMessages::noHit(result_.query, terminiEpoca_->isChecked() ? &Thesaurus::shared() : nullptr);
    QString html = QStringLiteral("<p><b>Nessuna massima trovata.</b></p>");
    if (!s.thesaurus.isEmpty()) {
        html += QStringLiteral("<p>Termini d'epoca vicini alle parole cercate:</p><ul>");
        for (const QString& t : s.thesaurus) html += QStringLiteral("<li>") + t.toHtmlEscaped() + QStringLiteral("</li>");
        html += QStringLiteral("</ul>");
    }
    html += QStringLiteral("<p>") + s.edition.toHtmlEscaped() + QStringLiteral("</p>");
    if (!s.words.isEmpty()) {
        QStringList links;
        for (const QString& w : s.words) links << QStringLiteral("<a href=\"%1\">%2</a>").arg(w.toHtmlEscaped(), w.toHtmlEscaped());
        html += QStringLiteral("<p>Cercare una parola sola: ") + links.join(QStringLiteral(" · ")) + QStringLiteral("</p>");
    }
    suggerimenti_->setText(html);
    suggerimenti_->show();
}

void ricerca::showCounts()
{
    filling_ = true;
    const SearchIndex::Facets& f = result_.facets;
    auto refill = [](QComboBox* box, const QList<std::pair<QString, QVariant>>& items) {
        const QVariant chosen = box->currentData();
        box->clear();
        int keep = 0;
        for (const auto& [text, data] : items) {
            box->addItem(text, data);
            if (data.isValid() && data == chosen) keep = box->count() - 1;
        }
        box->setCurrentIndex(keep);
    };
    // Before anything is searched there is nothing to count: the choices stand without a number.
    auto count = [searched = !result_.query.empty()](const QString& what, int n) {
        return searched ? QStringLiteral("%1 (%2)").arg(what).arg(n) : what;
    };

    int total = 0;
    for (int n : f.archives) total += n;
    QList<std::pair<QString, QVariant>> archives{{count(QStringLiteral("Tutti gli archivi"), total), QVariant()}};
    for (int a = 0; a < Archives::Count; ++a) {
        const QString name = Archives::all()[std::size_t(a)].name();
        archives.append({count(name.left(1).toUpper() + name.mid(1), f.archives[std::size_t(a)]), a});
    }
    refill(archivio_, archives);

    total = 0;
    for (int n : f.authorities) total += n;
    QList<std::pair<QString, QVariant>> authorities{{count(QStringLiteral("Tutte le autorità"), total), QVariant()}};
    for (int a = 0; a < AuthorityCount; ++a)
        authorities.append({count(Citations::groupName(Authority(a)), f.authorities[std::size_t(a)]), a});
    refill(autorita_, authorities);

    // The statutes most cited among the hits, and the one chosen even when none of them cites it now.
    constexpr int Shown = 60;
    QList<std::pair<QString, QVariant>> statutes{{QStringLiteral("Tutte le norme"), QVariant()}};
    const QVariant chosen = norme_->currentData();
    bool chosenListed = !chosen.isValid();
    for (int k = 0; k < int(f.statutes.size()) && k < Shown; ++k) {
        const auto [sid, n] = f.statutes[std::size_t(k)];
        statutes.append({count(index_->statute(sid).label, n), sid});
        chosenListed = chosenListed || chosen.toInt() == sid;
    }
    if (!chosenListed) statutes.append({count(index_->statute(chosen.toInt()).label, 0), chosen});
    refill(norme_, statutes);

    anni_->setCaption(f.yearMax ? QStringLiteral("Anni (trovate: %1-%2)").arg(f.yearMin).arg(f.yearMax)
                                : QStringLiteral("Anni"));
    filling_ = false;
}

// The hit the list's cursor is on, read whole, and the maxims related to it under it.
void ricerca::showReading()
{
    const int id = index_ ? model_->entryAt(list_->currentIndex().row()) : -1;
    showMaxim(id);
    showRelated(id);
}

// A maxim read whole: where it stands, its text with the words found in bold, its citation.
void ricerca::showMaxim(int id)
{
    if (id < 0 || !index_) {
        lettura_->clear();
        return;
    }
    const MaximEntry& e = index_->entry(id);
    QString html = QStringLiteral("<p style=\"color:#000080\"><b>%1</b> \u2013 %2) %3 \u2013 n. %4</p>")
                       .arg(MaximCorpus::archiveTitle(e).toHtmlEscaped())
                       .arg(e.topic)
                       .arg(MaximCorpus::topicTitle(e).toHtmlEscaped())
                       .arg(e.maxim);
    html += QStringLiteral("<p>") + index_->highlighted(id, result_.query) + QStringLiteral("</p>");
    const QString citation = Citations::text(e.text);
    if (!citation.isEmpty())
        html += QStringLiteral("<p style=\"color:#000080\"><i>(") + citation.toHtmlEscaped() + QStringLiteral(")</i></p>");
    lettura_->setHtml(html);
}

// Only the hit being read has its related maxims computed: moving along the list stays quick.
void ricerca::showRelated(int id)
{
    fillingRelated_ = true;
    affini_->clear();
    if (id >= 0 && related_) {
        for (const RelatedMaxim& r : related_->of(id)) {
            const MaximEntry& e = index_->entry(r.id);
            const QString citation = e.cited ? shortCitation(e.citation) : QString();
            QStringList parts{MaximCorpus::archiveTitle(e), QStringLiteral("%1) %2").arg(e.topic).arg(MaximCorpus::topicTitle(e)),
                              QStringLiteral("n. %1").arg(e.maxim)};
            if (!citation.isEmpty()) parts << citation;
            auto* item = new QListWidgetItem(parts.join(QStringLiteral(" \u2013 ")) + QStringLiteral(" (") + related_->reason(r) +
                                             QStringLiteral(")"));
            item->setData(Qt::UserRole, r.id);
            affini_->addItem(item);
        }
    }
    fillingRelated_ = false;
}

QList<int> ricerca::RelatedIds() const
{
    QList<int> ids;
    for (int k = 0; k < affini_->count(); ++k) ids << affini_->item(k)->data(Qt::UserRole).toInt();
    return ids;
}

QList<int> ricerca::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : list_->selectionModel()->selectedIndexes()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && list_->currentIndex().isValid()) rows << list_->currentIndex().row();
    return rows;
}

// ---------------------------------------------------------------------------------------------------
// Commands

void ricerca::moveIntoList()
{
    if (model_->rowCount() == 0) return;
    list_->setFocus(Qt::TabFocusReason);
    list_->setCurrentIndex(model_->index(0, 0));
}

void ricerca::testo_Enter()
{
    rememberQuery();
    if (model_->rowCount() == 0) return;
    OpenHit(list_->currentIndex().isValid() ? list_->currentIndex().row() : 0);
}

void ricerca::apri_Click()
{
    if (list_->currentIndex().isValid()) OpenHit(list_->currentIndex().row());
}

void ricerca::OpenHit(int row)
{
    const int id = model_->entryAt(row);
    if (id < 0) return;
    rememberQuery();
    OpenEntry(id);
}

void ricerca::OpenEntry(int id)
{
    if (id < 0 || !index_) return;
    const MaximEntry& e = index_->entry(id);
    const QString name = MaximCorpus::archiveName(e);
    auto* w = Forms::instance().ref<ArchiveWindow>(name);
    if (!w) return;
    // The window's own topic choice, then its scroll bar's steps: the counter, the list and the text
    // end up as if the user had chosen them there.
    {
        const QSignalBlocker block(w->List1());
        w->List1()->setCurrentRow(e.topic - 1);
    }
    w->List1_Click();
    w->HScroll1()->setValue(e.maxim);
    if (QListWidgetItem* item = w->List1()->item(e.topic - 1)) w->List1()->scrollToItem(item);
    Forms::instance().show(name);
}

QString ricerca::SelectedText() const
{
    QStringList parts;
    for (int row : selectedRows()) {
        const int id = model_->entryAt(row);
        if (id >= 0) parts << MaximCorpus::plainCopy(index_->entry(id));
    }
    return parts.join(QStringLiteral("\n\n"));
}

void ricerca::copia_Click()
{
    const QString text = SelectedText();
    if (text.isEmpty()) return;
    QApplication::clipboard()->setText(text);
    rememberQuery();
}

void ricerca::setAddHook(AddHook hook) { addHook() = std::move(hook); }

void ricerca::setRecentHooks(RecentHooks hooks) { recentHooks() = std::move(hooks); }

void ricerca::aggiungi_Click()
{
    std::vector<MaximEntry> maxims;
    if (index_)
        for (int row : selectedRows())
            if (const int id = model_->entryAt(row); id >= 0) maxims.push_back(index_->entry(id));
    if (maxims.empty()) {
        MsgBox(QStringLiteral("Non vi è nulla da aggiungere: scegliere nell'elenco le massime da aggiungere alla raccolta."),
               MsgButtons::OK, MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    if (!addHook()) return;
    const QString message = addHook()(maxims);
    if (!message.isEmpty()) avviso_->setCaption(message);
}

void ricerca::aggiungiAffine_Click()
{
    QListWidgetItem* item = affini_->currentItem();
    if (!item || !index_) {
        MsgBox(QStringLiteral("Non vi è nulla da aggiungere: scegliere una delle massime affini."), MsgButtons::OK,
               MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    if (!addHook()) return;
    const QString message = addHook()({index_->entry(item->data(Qt::UserRole).toInt())});
    if (!message.isEmpty()) avviso_->setCaption(message);
}

// A query is kept when the user has used it: opened or copied what it found, or pressed Enter on it.
// A list given from elsewhere is not a query of the user's.
void ricerca::rememberQuery()
{
    const QString query = testo_->text().simplified();
    if (given_ || query.isEmpty() || !recentHooks().remember) return;
    recentHooks().remember(query);
    refreshRecent();
}

void ricerca::refreshRecent()
{
    QStringList queries = recentHooks().recent ? recentHooks().recent() : QStringList();
    if (queries.size() > RecentShown) queries = queries.mid(0, RecentShown);
    recentModel_->setStringList(queries);
    recalled_ = -1;
}

void ricerca::ShowRecent()
{
    if (recentModel_->rowCount() == 0) return;
    recenti_->setCompletionPrefix(QString());
    recenti_->complete();
}

// Up at the start of the box brings back the query before, and again the one before that.
void ricerca::recallQuery()
{
    const QStringList queries = recentModel_->stringList();
    const int next = recalled_ + 1;
    if (next >= queries.size()) return;
    {
        const QSignalBlocker block(recenti_);
        testo_->setText(queries[next]);
    }
    recalled_ = next;
    testo_->setCursorPosition(0);
    recenti_->popup()->hide();
}

QString ricerca::QueryLine() const
{
    QStringList parts;
    parts << QStringLiteral("Ricerca: ") + testo_->text().simplified();
    if (archivio_->currentData().isValid())
        parts << QStringLiteral("archivio: ") + Archives::all()[std::size_t(archivio_->currentData().toInt())].name();
    if (autorita_->currentData().isValid())
        parts << QStringLiteral("autorità: ") + Citations::groupName(Authority(autorita_->currentData().toInt()));
    const SearchIndex::Filters f = filters();
    if (f.yearFrom || f.yearTo)
        parts << QStringLiteral("anni: %1-%2").arg(f.yearFrom ? QString::number(f.yearFrom) : QStringLiteral("..."),
                                                  f.yearTo ? QString::number(f.yearTo) : QStringLiteral("..."));
    if (f.statute >= 0) parts << QStringLiteral("norma: ") + index_->statute(f.statute).label;
    parts << QStringLiteral("ordine: ") + sortName(std::max(0, ordine_->currentIndex()));
    return parts.join(QStringLiteral("; "));
}

void ricerca::ShowHits(std::vector<SearchIndex::Hit> hits, const QString& caption, const QString& note)
{
    if (!index_) return;
    {
        const QSignalBlocker block(testo_);
        testo_->setText(caption);
    }
    given_ = true;
    result_ = SearchIndex::Result();
    result_.hits = std::move(hits);
    model_->setResult(index_, result_);
    if (model_->rowCount() > 0) list_->setCurrentIndex(model_->index(0, 0));
    const int n = int(result_.hits.size());
    esito_->setCaption(n == 1 ? QStringLiteral(" 1 massima") : QStringLiteral(" %1 massime").arg(n));
    avviso_->setCaption(note);
    list_->setFocus();
}

void ricerca::stampa_Click() { PrintHits(); }

void ricerca::PrintHits()
{
    if (result_.hits.empty()) {
        MsgBox(QStringLiteral("Non vi è nulla da stampare: cercare prima le massime da elencare."), MsgButtons::OK,
               MsgIcon::Exclamation, ModNorvelia::state().CheckTitle);
        return;
    }
    // More than one hit chosen: those alone; otherwise every hit listed.
    std::vector<int> ids;
    const QList<int> rows = selectedRows();
    if (rows.size() > 1)
        for (int row : rows) ids.push_back(model_->entryAt(row));
    else
        for (const SearchIndex::Hit& h : result_.hits) ids.push_back(h.id);
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& sel = app->Selection();
    const QChar cr(13);
    sel.setFontName(QStringLiteral("Century Gothic"));
    sel.setFontSize(18);
    sel.TypeText(ArchiveWindow::PrintHeading() + cr + cr);
    sel.setFontSize(12);
    sel.TypeText(QueryLine() + cr + cr);
    // One maxim after another, as a raccolta is exported, with the sheets numbered at their foot.
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const MaximEntry& e = index_->entry(ids[k]);
        sel.setBold(true);
        sel.TypeText(QStringLiteral("%1. ").arg(k + 1) + MaximCorpus::headingLine(e) + cr);
        sel.setBold(false);
        sel.TypeText(e.text + cr + cr);
    }
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
    if (WordDocument* doc = sel.Document()) PageLayout::setFooter(doc->text(), PrintFooter);
}

void ricerca::chiudi_Click() { Forms::instance().hide(QStringLiteral("ricerca")); }

void ricerca::aiuto_Click() { Forms::instance().show(QStringLiteral("guidaricerca")); }

bool ricerca::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool plain = k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier;
        if (watched == testo_ && plain && k->key() == Qt::Key_Up && testo_->cursorPosition() == 0 &&
            !testo_->hasSelectedText()) {
            recallQuery();
            return true;
        }
        if (watched == testo_ && (k->key() == Qt::Key_F4 || (k->key() == Qt::Key_Down && k->modifiers() == Qt::AltModifier))) {
            ShowRecent();
            return true;
        }
        if (watched == affini_ && plain && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
            if (QListWidgetItem* item = affini_->currentItem()) OpenEntry(item->data(Qt::UserRole).toInt());
            return true;
        }
        if (watched == testo_ && plain && (k->key() == Qt::Key_Down || k->key() == Qt::Key_PageDown)) {
            moveIntoList();
            return true;
        }
        if (watched == list_ && k->matches(QKeySequence::Copy)) {
            copia_Click();
            return true;
        }
        if (watched == list_ && plain && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
            apri_Click();
            return true;
        }
    }
    // Ctrl and the wheel over the list or the pane change the size of both, as the keys do.
    if (event->type() == QEvent::Wheel && (watched == list_->viewport() || watched == lettura_->viewport())) {
        auto* w = static_cast<QWheelEvent*>(event);
        if (w->modifiers() & Qt::ControlModifier) {
            if (w->angleDelta().y() != 0) setZoom(zoom_ + (w->angleDelta().y() > 0 ? 1 : -1));
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
