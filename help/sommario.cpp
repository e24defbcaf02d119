#include "sommario.h"
#include "HelpPageWindow.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "shell/AppPaths.h"
#include "shell/ModNorvelia.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
const QColor PaleYellow(255, 255, 192);
const QColor Cyan(0, 255, 255);

struct Entry {
    const char* caption;
    const char* target;
    int top;
};
const Entry entries[15] = {
    {"  Manuale d'uso rapido", "manuale", 1080},
    {"  Funzionamento del programma", "guidafunzionamento", 1320},
    {"  Archivio dati", "guidaarchivio", 1560},
    {" Come stampare", "guidastampa", 1800},
    {" Finestra Menu", "guidascelta", 2400},
    {" Finestra Edilizia", "guidaedilizia", 2640},
    {" Finestra Urbanistica", "guidaurbanistica", 2880},
    {" Finestra Espropriazioni", "guidaespropriazioni", 3120},
    {" Finestra Professionisti", "guidaprofessionisti", 3360},
    {" Finestra Condominio", "guidacondominio", 3600},
    {" Finestra Enti", "guidaenti", 3840},
    {" Finestra Imprese", "guidaimprese", 4080},
    {"  Suggerimento del giorno", "frmTip", 4680},
    {nullptr, "licenza", 4920},   // caption built from the product name
    {"  altri prodotti Software Velmoria", "prodotti", 5160},
};
} // namespace

QString sommario::EntryTarget(int index)
{
    if (index < 2 || index > 15) index = 1;
    return QString::fromLatin1(entries[index - 1].target);
}

sommario::sommario() : Form(QStringLiteral("sommario"))
{
    setCaption(QStringLiteral("Norvelia: guida in linea"));
    setBorder(Border::Sizable);
    setInnerSize(3855, 6420);
    setBackColor(PaleYellow);
    auto* title = place(new VLabel, QStringLiteral("Label1"), 240, 360, 3375, 375);
    title->setCaption(QStringLiteral("Argomenti della guida"));
    title->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setTransparent(true);
    for (int i = 1; i <= 15; ++i) {
        const Entry& e = entries[i - 1];
        auto* b = place(new QPushButton(QStringLiteral("--->")), QStringLiteral("puls(%1)").arg(i), 240, e.top, 375, 255);
        connect(b, &QPushButton::clicked, this, [this, i] { puls_Click(i); });
        buttons_[std::size_t(i - 1)] = b;
        auto* l = place(new VLabel, QStringLiteral("lbl(%1)").arg(i), 720, e.top, 2895, 255);
        l->setBorder(true);
        l->setBackColor(Cyan);
        l->setCaption(e.caption ? QString::fromUtf8(e.caption) : QString());
        connect(l, &VLabel::mouseMoved, this, [this, i] { lbl_MouseMove(i); });
        connect(l, &VLabel::mouseDown, this, [this, i] { lbl_Mousedown(i); });
        connect(l, &VLabel::mouseUp, this, [this, i] { lbl_MouseUp(i); });
        labels_[std::size_t(i - 1)] = l;
    }
    lbl(14)->setBackColor(QColor(255, 0, 0));
    lbl(14)->setForeColor(QColor(255, 255, 0));
    lbl(15)->setBackColor(QColor(255, 255, 0));
    lbl(2)->setForeColor(QColor(0, 0, 0));
    placeButton(QStringLiteral("cmdstampa"), QStringLiteral("&Stampa"), 120, 6000, 1215, 375,
                QStringLiteral("cliccare per avere la copia su carta dell'intera guida"), &sommario::cmdStampa_Click);
    placeButton(QStringLiteral("cmdchiudi"), QStringLiteral("&Chiudi"), 1320, 6000, 1215, 375,
                QStringLiteral("cliccare per chiudere la finestra"), &sommario::cmdchiudi_Click);
    placeButton(QStringLiteral("cmduscita"), QStringLiteral("&USCITA"), 2520, 6000, 1215, 375,
                QString(), &sommario::cmduscita_Click);
}

