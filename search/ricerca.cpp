#include "ricerca.h"
#include "ResultModel.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "shell/ModNorvelia.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QShortcut>

namespace {
const QColor Yellow(255, 255, 0);
const QColor DarkBlue(0, 0, 192);
const QColor White(255, 255, 255);
const QColor DesignGrey(128, 128, 128);

VLabel* yellowLabel(ricerca* w, const QString& name, double l, double t, double wd, double h, double size, bool bold,
                    const QString& tip)
{
    auto* lb = w->place(new VLabel, name, l, t, wd, h);
    lb->setBackColor(Yellow);
    lb->setForeColor(DarkBlue);
    lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), size, bold));
    lb->setToolTip(tip);
    return lb;
}

VLabel* smallCaption(ricerca* w, const QString& name, const QString& text, double l, double t, double wd)
{
    auto* lb = w->place(new VLabel, name, l, t, wd, 255);
    lb->setCaption(text);
    lb->setTransparent(true);
    lb->setForeColor(White);
    lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    return lb;
}

QString sortName(int i)
{
    static const char* names[] = {"per pertinenza", "dalla più recente", "dalla più antica", "nell'ordine degli archivi"};
    return QString::fromUtf8(names[i]);
}
} // namespace

ricerca::ricerca() : Form(QStringLiteral("ricerca"))
{
    setCaption(QStringLiteral("Norvelia: ricerca nelle massime"));
    setBorder(Border::Sizable);
    setBackColor(DesignGrey);

    yellowLabel(this, QStringLiteral("Label1"), 120, 120, 2055, 375, 9.75, true,
                QStringLiteral("parole, \"frasi\", parola*, -parola, O tra due parole, citazioni e norme"))
        ->setCaption(QStringLiteral(" Cerca nelle massime:"));
    testo_ = place(new QLineEdit, QStringLiteral("testo"), 2280, 120, 7080, 375);
    testo_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12));
    testo_->setPlaceholderText(QStringLiteral("es. revoca amministratore, \"parti comuni\", Cass. 3679/1996, art. 1117 cod. civ."));
    testo_->setToolTip(QStringLiteral("le parole da cercare: tutte devono comparire; \"frase esatta\", parola* (inizio di "
                                      "parola), -parola (da escludere), O tra due parole (l'una o l'altra); citazioni "
                                      "(Cass. sez. II 3679/1996, TAR Lombardia 1998) e norme (art. 1117 cod. civ., legge 47/1985)"));
    testo_->setClearButtonEnabled(true);
    connect(testo_, &QLineEdit::textChanged, this, &ricerca::testo_Change);

    esito_ = yellowLabel(this, QStringLiteral("esito"), 120, 600, 6615, 375, 9.75, true,
                         QStringLiteral("numero delle massime trovate e tempo impiegato"));

    list_ = place(new QListView, QStringLiteral("risultati"), 120, 1080, 6615, 4440);
    model_ = new ResultModel(this);
    list_->setModel(model_);
    list_->setItemDelegate(new ResultDelegate(list_));
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75));
    {
        QPalette p = list_->palette();
        p.setColor(QPalette::Base, White);
        p.setColor(QPalette::Text, DarkBlue);
        list_->setPalette(p);
    }
    list_->installEventFilter(this);
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& i) { OpenHit(i.row()); });

    avviso_ = yellowLabel(this, QStringLiteral("avviso"), 120, 5640, 6615, 375, 8.25, false,
                          QStringLiteral("che cosa è stato cercato e che cosa è stato ignorato"));
    avviso_->setWordWrap(true);

    smallCaption(this, QStringLiteral("Label2"), QStringLiteral("Archivio"), 6840, 600, 2520);
    archivio_ = place(new QComboBox, QStringLiteral("archivio"), 6840, 855, 2520, 315);
    smallCaption(this, QStringLiteral("Label3"), QStringLiteral("Autorità"), 6840, 1260, 2520);
    autorita_ = place(new QComboBox, QStringLiteral("autorita"), 6840, 1515, 2520, 315);
    anni_ = smallCaption(this, QStringLiteral("Label4"), QStringLiteral("Anni"), 6840, 1920, 2520);
    dal_ = place(new QSpinBox, QStringLiteral("dal"), 6840, 2175, 1200, 315);
    al_ = place(new QSpinBox, QStringLiteral("al"), 8160, 2175, 1200, 315);
    for (QSpinBox* s : {dal_, al_}) {
        s->setRange(NoYear, 2001);
        s->setValue(NoYear);
        s->setSpecialValueText(QStringLiteral("tutti"));
        s->setKeyboardTracking(false);
        connect(s, &QSpinBox::valueChanged, this, &ricerca::filtro_Change);
    }
    dal_->setPrefix(QStringLiteral("dal "));
    al_->setPrefix(QStringLiteral("al "));
    dal_->setToolTip(QStringLiteral("anno della sentenza più antica da elencare"));
    al_->setToolTip(QStringLiteral("anno della sentenza più recente da elencare"));
    smallCaption(this, QStringLiteral("Label5"), QStringLiteral("Norme citate"), 6840, 2580, 2520);
    norme_ = place(new QComboBox, QStringLiteral("norme"), 6840, 2835, 2520, 315);
    smallCaption(this, QStringLiteral("Label6"), QStringLiteral("Ordine"), 6840, 3240, 2520);
    ordine_ = place(new QComboBox, QStringLiteral("ordine"), 6840, 3495, 2520, 315);
    for (int i = 0; i < 4; ++i) ordine_->addItem(sortName(i));
    archivio_->setToolTip(QStringLiteral("elenca solo le massime di un archivio"));
    autorita_->setToolTip(QStringLiteral("elenca solo le sentenze di un'autorità"));
    norme_->setToolTip(QStringLiteral("elenca solo le massime che citano una norma"));
    ordine_->setToolTip(QStringLiteral("ordine dell'elenco"));
    for (QComboBox* c : {archivio_, autorita_, norme_, ordine_}) {
        c->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25));
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        connect(c, &QComboBox::currentIndexChanged, this, &ricerca::filtro_Change);
    }
    placeButton(QStringLiteral("azzera"), QStringLiteral("A&zzera filtri"), 6840, 3960, 2520, 375,
                QStringLiteral("cliccare per togliere i filtri e tornare all'ordine per pertinenza"), &ricerca::azzera_Click);
    placeButton(QStringLiteral("apri"), QStringLiteral("&Apri"), 6840, 5160, 1215, 375,
                QStringLiteral("cliccare per visualizzare la massima scelta nel suo archivio (o doppio clic, o Invio)"),
                &ricerca::apri_Click);
    placeButton(QStringLiteral("copia"), QStringLiteral("Co&pia"), 8145, 5160, 1215, 375,
                QStringLiteral("cliccare per copiare le massime scelte (o Ctrl+C)"), &ricerca::copia_Click);
    placeButton(QStringLiteral("stampa"), QStringLiteral("&Stampa"), 6840, 5640, 1215, 375,
                QStringLiteral("cliccare per stampare le massime elencate"), &ricerca::stampa_Click);
    placeButton(QStringLiteral("chiudi"), QStringLiteral("&Chiudi"), 8145, 5640, 1215, 375,
                QStringLiteral("cliccare per chiudere la finestra di ricerca"), &ricerca::chiudi_Click);

    // F3 here, as in the windows that open this one, goes back to the search box.
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] {
        testo_->setFocus();
        testo_->selectAll();
    });
    setInnerSize(9480, 6135);
}

