#include "raccolte.h"
#include "RaccolteActions.h"
#include "archives/ArchiveWindow.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include <QCheckBox>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

void RaccoltaList::dropEvent(QDropEvent* event)
{
    const int from = currentIndex().row();
    const QModelIndex at = indexAt(event->position().toPoint());
    const int to = dropTarget(from, at.isValid() ? at.row() : -1, dropIndicatorPosition() == QAbstractItemView::BelowItem,
                              topLevelItemCount());
    // The store makes the move; the list is filled again from it.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (from >= 0 && from != to && moveRequested) moveRequested(from, to);
}

int RaccoltaList::dropTarget(int from, int at, bool below, int rows)
{
    int to = at < 0 ? rows : at + (below ? 1 : 0);
    if (to > from) --to;   // the rows after the moved one close up first
    return to;
}

namespace {
QSettings settings() { return QSettings(QStringLiteral("Norvelia"), QStringLiteral("Norvelia")); }

template <class W>
W* named(W* w, const QString& name, const QString& accessible)
{
    w->setObjectName(name);
    w->setAccessibleName(accessible);
    return w;
}
} // namespace

raccolte::raccolte() : Form(QStringLiteral("raccolte"))
{
    setCaption(QStringLiteral("Norvelia: raccolte"));
    auto* outer = new QVBoxLayout(client());
    splitter_ = named(new QSplitter(Qt::Horizontal), QStringLiteral("divisore"), QStringLiteral("Divisore"));
    outer->addWidget(splitter_, 1);

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* elencoLabel = new QLabel(QStringLiteral("&Raccolte:"));
    leftLayout->addWidget(elencoLabel);
    elenco_ = named(new QListWidget, QStringLiteral("elenco"), QStringLiteral("Raccolte"));
    elencoLabel->setBuddy(elenco_);
    leftLayout->addWidget(elenco_, 1);
    auto* leftButtons = new QHBoxLayout;
    auto button = [this](QBoxLayout* layout, const QString& name, const QString& caption, const QString& tip, auto slot) {
        auto* b = named(new QPushButton(caption), name, QString(caption).remove(QLatin1Char('&')));
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        layout->addWidget(b);
        registerControl(b, name);
        return b;
    };
    nuova_ = button(leftButtons, QStringLiteral("nuova"), QStringLiteral("&Nuova..."), QStringLiteral("crea una nuova raccolta"), &raccolte::nuova_Click);
    rinomina_ = button(leftButtons, QStringLiteral("rinomina"), QStringLiteral("R&inomina..."), QStringLiteral("cambia il nome della raccolta scelta"),
                       &raccolte::rinomina_Click);
    elimina_ = button(leftButtons, QStringLiteral("elimina"), QStringLiteral("&Elimina"), QStringLiteral("elimina la raccolta scelta con le sue massime"),
                      &raccolte::elimina_Click);
    leftLayout->addLayout(leftButtons);
    splitter_->addWidget(left);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    intestazione_ = named(new QLabel, QStringLiteral("intestazione"), QStringLiteral("Raccolta scelta"));
    rightLayout->addWidget(intestazione_);
    massime_ = named(new RaccoltaList, QStringLiteral("massime"), QStringLiteral("Massime della raccolta"));
    massime_->setColumnCount(4);
    massime_->setHeaderLabels({QStringLiteral("N."), QStringLiteral("Massima"), QStringLiteral("Citazione"), QStringLiteral("Nota")});
    massime_->setRootIsDecorated(false);
    massime_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    massime_->setDragDropMode(QAbstractItemView::InternalMove);
    massime_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    massime_->header()->setStretchLastSection(true);
    massime_->moveRequested = [this](int from, int to) { MoveMaxim(from, to); };
    rightLayout->addWidget(massime_, 3);
    testo_ = named(new QTextBrowser, QStringLiteral("testo"), QStringLiteral("Testo della massima"));
    rightLayout->addWidget(testo_, 2);
    auto* row1 = new QHBoxLayout;
    su_ = button(row1, QStringLiteral("su"), QStringLiteral("S&u"), QStringLiteral("sposta la massima in su"), &raccolte::su_Click);
    giu_ = button(row1, QStringLiteral("giu"), QStringLiteral("&Giù"), QStringLiteral("sposta la massima in giù"), &raccolte::giu_Click);
    apri_ = button(row1, QStringLiteral("apri"), QStringLiteral("&Apri nell'archivio"), QStringLiteral("mostra la massima nella finestra del suo archivio"),
                   &raccolte::apri_Click);
    togli_ = button(row1, QStringLiteral("togli"), QStringLiteral("&Togli"), QStringLiteral("toglie le massime scelte dalla raccolta"), &raccolte::togli_Click);
    annulla_ = button(row1, QStringLiteral("annulla"), QStringLiteral("Ann&ulla"), QStringLiteral("rimette nella raccolta l'ultima massima tolta"),
                      &raccolte::annulla_Click);
    row1->addStretch(1);
    rightLayout->addLayout(row1);
    auto* row2 = new QHBoxLayout;
    copia_ = button(row2, QStringLiteral("copia"), QStringLiteral("Co&pia"), QStringLiteral("copia le massime scelte con la loro citazione"), &raccolte::copia_Click);
    citazioni_ = button(row2, QStringLiteral("citazioni"), QStringLiteral("Copia &citazioni"), QStringLiteral("copia le sole citazioni, una per riga"),
                        &raccolte::citazioni_Click);
    esporta_ = button(row2, QStringLiteral("esporta"), QStringLiteral("&Esporta..."), QStringLiteral("scrive la raccolta in un documento"), &raccolte::esporta_Click);
    formabreve_ = named(new QCheckBox(QStringLiteral("Citazioni in forma &breve")), QStringLiteral("formabreve"),
                        QStringLiteral("Citazioni in forma breve"));
    formabreve_->setToolTip(QStringLiteral("Cass. civ., sez. II, ... invece di Cassazione civile, sez. II, ..."));
    formabreve_->setChecked(RaccoltaDocument::preferredForm() == ShortCitation::Form::Short);
    connect(formabreve_, &QCheckBox::toggled, this, [](bool on) {
        RaccoltaDocument::setPreferredForm(on ? ShortCitation::Form::Short : ShortCitation::Form::Long);
    });
    registerControl(formabreve_, QStringLiteral("formabreve"));
    row2->addWidget(formabreve_);
    row2->addStretch(1);
    chiudi_ = button(row2, QStringLiteral("chiudi"), QStringLiteral("C&hiudi"), QStringLiteral("chiude la finestra"), &raccolte::chiudi_Click);
    rightLayout->addLayout(row2);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 3);

    stato_ = named(new QLabel, QStringLiteral("stato"), QStringLiteral("Stato"));
    outer->addWidget(stato_);

    registerControl(elenco_, QStringLiteral("elenco"));
    registerControl(massime_, QStringLiteral("massime"));
    registerControl(testo_, QStringLiteral("testo"));
    registerControl(stato_, QStringLiteral("stato"));
    connect(elenco_, &QListWidget::currentRowChanged, this, &raccolte::raccoltaChosen);
    connect(massime_, &QTreeWidget::currentItemChanged, this, &raccolte::showText);
    connect(massime_, &QTreeWidget::itemSelectionChanged, this, &raccolte::updateButtons);
    connect(massime_, &QTreeWidget::itemChanged, this, &raccolte::noteEdited);
    connect(massime_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem*, int column) {
        if (column != ColNote) apri_Click();
    });
}

