#include "HelpPageWindow.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "shell/ModNorvelia.h"
#include "wordout/WordApplication.h"
#include "wordout/WordOut.h"
#include <QFile>
#include <QRegularExpression>

namespace {
const QColor PaleYellow(255, 255, 192);

QString resourceText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll()).trimmed();
}

// Title, subtitle and two empty paragraphs: the head of every help document.
void typeDocumentHead(WordSelection& s)
{
    const auto& st = ModNorvelia::state();
    const QChar cr(13);
    s.setFontName(QStringLiteral("Century Gothic"));
    s.setFontSize(20);
    s.TypeText(st.ProductName + cr);
    s.setFontSize(16);
    s.TypeText(st.ProductSubtitle + cr + cr + cr);
}

void finishDocument(WordSelection& s)
{
    s.SelectDocument();
    s.setAlignment(3);
    s.release();
}

} // namespace

namespace HelpPages {
const std::array<HelpPageDef, 12>& all()
{
    static const std::array<HelpPageDef, 12> pages = {{
        {"manuale", "MANUALE D'USO RAPIDO", ":/help/texts/manuale.txt", nullptr},
        {"guidafunzionamento", "FUNZIONAMENTO DEL PROGRAMMA", ":/help/texts/guidafunzionamento.txt", nullptr},
        {"guidaarchivio", "ARCHIVIO DATI", ":/help/texts/guidaarchivio.txt", nullptr},
        {"guidastampa", "COME STAMPARE", ":/help/texts/guidastampa.txt", nullptr},
        {"guidascelta", "FINESTRA MENU", ":/help/texts/guidascelta.txt", nullptr},
        {"guidaedilizia", "FINESTRA EDILIZIA", ":/help/texts/guidaedilizia.txt", nullptr},
        {"guidaurbanistica", "FINESTRA URBANISTICA", ":/help/texts/guidaurbanistica.txt", nullptr},
        {"guidaespropriazioni", "FINESTRA ESPROPRIAZIONI", nullptr, "Questa finestra è in fase di aggiornamento."},
        {"guidaprofessionisti", "FINESTRA PROFESSIONISTI", ":/help/texts/guidaprofessionisti.txt", nullptr},
        {"guidacondominio", "FINESTRA CONDOMINIO", ":/help/texts/guidacondominio.txt", nullptr},
        {"guidaenti", "FINESTRA ENTI", ":/help/texts/guidaenti.txt", nullptr},
        {"guidaimprese", "FINESTRA IMPRESE", ":/help/texts/guidaimprese.txt", nullptr},
    }};
    return pages;
}

const HelpPageDef* find(const QString& name)
{
    for (const HelpPageDef& d : all())
        if (name == QLatin1String(d.name)) return &d;
    return nullptr;
}

const HelpPageDef& searchPage()
{
    static const HelpPageDef page{"guidaricerca", "RICERCA NELLE MASSIME", ":/help/texts/guidaricerca.txt", nullptr};
    return page;
}

QString text(const HelpPageDef& def)
{
    if (def.inlineText) return QString::fromUtf8(def.inlineText);
    // Paragraphs are kept one a line: the texts are sized to fill their label without blank lines.
    QString t = resourceText(QString::fromLatin1(def.textResource));
    t.replace(QRegularExpression(QStringLiteral("\\n\\s*\\n")), QStringLiteral("\n"));
    return t;
}

QString typedText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\r")).replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return t;
}
} // namespace HelpPages

// ---------------------------------------------------------------------------------------------------

HelpPageWindow::HelpPageWindow(const HelpPageDef& def)
    : Form(QString::fromLatin1(def.name)), def_(def), manual_(QLatin1String(def.name) == QLatin1String("manuale"))
{
    setCaption(QStringLiteral("Guida in linea"));
    setBorder(Border::Sizable);
    setInnerSize(manual_ ? 9480 : 5520, 6420);
    setBackColor(PaleYellow);
    const bool funzionamento = QLatin1String(def.name) == QLatin1String("guidafunzionamento");
    placeButton(manual_ ? QStringLiteral("cmdsommario") : funzionamento ? QStringLiteral("CmdSommario") : QStringLiteral("cmdSommario"),
                QStringLiteral("&Sommario"), 120, 120, 1215, 375,
                manual_ ? QStringLiteral("cliccare per visualizzare il sommario della guida") : QString(), &HelpPageWindow::cmdSommario_Click);
    placeButton(manual_ ? QStringLiteral("cmdstampa") : QStringLiteral("cmdStampa"), QStringLiteral("S&tampa"), 1320, 120, 1215, 375,
                manual_ ? QStringLiteral("cliccare per avere la copia su carta del MANUALE D'USO RAPIDO") : QString(),
                &HelpPageWindow::cmdStampa_Click);
    placeButton(manual_ ? QStringLiteral("cmdchiudi") : QStringLiteral("cmdChiudi"), QStringLiteral("&Chiudi"), 2520, 120, 1215, 375,
                manual_ ? QStringLiteral("cliccare per chiudere la finestra") : QString(), &HelpPageWindow::cmdchiudi_Click);

    label1_ = place(new VLabel, QStringLiteral("Label1"), 120, 600, funzionamento ? 4095 : 3615, manual_ ? 375 : 255);
    label1_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    label1_->setForeColor(QColor(0, 0, 255));
    label1_->setBackColor(PaleYellow);
    label1_->setCaption(QString::fromUtf8(def.title));
    label2_ = manual_ ? place(new VLabel, QStringLiteral("Label2"), 240, 960, 9015, 5280)
                      : place(new VLabel, QStringLiteral("Label2"), 120, 960, 5175, funzionamento ? 5280 : 5295);
    label2_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75));
    label2_->setBackColor(PaleYellow);
    label2_->setCaption(HelpPages::text(def));
}