sommario::~sommario() = default;

void sommario::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(3975);
    const QString product = ModNorvelia::state().ProductName;
    lbl(14)->setCaption(QStringLiteral("  Licenza d'uso di \"") + product + QStringLiteral("\""));
    findChild<QPushButton*>(QStringLiteral("cmduscita"))->setToolTip(QStringLiteral("cliccare pere uscire da ") + product);
}

void sommario::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void sommario::Form_Unload() { resizer_.reset(); }
void sommario::Form_MouseMove() { ClearHighlight(); }

void sommario::ClearHighlight()
{
    for (int i = 1; i <= 15; ++i) lbl(i)->setBold(false);
}

void sommario::puls_Click(int index) { Forms::instance().show(EntryTarget(index)); }

void sommario::lbl_MouseMove(int index)
{
    ClearHighlight();
    lbl(index)->setBold(true);
}

void sommario::lbl_Mousedown(int index)
{
    lbl(index)->setBorder(false);
    puls_Click(index);
}

void sommario::lbl_MouseUp(int index) { lbl(index)->setBorder(true); }
void sommario::cmdchiudi_Click() { hide(); }
void sommario::cmduscita_Click() { ModNorvelia::ConfirmExit(); }

QString sommario::GuideFileName() { return ModNorvelia::state().ProductName + QStringLiteral("-guida") + QStringLiteral(".doc"); }

QString sommario::GuidePath()
{
    const QString appFolder = AppPaths::applicationFolder();
    // Writable means a file can be created there, whatever the permission bits claim.
    QTemporaryFile probe(QDir(appFolder).filePath(QStringLiteral("probe-XXXXXX")));
    if (probe.open()) return QDir(appFolder).filePath(GuideFileName());
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    QDir().mkpath(docs);
    return QDir(docs).filePath(GuideFileName());
}

void sommario::cmdStampa_Click()
{
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& s = app->Selection();
    const auto& st = ModNorvelia::state();
    const QChar cr(13), ff(12);
    s.setFontName(QStringLiteral("Century Gothic"));
    s.setFontSize(20);
    s.TypeText(st.ProductName + cr);
    s.setFontSize(16);
    s.TypeText(st.ProductSubtitle + cr + cr + cr);
    const auto& pages = HelpPages::all();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const QString name = QString::fromLatin1(pages[i].name);
        // A page not yet open is created without being shown.
        auto* page = dynamic_cast<HelpPageWindow*>(Forms::instance().ref(name));
        const QString title = page ? page->Label1()->caption() : QString::fromUtf8(pages[i].title);
        const QString text = page ? page->Label2()->caption() : HelpPages::text(pages[i]);
        s.TypeText(QStringLiteral("Guida: ") + title + cr + cr);
        if (i == 0) s.setFontSize(12);
        s.TypeText(HelpPages::typedText(text) + cr + (i + 1 < pages.size() ? QString(ff) : QString()));
    }
    s.SelectDocument();
    s.setAlignment(3);
    s.release();

    WordDocument* doc = app->DocumentsItem(app->DocumentsCount());
    const QString path = GuidePath();
    if (QFileInfo::exists(path) &&
        MsgBox(QStringLiteral("Il file \"") + QDir::toNativeSeparators(path) +
                   QStringLiteral("\" esiste già. Sostituirlo con la guida appena stampata?"),
               MsgButtons::YesNo, MsgIcon::Question, st.ProductName + QStringLiteral(": stampa della guida")) != MsgAnswer::Yes)
        return;
    QString error;
    if (doc && !doc->SaveAs(path, &error))
        MsgBox(QStringLiteral("Impossibile salvare la guida in \"") + QDir::toNativeSeparators(path) + QStringLiteral("\": ") + error +
                   QStringLiteral(". Il documento resta aperto e può essere salvato dalla sua finestra."),
               MsgButtons::OK, MsgIcon::Exclamation, st.ProductName + QStringLiteral(": stampa della guida"));
}