ricerca::~ricerca() = default;

void ricerca::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(9600);
    index_ = &SearchIndex::shared();
    runSearch();
    testo_->setFocus();
}

void ricerca::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void ricerca::Form_Unload() { resizer_.reset(); }

void ricerca::testo_Change()
{
    given_ = false;
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

    const int n = int(result_.hits.size());
    const QLocale it(QLocale::Italian, QLocale::Italy);
    if (result_.query.empty()) {
        esito_->setCaption(QStringLiteral(" Scrivere le parole, la frase o la citazione da cercare"));
    } else {
        const QString count = n == 1 ? QStringLiteral("1 massima trovata") : QStringLiteral("%1 massime trovate").arg(n);
        esito_->setCaption(QStringLiteral(" ") + count + QStringLiteral(" (") + it.toString(result_.milliseconds, 'f', 1) +
                           QStringLiteral(" ms)"));
    }
    QStringList notes;
    if (result_.partial)
        notes << QStringLiteral("Nessuna massima contiene tutte le parole: sono elencate quelle che ne contengono di più");
    if (!result_.query.citation.empty()) notes << QStringLiteral("Citazione: ") + result_.query.citation.describe();
    for (const StatuteRef& s : result_.query.statutes) notes << QStringLiteral("Norma: ") + s.label;
    for (const QString& s : result_.query.ignored) notes << s.left(1).toUpper() + s.mid(1);
    avviso_->setCaption(notes.join(QStringLiteral(". ")));
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
    auto count = [](const QString& what, int n) { return QStringLiteral("%1 (%2)").arg(what).arg(n); };

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

QList<int> ricerca::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : list_->selectionModel()->selectedIndexes()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && list_->currentIndex().isValid()) rows << list_->currentIndex().row();
    return rows;
}

void ricerca::apri_Click()
{
    if (list_->currentIndex().isValid()) OpenHit(list_->currentIndex().row());
}

void ricerca::OpenHit(int row)
{
    const int id = model_->entryAt(row);
    if (id < 0) return;
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
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
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
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& sel = app->Selection();
    const QChar cr(13), ff(12);
    sel.setFontName(QStringLiteral("Century Gothic"));
    sel.setFontSize(18);
    sel.TypeText(ArchiveWindow::PrintHeading() + cr + cr);
    sel.setFontSize(12);
    sel.TypeText(QueryLine() + cr + cr);
    for (std::size_t k = 0; k < result_.hits.size(); ++k) {
        const MaximEntry& e = index_->entry(result_.hits[k].id);
        if (k > 0) sel.TypeText(QString(cr) + ff);
        sel.TypeText(MaximCorpus::headingLine(e) + cr);
        sel.TypeText(e.text);
    }
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
}

void ricerca::chiudi_Click() { Forms::instance().hide(QStringLiteral("ricerca")); }

bool ricerca::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->matches(QKeySequence::Copy)) {
            copia_Click();
            return true;
        }
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && k->modifiers() == Qt::NoModifier) {
            apri_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