HelpPageWindow::~HelpPageWindow() = default;

void HelpPageWindow::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    if (manual_) {
        setOuterWidth(9600);
    } else {
        setOuterWidth(5640);
        setLeftTw(5467);
    }
}

void HelpPageWindow::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void HelpPageWindow::Form_Unload() { resizer_.reset(); }
void HelpPageWindow::cmdchiudi_Click() { Forms::instance().unload(formName()); }
void HelpPageWindow::cmdSommario_Click() { Forms::instance().show(QStringLiteral("sommario")); }

void HelpPageWindow::cmdStampa_Click()
{
    ModNorvelia::state().HelpPrintTitle = label1_;
    ModNorvelia::state().HelpPrintText = label2_;
    ModNorvelia::PrintHelpPage();
}

void ModNorvelia::PrintHelpPage()
{
    QLabel* title = state().HelpPrintTitle;
    QLabel* text = state().HelpPrintText;
    if (!title || !text) return;
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& s = app->Selection();
    const QChar cr(13);
    typeDocumentHead(s);
    s.TypeText(QStringLiteral("Guida: ") + title->text() + cr + cr);
    s.setFontSize(12);
    s.TypeText(HelpPages::typedText(text->text()) + cr);
    finishDocument(s);
}

// ---------------------------------------------------------------------------------------------------

licenza::licenza() : Form(QStringLiteral("licenza"))
{
    setCaption(QStringLiteral("LICENZA D'USO"));
    setBorder(Border::Sizable);
    setInnerSize(5490, 6390);
    placeButton(QStringLiteral("cmdSommario"), QStringLiteral("&Sommario"), 120, 120, 1215, 375,
                QStringLiteral("cliccare per visualizzare il sommario della guida"), &licenza::cmdSommario_Click);
    placeButton(QStringLiteral("cmdstampa"), QStringLiteral("S&tampa"), 1320, 120, 1215, 375,
                QStringLiteral("cliccare per stampare la LICENZA D'USO"), &licenza::cmdStampa_Click);
    placeButton(QStringLiteral("cmdChiudi"), QStringLiteral("&Chiudi"), 2520, 120, 1215, 375,
                QStringLiteral("cliccare per chiudere la finestra LICENZA D'USO"), &licenza::cmdchiudi_Click);
    label2_ = place(new VLabel, QStringLiteral("Label2"), 3840, 120, 1575, 375);
    label2_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12, true));
    label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label2_->setBorder(true);
    label2_->setForeColor(QColor(0, 0, 128));
    label2_->setBackColor(QColor(255, 255, 0));
    text1_ = place(new QPlainTextEdit, QStringLiteral("Text1"), 120, 1560, 5295, 4695);
    text1_->setAccessibleName(QStringLiteral("Testo della licenza d'uso"));
    text1_->setReadOnly(true);
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = text1_->palette();
    p.setColor(QPalette::Base, QColor(255, 0, 0));
    p.setColor(QPalette::Text, QColor(255, 255, 0));
    text1_->setPalette(p);
    text1_->setPlainText(LicenceText());
}

licenza::~licenza() = default;

QString licenza::LicenceText()
{
    // Kept with carriage return and line feed between its lines, as the text box holds it.
    QString t = resourceText(QStringLiteral(":/help/texts/licenza.txt"));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void licenza::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(5640);
    setLeftTw(5467);
    label2_->setCaption(ModNorvelia::state().ProductName);
}

void licenza::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void licenza::Form_Unload() { resizer_.reset(); }
void licenza::cmdchiudi_Click() { hide(); }
void licenza::cmdSommario_Click() { Forms::instance().show(QStringLiteral("sommario")); }

void licenza::cmdStampa_Click()
{
    WordApplication* app = WordOut::StartDocument();
    if (!app) return;
    WordSelection& s = app->Selection();
    typeDocumentHead(s);
    s.setFontSize(12);
    s.TypeText(LicenceText() + QChar(13));
    finishDocument(s);
}
