#include "prodotti.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/VbText.h"
#include "shell/AppPaths.h"
#include "shell/Maker.h"
#include "shell/ModNorvelia.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"

namespace {
const QColor PaleYellow(255, 255, 192);
const QColor Yellow(255, 255, 0);
const QColor Blue(0, 0, 255);
const QColor DarkBlue(0, 0, 128);
const QColor Red(255, 0, 0);

QFont sansSerif(bool bold = false) { return Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, bold); }

// The header and row labels of the list: yellow, with a single border.
VLabel* cell(prodotti* w, const QString& name, double left, double top, double width, double height, Qt::Alignment align,
             bool bold)
{
    auto* l = w->place(new VLabel, name, left, top, width, height);
    l->setBackColor(Yellow);
    l->setBorder(true);
    l->setAlignment(align | Qt::AlignTop);
    l->setFont(sansSerif(bold));
    return l;
}
} // namespace

QString prodotti::SalesNotes()
{
    return QStringLiteral("I programmi contrassegnati con l'asterisco (*) sono in fase di preparazione o di collaudo: chi li "
                          "ordina ora li riceverà appena saranno pronti. I prezzi sono al netto dell'IVA e delle spese di "
                          "trasporto. I programmi si spediscono su CD-ROM per posta prioritaria o con corriere espresso; si "
                          "paga con bonifico bancario anticipato, con carta di credito sul sito oppure in contrassegno alla "
                          "consegna, con un piccolo supplemento. I prezzi si riferiscono alle versioni professionali da "
                          "installare sul proprio computer, complete di manuale e di dodici mesi di assistenza tecnica. "
                          "Dimostrazioni, aggiornamenti, versioni ridotte e offerte del momento si trovano sul sito ") +
           Maker::webHost() + QStringLiteral(", dal quale si può anche acquistare via internet.");
}

QString prodotti::MessageTitle() { return ModNorvelia::state().ProductName + QStringLiteral(": listino dei prodotti"); }

