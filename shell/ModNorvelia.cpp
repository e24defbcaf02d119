#include "ModNorvelia.h"
#include "frmSplash.h"
#include "platform/Forms.h"
#include "platform/Platform.h"

namespace ModNorvelia {

SharedState& state()
{
    static SharedState s;
    return s;
}

void resetState() { state() = SharedState{}; }

void InitSharedState()
{
    SharedState& s = state();
    s.ProductName = QStringLiteral("Norvelia");
    s.ProductSubtitle = QStringLiteral("massime sull'edilizia");
    s.ProductVersion = QStringLiteral("2.05.05");
    s.ReleaseDate = QStringLiteral("19/03/2001");
    s.EndYearCode = QStringLiteral("311211");
    s.CheckTitle = s.ProductName + QStringLiteral(": controllo dati immessi nella finestra attiva");
    s.HelpTitle = s.ProductName + QStringLiteral(": aiuto in linea");
    s.DeleteDialogTitle = QStringLiteral("Elimina: seleziona il file desiderato e clicca su Apri per cancellarlo");
}

int OpenWebPage(const QString& target) { return Platform::current().shellOpen(target); }

void ShowArchiveMenu() { Forms::instance().show(QStringLiteral("scelta")); }

int ArchiveTotal(int index)
{
    if (index < 0 || index >= int(state().ArchiveTotals.size())) return 0;
    return state().ArchiveTotals[std::size_t(index)].value_or(0);
}

const std::array<const char*, 26>& ExitUnloadOrder()
{
    static const std::array<const char*, 26> order = {
        "scelta", "edilizia", "urbanistica", "espropriazioni", "professionisti", "condominio", "enti", "imprese",
        "sommario", "manuale", "guidascelta", "guidaedilizia", "guidaurbanistica", "guidaespropriazioni",
        "guidaprofessionisti", "guidacondominio", "guidaenti", "guidaimprese", "guidastampa", "guidaarchivio",
        "guidafunzionamento", "frmTip", "licenza", "prodotti", "supportoclienti", "informa"};
    return order;
}

const std::array<const char*, 3>& AddedWindows()
{
    static const std::array<const char*, 3> names = {"guidaricerca", "ricerca", "raccolte"};
    return names;
}

void ConfirmExit()
{
    const MsgAnswer a = MsgBox(QStringLiteral("Vuoi uscire da ") + state().ProductName + QStringLiteral("?"),
                               MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Norvelia: massime sull'edilizia"),
                               /*defaultSecond=*/true);
    if (a != MsgAnswer::Yes) return;
    Forms& forms = Forms::instance();
    for (const char* name : ExitUnloadOrder()) forms.unload(QString::fromLatin1(name));
    for (const char* name : AddedWindows()) forms.unload(QString::fromLatin1(name));
    auto* splash = forms.ref<frmSplash>(QStringLiteral("frmSplash"));
    if (!splash) return;
    splash->MMControl1()->Command(QStringLiteral("play"));
    forms.show(QStringLiteral("frmSplash"));
    splash->label(2)->setCaption(QStringLiteral("          elaborazione eseguita con"));
}

void LoadPriceListWindow()
{
    // The price-list window reads its side file when it loads; it stays hidden until asked for.
    if (Forms::instance().isDefined(QStringLiteral("prodotti"))) Forms::instance().ref(QStringLiteral("prodotti"));
}

void Start()
{
    InitSharedState();
    LoadPriceListWindow();
    Forms::instance().show(QStringLiteral("frmSplash"));
}

} // namespace ModNorvelia