raccolte::~raccolte() = default;

void raccolte::Form_Load()
{
    QSettings s = settings();
    if (!restoreGeometry(s.value(QStringLiteral("raccolte/geometria")).toByteArray())) resize(960, 640);
    splitter_->restoreState(s.value(QStringLiteral("raccolte/divisore")).toByteArray());
    RaccolteStore& store = RaccolteActions::store();
    if (store.state() == RaccolteStore::State::ReadOnlyNewer)
        say(QStringLiteral("Raccolte in sola lettura: scritte da una versione più recente di Norvelia."));
    else if (!store.writable())
        say(QStringLiteral("Le raccolte non sono disponibili: ") + store.openReport().reason);
    const auto last = store.lastUsed();
    if (last.value) current_ = last.value->id;
    Refresh();
}

void raccolte::Form_Unload()
{
    QSettings s = settings();
    s.setValue(QStringLiteral("raccolte/geometria"), saveGeometry());
    s.setValue(QStringLiteral("raccolte/divisore"), splitter_->saveState());
    removed_.clear();
}

ShortCitation::Form raccolte::form() const { return formabreve_->isChecked() ? ShortCitation::Form::Short : ShortCitation::Form::Long; }

void raccolte::say(const QString& text) { stato_->setText(text); }

void raccolte::Refresh()
{
    const auto list = RaccolteActions::store().raccolte();
    filling_ = true;
    {
        const QSignalBlocker block(elenco_);
        elenco_->clear();
        int row = -1;
        for (const RaccoltaInfo& r : list.value) {
            auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(r.name).arg(r.count));
            item->setData(Qt::UserRole, r.id);
            item->setData(Qt::UserRole + 1, r.name);
            elenco_->addItem(item);
            if (r.id == current_) row = elenco_->count() - 1;
        }
        if (row < 0 && elenco_->count() > 0) row = 0;
        elenco_->setCurrentRow(row);
        current_ = row < 0 ? 0 : elenco_->item(row)->data(Qt::UserRole).toLongLong();
    }
    filling_ = false;
    const int keep = massime_->currentIndex().isValid() ? massime_->currentIndex().row() : 0;
    showMaxims(keep);
}

