#include "scelta.h"
#include "Maker.h"
#include "ModNorvelia.h"
#include "archives/ArchiveDefinition.h"
#include "platform/Fonts.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/VbText.h"
#include <QKeyEvent>
#include <QShortcut>

namespace {
const QColor DarkBlue(0, 0, 128);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);

} // namespace

QString scelta::OptionHint(int index)
{
    static const char* hints[7] = {
        "Apre una finestra per la visualizzazione di massime riguardanti l'edilizia in generale.",
        "Apre una finestra per la visualizzazione di massime riguardanti l'urbanistica.",
        "Apre una finestra per la visualizzazione di massime riguardanti le espropriazioni per pubblica utilità.",
        "Apre una finestra per la visualizzazione di massime riguardanti i tecnici (architetti, ingegneri, geometri).",
        "Apre una finestra per la visualizzazione di massime riguardanti il condominio.",
        "Apre una finestra per la visualizzazione di massime riguardanti gli enti (comuni, provincie, regioni).",
        "Apre una finestra per la visualizzazione di massime riguardanti le imprese appaltatrici e il lavoro.",
    };
    return index >= 1 && index <= 7 ? QString::fromUtf8(hints[index - 1]) : QString();
}

QString scelta::GeneralHint()
{
    return QStringLiteral("Elenca le tematiche trattate nelle massime visualizzabili (suddivise per argomenti).");
}

scelta::scelta() : Form(QStringLiteral("scelta"))
{
    setCaption(QStringLiteral("Norvelia: menu degli archivi di massime disponibili"));
    setBorder(Border::Sizable);
    setInnerSize(9480, 6420);

    auto* lb = place(new VLabel, QStringLiteral("Lb"), 360, 360, 8775, 615);
    lb->setCaption(QStringLiteral("Cliccare sulla tematica prescelta"));
    lb->setBackColor(Red);
    lb->setForeColor(Yellow);
    lb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lb->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 24));
    lb->setBorder(true);

    auto* l61 = place(new VLabel, QStringLiteral("Label61"), 480, 1320, 3735, 375);
    l61->setCaption(QStringLiteral("Tematiche generali"));
    l61->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12, true));
    l61->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l61->setBorder(true);
    l61->setTransparent(true);

    auto* l71 = place(new VLabel, QStringLiteral("Label71"), 4320, 1320, 4815, 375);
    l71->setCaption(QStringLiteral(" il programma visualizza..."));
    l71->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12, true));
    l71->setBorder(true);
    l71->setTransparent(true);

    const auto archives = Archives::all();
    static const int widths[7] = {4815, 4935, 4935, 5055, 4935, 5055, 5055};
    for (int i = 1; i <= 7; ++i) {
        auto* o = place(new VOption, QStringLiteral("Option1(%1)").arg(i), 480, 1920 + 480 * (i - 1), 3615, 300);
        o->setText(QString::fromUtf8(archives[std::size_t(i - 1)].menuOption));
        o->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 12, true));
        QPalette p = o->palette();
        p.setColor(QPalette::WindowText, DarkBlue);
        o->setPalette(p);
        connect(o, &VOption::clicked, this, [this, i] { Option1_Click(i); });
        connect(o, &VOption::mouseMoved, this, [this, i] { option1_MouseMove(i); });
        // The seven options are one group and one tab stop: the arrow keys move among them.
        o->setFocusPolicy(i == 1 ? Qt::StrongFocus : Qt::ClickFocus);
        o->installEventFilter(this);
        // What the status bar tells a mouse passing over the option, a reader hears as its description.
        o->setAccessibleDescription(OptionHint(i));
        options_[std::size_t(i - 1)] = o;
    }
    for (int n = 1; n <= 7; ++n) {
        auto* l = place(new VLabel, QStringLiteral("Label%1").arg(n), 4320, 2040 + 480 * (n - 1), widths[n - 1], 255);
        l->setTransparent(true);
        l->setBuddy(options_[std::size_t(n - 1)]);   // the count beside an archive is read with it
        labels_[std::size_t(n - 1)] = l;
    }
    num_ = place(new VLabel, QStringLiteral("num"), 480, 5400, 3735, 375);
    num_->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 9.75, true));
    num_->setForeColor(DarkBlue);
    num_->setBackColor(Yellow);
    num_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    num_->setBorder(true);

    placeButton(QStringLiteral("aiuto"), QStringLiteral("&AIUTO"), 4440, 5520, 1215, 375,
                QStringLiteral("cliccare per avere informazioni sull'uso della finestra"), &scelta::aiuto_Click);
    placeButton(QStringLiteral("guida"), QStringLiteral("&Guida in linea"), 5640, 5520, 1215, 375,
                QStringLiteral("cliccare per visualizzare gli Argomenti della guida"), &scelta::guida_Click);
    placeButton(QStringLiteral("cmdesci"), QStringLiteral("&USCITA"), 6840, 5520, 1215, 375,
                QStringLiteral("cliccare per uscire da Norvelia"), &scelta::cmdesci_Click);
    placeButton(QStringLiteral("forum"), QStringLiteral("&forum"), 8040, 5520, 1215, 375,
                QStringLiteral("cliccare per andare sul forum di discussione"), &scelta::forum_Click);

    // The search over every archive, in the free strip between the last archive and the buttons.
    auto* trova = placeButton(QStringLiteral("trova"), QStringLiteral("&Trova nelle massime... (F3)"), 6840, 5175, 2415, 330,
                              QStringLiteral("cliccare per cercare parole o citazioni in tutte le massime"), &scelta::trova_Click);
    trova->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25));
    // The user's raccolte, in the same strip, left of the search.
    auto* racc = placeButton(QStringLiteral("raccolte"), QStringLiteral("&Raccolte..."), 4440, 5175, 2295, 330,
                             QStringLiteral("cliccare per vedere le proprie raccolte di massime"), &scelta::raccolte_Click);
    racc->setFont(Fonts::design(QStringLiteral("MS Sans Serif"), 8.25));
    racc->setAccessibleName(QStringLiteral("Raccolte"));
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, &scelta::trova_Click);

    status_ = new VStatusBar(client());
    registerControl(status_, QStringLiteral("StatusBar1"));
    status_->setSimpleText(QStringLiteral("Menu di scelta."));
}

