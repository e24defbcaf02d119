#include "informa.h"
#include "Maker.h"
#include "ModNorvelia.h"
#include "platform/Fonts.h"
#include "platform/VbText.h"
#include <QDate>

namespace {
VLabel* label(Form* f, const QString& name, const QString& text, double l, double t, double w, double h)
{
    auto* lb = f->place(new VLabel, name, l, t, w, h);
    lb->setTransparent(true);
    lb->setCaption(text);
    return lb;
}

VLine* line(Form* f, const QString& name, double x1, double y1, double x2, double y2)
{
    auto* ln = new VLine;
    f->registerControl(ln, name);
    ln->setPoints(x1, y1, x2, y2);
    return ln;
}
} // namespace

informa::informa() : Form(QStringLiteral("informa"))
{
    setBorder(Border::FixedSingle);
    setInnerSize(6975, 4020);
    auto* l3 = label(this, QStringLiteral("Label3"), QStringLiteral("software VELMORIA"), 120, 0, 6615, 375);
    l3->setFont(Fonts::design(QStringLiteral("Arial"), 18, true, true));
    l3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1_ = label(this, QStringLiteral("Label1"), QString(), 240, 360, 6495, 615);
    label1_->setFont(Fonts::design(QStringLiteral("Arial Black"), 24, true));
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label2_ = label(this, QStringLiteral("Label2"), QString(), 240, 960, 6495, 255);
    label2_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75));
    label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    line(this, QStringLiteral("Line1"), 240, 1320, 6720, 1320);
    label(this, QStringLiteral("Label5"), QStringLiteral("per sistemi Windows a 32 bit "), 2400, 1440, 2175, 255);
    label6_ = label(this, QStringLiteral("Label6"), QString(), 1320, 1680, 4335, 255);
    label6_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    line(this, QStringLiteral("Line2"), 1320, 2040, 5640, 2040);
    auto* l7 = label(this, QStringLiteral("label7"), Maker::composerCredit(), 0, 2160, 6975, 255);
    l7->setForeColor(QColor(0, 0, 255));
    l7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    line(this, QStringLiteral("Line3"), 480, 2520, 6480, 2520);
    label(this, QStringLiteral("Label4"), Maker::copyNotice(), 240, 2640, 3495, 1215);
    auto* ok = place(new QPushButton(QStringLiteral("OK")), QStringLiteral("cmdOK"), 5160, 3120, 1575, 495);
    connect(ok, &QPushButton::clicked, this, &informa::cmdOK_Click);
}

QString informa::EditionLine()
{
    const auto& s = ModNorvelia::state();
    const QDate released = QDate::fromString(s.ReleaseDate, QStringLiteral("dd/MM/yyyy"));
    return QStringLiteral("edizione professionale - versione ") + s.ProductVersion + QStringLiteral("  ") +
           NumberText(released.year()) + QStringLiteral("- 20") + s.EndYearCode.right(2);
}

void informa::Form_Load()
{
    ++loads_;
    const auto& s = ModNorvelia::state();
    setCaption(QStringLiteral("Informazioni su ") + s.ProductName);
    label1_->setCaption(s.ProductName);
    label2_->setCaption(s.ProductSubtitle);
    label6_->setCaption(EditionLine());
    centreOnScreen();
}

void informa::cmdOK_Click() { hide(); }

supportoclienti::supportoclienti() : Form(QStringLiteral("supportoclienti"))
{
    setCaption(QStringLiteral("Servizi di supporto ai clienti"));
    setBorder(Border::FixedSingle);
    setInnerSize(6975, 4020);
    auto* l1 = label(this, QStringLiteral("Label1"), QStringLiteral("software VELMORIA"), 240, 120, 3015, 375);
    l1->setFont(Fonts::design(QStringLiteral("Arial"), 14.25, true, true));
    label(this, QStringLiteral("Label6"), QStringLiteral("dal 1982"), 3360, 240, 975, 255);
    label(this, QStringLiteral("Label2"), Maker::postalAddress(), 240, 720, 3615, 255);
    label(this, QStringLiteral("Label3"), Maker::phoneFax() + QStringLiteral("e-mail: "), 240, 960, 3375, 255);
    auto* l9 = label(this, QStringLiteral("Label9"), Maker::email(), 3720, 960, 3015, 255);
    l9->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    line(this, QStringLiteral("Line1"), 120, 1320, 6720, 1320);
    label(this, QStringLiteral("Label4"),
          QStringLiteral("I clienti possono inviare fax o e-mail per avere delucidazioni su elementi inerenti il programma "
                         "illustrando in modo chiaro le problematiche da risolvere. I chiarimenti telefonici devono "
                         "riguardare situazioni che possono ottenere una risposta solo verbale. In questo caso va indicato "
                         "con precisione il punto del programma che non funziona o che non appare comprensibile. La linea "
                         "telefonica è a disposizione dalle 9,30 alle 13,00 e dalle 15,00 alle 18,00 di tutti i giorni dal "
                         "lunedì al venerdì escluso i festivi."),
          240, 1440, 6495, 1215);
    label(this, QStringLiteral("Label5"),
          QStringLiteral("Si è a disposizione per adeguamenti particolari del programma a richiesta: contattare il "
                         "responsabile software ") +
              Maker::softwareResponsible() +
              QStringLiteral(". Sono graditi i suggerimenti per migliorare il prodotto nelle versioni successive."),
          240, 2640, 6495, 615);
    line(this, QStringLiteral("Line2"), 120, 3360, 4680, 3360);
    label(this, QStringLiteral("Label8"), QStringLiteral("sito internet:"), 240, 3600, 855, 255);
    auto* l10 = label(this, QStringLiteral("Label10"), Maker::webHost(), 1080, 3600, 3495, 255);
    l10->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25, true));
    l10->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* ok = place(new QPushButton(QStringLiteral("OK")), QStringLiteral("Command1"), 4920, 3360, 1815, 495);
    connect(ok, &QPushButton::clicked, this, &supportoclienti::Command1_Click);
    centreOnScreen();
}

void supportoclienti::Command1_Click() { hide(); }