void raccolte::raccoltaChosen()
{
    if (filling_) return;
    QListWidgetItem* item = elenco_->currentItem();
    current_ = item ? item->data(Qt::UserRole).toLongLong() : 0;
    removed_.clear();   // an undo belongs to the raccolta it was made in
    if (current_ && RaccolteActions::store().writable()) RaccolteActions::store().touch(current_);
    showMaxims(0);
}

bool raccolte::ShowRaccolta(const QString& name)
{
    const auto found = RaccolteActions::store().find(name);
    if (!found.value) return false;
    current_ = found.value->id;
    removed_.clear();
    Refresh();
    return true;
}

void raccolte::showMaxims(int selectRow)
{
    entries_.clear();
    if (current_) {
        const auto stored = RaccolteActions::store().maxims(current_);
        RaccolteActions::tell(stored.error);
        entries_ = RaccoltaDocument::entries(stored.value, RaccolteActions::locator());
    }
    const ShortCitation::Form f = form();
    {
        const QSignalBlocker block(massime_);
        massime_->clear();
        const bool editable = RaccolteActions::store().writable();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const RaccoltaEntry& e = entries_[i];
            auto* item = new QTreeWidgetItem;
            item->setText(ColNumber, QString::number(i + 1));
            item->setText(ColHeading, RaccoltaDocument::heading(e));
            item->setText(ColCitation, ShortCitation::citation(e.text(), f));
            item->setText(ColNote, e.stored.note);
            item->setToolTip(ColNote, QStringLiteral("doppio clic per scrivere una nota"));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (editable) flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
            item->setFlags(flags);
            massime_->addTopLevelItem(item);
        }
        if (!entries_.empty()) {
            QTreeWidgetItem* item = massime_->topLevelItem(std::clamp(selectRow, 0, int(entries_.size()) - 1));
            massime_->setCurrentItem(item);
        }
    }
    const QListWidgetItem* chosen = elenco_->currentItem();
    intestazione_->setText(chosen ? QStringLiteral("«%1»: %2 massime").arg(chosen->data(Qt::UserRole + 1).toString()).arg(entries_.size())
                                  : QStringLiteral("Nessuna raccolta: crearne una con «Nuova...» o da una finestra d'archivio"));
    showText();
    updateButtons();
}

void raccolte::showText()
{
    const int row = massime_->currentIndex().isValid() ? massime_->currentIndex().row() : -1;
    if (row < 0 || row >= int(entries_.size())) {
        testo_->clear();
        updateButtons();
        return;
    }
    const RaccoltaEntry& e = entries_[std::size_t(row)];
    QString html = QStringLiteral("<p><b>") + RaccoltaDocument::heading(e).toHtmlEscaped() + QStringLiteral("</b></p>") +
                   ShortCitation::quoteHtml(e.text(), form());
    if (e.moved) html += QStringLiteral("<p><i>Nell'edizione attuale la massima è in un'altra posizione dell'archivio.</i></p>");
    if (!e.stored.note.isEmpty()) html += QStringLiteral("<p><i>Nota:</i> ") + e.stored.note.toHtmlEscaped() + QStringLiteral("</p>");
    testo_->setHtml(html);
    updateButtons();
}