prodotti::prodotti() : Form(QStringLiteral("prodotti"))
{
    setCaption(QStringLiteral("prodotti software VELMORIA"));
    setInnerSize(9450, 6390);
    setBackColor(PaleYellow);

    placeButton(QStringLiteral("cmdsommario"), QStringLiteral("&Sommario"), 120, 120, 1215, 375,
                QStringLiteral("cliccare per visualizzare il sommario della guida"), &prodotti::cmdSommario_Click);
    placeButton(QStringLiteral("cmdstampa"), QStringLiteral("S&tampa"), 1320, 120, 1215, 375,
                QStringLiteral("cliccare per stampare il listino"), &prodotti::cmdStampa_Click);
    placeButton(QStringLiteral("cmdchiudi"), QStringLiteral("&Chiudi"), 2520, 120, 1215, 375,
                QStringLiteral("cliccare per chiudere la finestra sui prodotti"), &prodotti::cmdchiudi_Click);
    // The host alone: the full address with its scheme does not fit the button.
    placeButton(QStringLiteral("Command1"), QStringLiteral("Sito: ") + Maker::webHost(), 6480, 480, 2415, 375,
                QStringLiteral("clicca per accedere al sito"), &prodotti::Command1_Click);
    placeButton(QStringLiteral("Command2"), QStringLiteral("Email: ") + Maker::email(), 6480, 840, 2415, 375,
                QStringLiteral("clicca per inviare un'email"), &prodotti::Command2_Click);

    auto* label1 = place(new VLabel, QStringLiteral("Label1"), 600, 840, 4815, 255);
    label1->setCaption(QStringLiteral("VERSIONI PROFESSIONALI PER WINDOWS - LISTINO"));
    label1->setFont(sansSerif(true));
    label1->setForeColor(Blue);
    label1->setBackColor(PaleYellow);

    label10_ = place(new VLabel, QStringLiteral("Label10"), 5400, 840, 855, 255);
    label10_->setFont(sansSerif(true));
    label10_->setForeColor(Blue);
    label10_->setBackColor(PaleYellow);

    cell(this, QStringLiteral("Label2"), 600, 1320, 495, 495, Qt::AlignHCenter, false)->setCaption(QStringLiteral("num."));
    cell(this, QStringLiteral("Label3"), 1080, 1320, 1455, 495, Qt::AlignHCenter, true)->setCaption(QStringLiteral("nome programma"));
    cell(this, QStringLiteral("Label4"), 2520, 1320, 3975, 255, Qt::AlignHCenter, true)->setCaption(QStringLiteral("argomento trattato "));
    auto* label11 = cell(this, QStringLiteral("Label11"), 2520, 1560, 3975, 255, Qt::AlignHCenter, false);
    label11->setCaption(QStringLiteral("(per offerte e opportunità vedi il catalogo sul sito)"));
    label11->setToolTip(QStringLiteral("esistono versioni ridotte dal costo minore"));
    auto* label5 = cell(this, QStringLiteral("Label5"), 6480, 1320, 1215, 495, Qt::AlignHCenter, true);
    label5->setCaption(QStringLiteral("costo netto in euro"));
    label5->setToolTip(QStringLiteral("al costo netto bisogna aggiungere l'IVA e le eventuali spese di trasporto"));
    auto* label6 = cell(this, QStringLiteral("Label6"), 7680, 1320, 1215, 495, Qt::AlignHCenter, true);
    label6->setCaption(QStringLiteral("via internet a euro"));
    label6->setToolTip(QStringLiteral("per chi acquista via internet"));

    scroll_ = place(new QScrollBar(Qt::Vertical), QStringLiteral("VScroll1"), 120, 1920, 375, 2415);
    scroll_->setRange(1, 1);   // the maximum follows the file at load
    scroll_->setPageStep(PriceListReader::PageRows);
    scroll_->setSingleStep(1);
    // The change handler runs when the value has changed: on release of the thumb, not while dragging.
    scroll_->setTracking(false);
    scroll_->setValue(1);
    connect(scroll_, &QScrollBar::valueChanged, this, &prodotti::VScroll1_Change);

    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        const double top = 1920 + 240 * (i - 1);
        auto* n = cell(this, QStringLiteral("num(%1)").arg(i), 600, top, 495, 255, Qt::AlignHCenter, false);
        n->setCaption(QString::number(i));
        num_[std::size_t(i - 1)] = n;
    }
    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        auto* l = cell(this, QStringLiteral("nom(%1)").arg(i), 1080, 1920 + 240 * (i - 1), 1455, 255, Qt::AlignHCenter, true);
        l->setFont(Fonts::design(QStringLiteral("Comic Sans MS"), 8.25, true));
        l->setForeColor(DarkBlue);
        nom_[std::size_t(i - 1)] = l;
    }
    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        auto* l = cell(this, QStringLiteral("argom(%1)").arg(i), 2520, 1920 + 240 * (i - 1), 3975, 255, Qt::AlignLeft, false);
        l->setForeColor(DarkBlue);
        argom_[std::size_t(i - 1)] = l;
    }
    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        auto* l = cell(this, QStringLiteral("eur(%1)").arg(i), 6480, 1920 + 240 * (i - 1), 1215, 255, Qt::AlignRight, true);
        l->setForeColor(DarkBlue);
        eur_[std::size_t(i - 1)] = l;
    }
    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        auto* l = cell(this, QStringLiteral("off(%1)").arg(i), 7680, 1920 + 240 * (i - 1), 1215, 255, Qt::AlignRight, true);
        l->setForeColor(Red);
        off_[std::size_t(i - 1)] = l;
    }

    auto* label8 = place(new VLabel, QStringLiteral("Label8"), 600, 4440, 8295, 255);
    label8->setCaption(QStringLiteral("Per ogni licenza d'uso dopo la prima, se richiesta successivamente, 50% di sconto."));
    label8->setFont(sansSerif());
    label8->setForeColor(Red);
    label8->setBackColor(Yellow);
    label8->setToolTip(
        QStringLiteral("lo stesso sconto si applica su ogni software dal costo inferiore in caso di acquisti multipli"));

    auto* label7 = place(new VLabel, QStringLiteral("Label7"), 600, 4800, 8295, 1455);
    label7->setCaption(SalesNotes());
    label7->setFont(sansSerif());
    label7->setBackColor(PaleYellow);
    label7->setToolTip(QStringLiteral("per ogni informazione puoi contattarci all'indirizzo email:  ") + Maker::email());
}

prodotti::~prodotti() = default;

const PriceRow& prodotti::Row(int k) const
{
    static const PriceRow none;
    return k >= 1 && k <= PriceListReader::MaxRows ? rows_[std::size_t(k)] : none;
}

