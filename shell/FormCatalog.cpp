#include "FormCatalog.h"
#include "frmSplash.h"
#include "help/HelpPageWindow.h"
#include "help/frmTip.h"
#include "help/sommario.h"
#include "informa.h"
#include "scelta.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "catalogue/prodotti.h"
#include "platform/Forms.h"
#include "search/RelatedMaxims.h"
#include "search/ricerca.h"
#include "raccolte/RaccolteActions.h"
#include "raccolte/raccolte.h"

namespace {
// The related maxims of an archive window's maxim, as the search window's hits.
void showRelated(const QString& archive, int topic, int maxim)
{
    const int a = Archives::indexOf(archive);
    auto* w = Forms::instance().show<ricerca>(QStringLiteral("ricerca"));
    if (a < 0 || !w) return;
    SearchIndex& index = SearchIndex::shared();
    const int id = RelatedMaxims::find(index, a, topic, maxim);
    if (id < 0) return;
    RelatedMaxims related(index);
    std::vector<SearchIndex::Hit> hits;
    for (const RelatedMaxim& r : related.of(id)) hits.push_back(SearchIndex::Hit{r.id, r.score, 0});
    w->ShowHits(std::move(hits), RelatedMaxims::caption(index.entry(id)),
                QStringLiteral("Massime affini calcolate dal programma: la stessa sentenza, le norme citate, le parole, l'argomento"));
}
} // namespace

void DefineAllForms()
{
    ArchiveWindow::setRelatedHandler(&showRelated);
    Forms& f = Forms::instance();
    f.define(QStringLiteral("frmSplash"), [] { return new frmSplash; });
    f.define(QStringLiteral("scelta"), [] { return new scelta; });
    f.define(QStringLiteral("prodotti"), [] { return new prodotti; });
    f.define(QStringLiteral("informa"), [] { return new informa; });
    f.define(QStringLiteral("supportoclienti"), [] { return new supportoclienti; });
    f.define(QStringLiteral("sommario"), [] { return new sommario; });
    f.define(QStringLiteral("licenza"), [] { return new licenza; });
    f.define(QStringLiteral("frmTip"), [] { return new frmTip; });
    f.define(QStringLiteral("ricerca"), [] { return new ricerca; });
    f.define(QStringLiteral("raccolte"), [] { return new raccolte; });
    ArchiveWindow::setQuoteHook([](const QString& maxim) {
        const ShortCitation::Form form = RaccoltaDocument::preferredForm();
        return ArchiveWindow::Quote{ShortCitation::quote(maxim, form), ShortCitation::quoteHtml(maxim, form)};
    });
    ArchiveWindow::setAddHook([](const QString& archive, int topic, int maxim, const QString& text) {
        const QString message = RaccolteActions::addMaxims({MaximRef{archive, topic, maxim, text}});
        // An open raccolte window shows the addition at once.
        if (auto* w = qobject_cast<raccolte*>(Forms::instance().find(QStringLiteral("raccolte"))); w && !message.isEmpty()) {
            w->Refresh();
            w->stato()->setText(message);
        }
        return message;
    });
    ricerca::setAddHook([](const std::vector<MaximEntry>& maxims) {
        std::vector<MaximRef> refs;
        for (const MaximEntry& e : maxims) refs.push_back(MaximRef{MaximCorpus::archiveName(e), e.topic, e.maxim, e.text});
        const QString message = RaccolteActions::addMaxims(refs);
        if (auto* w = qobject_cast<raccolte*>(Forms::instance().find(QStringLiteral("raccolte"))); w && !message.isEmpty()) {
            w->Refresh();
            w->stato()->setText(message);
        }
        return message;
    });
    ricerca::setRecentHooks(ricerca::RecentHooks{
        // A query not kept costs nothing the user made: no message for it (the store says once why it cannot write).
        [](const QString& query) { (void)RaccolteActions::store().rememberSearch(query); },
        [] {
            QStringList queries;
            const auto recent = RaccolteActions::store().recentSearches();
            if (recent.ok())
                for (const QString& q : recent.value) queries << q;
            return queries;
        }});
    for (const HelpPageDef& p : HelpPages::all()) {
        const HelpPageDef* def = &p;
        f.define(QString::fromLatin1(p.name), [def] { return new HelpPageWindow(*def); });
    }
    f.define(QString::fromLatin1(HelpPages::searchPage().name), [] { return new HelpPageWindow(HelpPages::searchPage()); });
    for (const ArchiveDefinition& a : Archives::all()) {
        const ArchiveDefinition* def = &a;
        f.define(a.name(), [def] { return new ArchiveWindow(*def); });
    }
}