void raccolte::updateButtons()
{
    const bool writable = RaccolteActions::store().writable();
    const bool chosen = current_ != 0;
    const int row = massime_->currentIndex().isValid() ? massime_->currentIndex().row() : -1;
    const bool one = row >= 0 && row < int(entries_.size());
    nuova_->setEnabled(writable);
    rinomina_->setEnabled(writable && chosen);
    elimina_->setEnabled(writable && chosen);
    su_->setEnabled(writable && one && row > 0);
    giu_->setEnabled(writable && one && row + 1 < int(entries_.size()));
    apri_->setEnabled(one && !entries_[std::size_t(row)].gone());
    togli_->setEnabled(writable && one);
    annulla_->setEnabled(writable && !removed_.empty());
    copia_->setEnabled(!entries_.empty());
    citazioni_->setEnabled(!entries_.empty());
    esporta_->setEnabled(!entries_.empty());
}

std::vector<RaccoltaEntry> raccolte::selectedEntries() const
{
    std::vector<int> rows;
    for (const QModelIndex& i : massime_->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    std::vector<RaccoltaEntry> out;
    for (int r : rows)
        if (r < int(entries_.size())) out.push_back(entries_[std::size_t(r)]);
    // With none selected, the whole raccolta.
    if (out.empty()) out = entries_;
    return out;
}

void raccolte::noteEdited(QTreeWidgetItem* item, int column)
{
    if (column != ColNote) return;
    const int row = massime_->indexOfTopLevelItem(item);
    if (row < 0 || row >= int(entries_.size())) return;
    const QString note = item->text(ColNote);
    if (note == entries_[std::size_t(row)].stored.note) return;
    if (RaccolteActions::tell(RaccolteActions::store().setNote(entries_[std::size_t(row)].stored.id, note))) {
        Refresh();
        return;
    }
    entries_[std::size_t(row)].stored.note = note;
    say(QStringLiteral("Nota salvata."));
    showText();
}

void raccolte::nuova_Click()
{
    const auto name = Platform::current().inputText(RaccolteActions::title(), QStringLiteral("Nome della nuova raccolta:"), {}, QString());
    if (!name) return;
    const auto created = RaccolteActions::store().create(*name);
    if (RaccolteActions::tell(created.error)) return;
    current_ = created.value;
    removed_.clear();
    Refresh();
    say(QStringLiteral("Raccolta «%1» creata.").arg(name->simplified()));
}

void raccolte::rinomina_Click()
{
    const QListWidgetItem* item = elenco_->currentItem();
    if (!item) return;
    const QString old = item->data(Qt::UserRole + 1).toString();
    const auto name = Platform::current().inputText(RaccolteActions::title(), QStringLiteral("Nuovo nome della raccolta «%1»:").arg(old), {}, old);
    if (!name) return;
    if (RaccolteActions::tell(RaccolteActions::store().rename(current_, *name))) return;
    Refresh();
    say(QStringLiteral("Raccolta «%1» rinominata «%2».").arg(old, name->simplified()));
}

void raccolte::elimina_Click()
{
    const QListWidgetItem* item = elenco_->currentItem();
    if (!item) return;
    const QString name = item->data(Qt::UserRole + 1).toString();
    const QString text = entries_.empty() ? QStringLiteral("Eliminare la raccolta «%1»?").arg(name)
                                          : QStringLiteral("Eliminare la raccolta «%1» con le sue %2 massime e note?\rL'operazione non si può annullare.")
                                                .arg(name)
                                                .arg(entries_.size());
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, RaccolteActions::title(), /*defaultSecond=*/true) != MsgAnswer::Yes) return;
    if (RaccolteActions::tell(RaccolteActions::store().remove(current_))) return;
    current_ = 0;
    removed_.clear();
    Refresh();
    say(QStringLiteral("Raccolta «%1» eliminata.").arg(name));
}

void raccolte::MoveMaxim(int from, int to)
{
    if (from < 0 || from >= int(entries_.size()) || to < 0 || to >= int(entries_.size()) || from == to) return;
    if (RaccolteActions::tell(RaccolteActions::store().move(entries_[std::size_t(from)].stored.id, to))) {
        Refresh();
        return;
    }
    showMaxims(to);
}