void prodotti::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(9600);

    const PriceList list = PriceListReader::readFile(AppPaths::inCurrentDirectory(QStringLiteral("listino.txt")));
    rows_ = {};
    rowCount_ = int(std::min<std::size_t>(list.rows.size(), PriceListReader::MaxRows));
    for (int k = 1; k <= rowCount_; ++k) rows_[std::size_t(k)] = list.rows[std::size_t(k - 1)];
    // Told when the user first opens the list, not at start, which must bring up the splash undisturbed.
    loadMessage_ = list.error;
    messagePending_ = !loadMessage_.isEmpty();

    ModNorvelia::state().PriceListHead = list.head;
    label10_->setCaption(list.head);
    // A list shorter than a page still has a scroll bar within its range: it just never moves.
    scroll_->setMaximum(std::max(1, rowCount_ - (PriceListReader::PageRows - 1)));
    VScroll1_Change();
}

void prodotti::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void prodotti::Form_Unload() { resizer_.reset(); }

void prodotti::setVisible(bool visible)
{
    Form::setVisible(visible);
    if (visible && messagePending_) {
        messagePending_ = false;   // before the box: its own event loop must not tell it twice
        MsgBox(loadMessage_, MsgButtons::OK, MsgIcon::Exclamation, MessageTitle());
    }
}

void prodotti::VScroll1_Change()
{
    const int v = scroll_->value();
    for (int i = 1; i <= PriceListReader::PageRows; ++i) {
        const int k = v + i - 1;
        const std::size_t at = std::size_t(i - 1);
        if (k < 1 || k > rowCount_) {
            // Rows a short list does not fill stay blank rather than numbering products that do not exist.
            for (VLabel* l : {num_[at], nom_[at], argom_[at], eur_[at], off_[at]}) l->setCaption(QString());
            continue;
        }
        const PriceRow& r = rows_[std::size_t(k)];
        num_[at]->setCaption(QString::number(k));
        nom_[at]->setCaption(r.name.screenText());
        argom_[at]->setCaption(r.topic.screenText());
        eur_[at]->setCaption(r.listPrice.screenText());
        off_[at]->setCaption(r.offerPrice.screenText());
    }
}

void prodotti::cmdStampa_Click()
{
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& s = app->Selection();
    const QChar cr(13);
    s.setFontName(QStringLiteral("Century Gothic"));
    s.setFontSize(20);
    s.TypeText(QStringLiteral("prodotti software VELMORIA") + cr + cr);
    s.setFontSize(12);
    s.TypeText(QStringLiteral("acquistabili dalla pagina ") + Maker::purchasePage() + cr + cr);

    WordDocument* doc = WordOut::currentDoc();
    doc->addParagraphAtEnd();
    WordTable* t = doc->addTableAtEnd(rowCount_ + 1, 5);
    t->setFontSize(8);
    t->setCellText(1, 1, QStringLiteral("numero"));
    t->setCellText(1, 2, QStringLiteral("nome del software"));
    t->setCellText(1, 3, QStringLiteral("argomento trattato") + QString(20, QLatin1Char(' ')));
    t->setCellText(1, 4, QStringLiteral("listino in euro"));
    t->setCellText(1, 5, QStringLiteral("in offerta ad euro"));
    for (int i = 1; i <= rowCount_; ++i) {
        const PriceRow& r = rows_[std::size_t(i)];
        t->setCellText(i + 1, 1, NumberText(i));
        t->setCellText(i + 1, 2, r.name.screenText());
        t->setCellText(i + 1, 3, r.topic.screenText());
        t->setCellText(i + 1, 4, r.listPrice.priceText());
        t->setCellText(i + 1, 5, r.offerPrice.priceText());
    }
    t->AutoFormat(9);
    s.release();

    s.SelectColumn(doc->Tables(1), 4);
    s.setAlignment(2);
    s.SelectColumn(doc->Tables(1), 5);
    s.setAlignment(2);
    s.release();
}

void prodotti::cmdchiudi_Click() { hide(); }

void prodotti::cmdSommario_Click() { Forms::instance().show(QStringLiteral("sommario")); }

void prodotti::Command1_Click() { Link(Maker::cataloguePage()); }

void prodotti::Command2_Click() { Link(QStringLiteral("mailto: ") + Maker::email()); }

int prodotti::Link(const QString& url) { return ModNorvelia::OpenWebPage(url); }