scelta::~scelta() = default;

void scelta::Form_Load()
{
    resizer_ = std::make_unique<clsResize>();
    resizer_->setSourceForm(this);
    resizer_->SizeFormToScreen(75);
    setOuterHeight(6825);
    setOuterWidth(9600);

    Forms& forms = Forms::instance();
    for (const ArchiveDefinition& a : Archives::all()) forms.ref(a.name());

    long long total = 0;
    for (int i = 0; i < Archives::Count; ++i) total += ModNorvelia::ArchiveTotal(i);
    num_->setCaption(QStringLiteral("Numero totale massime: ") + NumberText(total));
    const auto archives = Archives::all();
    for (int n = 1; n <= 7; ++n)
        labels_[std::size_t(n - 1)]->setCaption(QStringLiteral("...") + NumberText(ModNorvelia::ArchiveTotal(n - 1)) +
                                                QString::fromUtf8(archives[std::size_t(n - 1)].menuPhrase));
}

void scelta::Form_Resize()
{
    if (resizer_) resizer_->ResizeControls();
}

void scelta::Form_Unload() { resizer_.reset(); }

void scelta::Form_MouseMove() { status_->setSimpleText(GeneralHint()); }

void scelta::Option1_Click(int index)
{
    if (index < 1 || index > 7) return;
    Forms::instance().show(Archives::all()[std::size_t(index - 1)].name());
    Option1(index)->setChecked(false);
}

int scelta::optionIndex(const QObject* o) const
{
    for (int i = 1; i <= 7; ++i)
        if (options_[std::size_t(i - 1)] == o) return i;
    return 0;
}

bool scelta::eventFilter(QObject* watched, QEvent* event)
{
    const int i = optionIndex(watched);
    if (i > 0 && event->type() == QEvent::FocusIn) {
        // The option last reached is the group's tab stop, as in an option group of the runtime.
        for (VOption* o : options_) o->setFocusPolicy(o == watched ? Qt::StrongFocus : Qt::ClickFocus);
    } else if (i > 0 && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if ((k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            switch (k->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left: Option1(i == 1 ? 7 : i - 1)->setFocus(Qt::BacktabFocusReason); return true;
            case Qt::Key_Down:
            case Qt::Key_Right: Option1(i == 7 ? 1 : i + 1)->setFocus(Qt::TabFocusReason); return true;
            // Space is the button's own key; Enter opens the archive the same way.
            case Qt::Key_Return:
            case Qt::Key_Enter: Option1(i)->click(); return true;
            default: break;
            }
        }
    }
    return Form::eventFilter(watched, event);
}

void scelta::option1_MouseMove(int index) { status_->setSimpleText(OptionHint(index)); }

void scelta::aiuto_Click()
{
    MsgBox(QStringLiteral("- Scegliere l'argomento che si intende controllare cliccandoci sopra;") + QChar(13) +
               QStringLiteral("- visualizzare le informazioni nella barra di stato muovendosi con il mouse."),
           MsgButtons::OK, MsgIcon::Information, ModNorvelia::state().HelpTitle);
}

void scelta::guida_Click()
{
    // The help index window.
    Forms::instance().show(QStringLiteral("sommario"));
}

void scelta::cmdesci_Click() { ModNorvelia::ConfirmExit(); }

void scelta::trova_Click() { Forms::instance().show(QStringLiteral("ricerca")); }

void scelta::raccolte_Click() { Forms::instance().show(QStringLiteral("raccolte")); }

void scelta::forum_Click() { ModNorvelia::OpenWebPage(Maker::forumPage()); }