void raccolte::su_Click()
{
    const int row = massime_->currentIndex().row();
    MoveMaxim(row, row - 1);
}

void raccolte::giu_Click()
{
    const int row = massime_->currentIndex().row();
    MoveMaxim(row, row + 1);
}

void raccolte::apri_Click()
{
    const int row = massime_->currentIndex().isValid() ? massime_->currentIndex().row() : -1;
    if (row < 0 || row >= int(entries_.size())) return;
    const RaccoltaEntry& e = entries_[std::size_t(row)];
    if (e.gone()) {
        MsgBox(QStringLiteral("La massima non è più presente nell'archivio: la raccolta ne conserva il testo."), MsgButtons::OK,
               MsgIcon::Information, RaccolteActions::title());
        return;
    }
    const QString name = MaximCorpus::archiveName(*e.current);
    auto* w = Forms::instance().ref<ArchiveWindow>(name);
    if (!w) return;
    // The window's own topic choice, then its scroll bar's step, as a user's choice would leave them.
    {
        const QSignalBlocker block(w->List1());
        w->List1()->setCurrentRow(e.current->topic - 1);
    }
    w->List1_Click();
    w->HScroll1()->setValue(e.current->maxim);
    if (QListWidgetItem* item = w->List1()->item(e.current->topic - 1)) w->List1()->scrollToItem(item);
    Forms::instance().show(name);
}

void raccolte::togli_Click()
{
    std::vector<int> rows;
    for (const QModelIndex& i : massime_->selectionModel()->selectedRows()) rows.push_back(i.row());
    if (rows.empty() && massime_->currentIndex().isValid()) rows.push_back(massime_->currentIndex().row());
    if (rows.empty()) return;
    // From the last up: each position recorded is then the one the maxim has in the raccolta as an
    // undo will find it (the undo puts back the last taken first).
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    std::size_t taken = 0;
    for (int r : rows) {
        if (r >= int(entries_.size())) continue;
        const StoredMaxim& m = entries_[std::size_t(r)].stored;
        if (RaccolteActions::tell(RaccolteActions::store().removeMaxim(m.id))) break;
        removed_.push_back(m);
        ++taken;
    }
    showMaxims(rows.back());
    say(taken == 1 ? QStringLiteral("Massima tolta dalla raccolta: «Annulla» la rimette.")
                   : QStringLiteral("%1 massime tolte dalla raccolta: «Annulla» le rimette una alla volta.").arg(taken));
}

void raccolte::annulla_Click()
{
    if (removed_.empty()) return;
    const StoredMaxim m = removed_.back();
    const auto back = RaccolteActions::store().restore(m);
    if (RaccolteActions::tell(back.error)) return;
    removed_.pop_back();
    showMaxims(m.position);
    say(QStringLiteral("Massima rimessa nella raccolta."));
}

void raccolte::copia_Click()
{
    const std::vector<RaccoltaEntry> list = selectedEntries();
    if (list.empty()) return;
    RaccolteActions::copyToClipboard(RaccoltaDocument::copyText(list, form()), RaccoltaDocument::copyHtml(list, form()));
    say(list.size() == 1 ? QStringLiteral("1 massima copiata.") : QStringLiteral("%1 massime copiate.").arg(list.size()));
}

void raccolte::citazioni_Click()
{
    const std::vector<RaccoltaEntry> list = selectedEntries();
    if (list.empty()) return;
    const QString text = RaccoltaDocument::citations(list, form());
    RaccolteActions::copyToClipboard(text, QStringLiteral("<p>") + text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                                               QStringLiteral("</p>"));
    say(list.size() == 1 ? QStringLiteral("1 citazione copiata.") : QStringLiteral("%1 citazioni copiate.").arg(list.size()));
}

void raccolte::esporta_Click()
{
    const QListWidgetItem* item = elenco_->currentItem();
    if (!item || entries_.empty()) return;
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    RaccoltaDocument::type(app->Selection(), item->data(Qt::UserRole + 1).toString(), QDate::currentDate(), entries_, form());
    say(QStringLiteral("Raccolta esportata nella finestra del documento: da lì si stampa o si salva."));
}

void raccolte::chiudi_Click() { Forms::instance().unload(formName()); }
