#include "RaccolteActions.h"
#include "platform/Platform.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

namespace RaccolteActions {

namespace {
std::unique_ptr<std::vector<MaximEntry>> corpus_;
std::unique_ptr<MaximLocator> locator_;
bool told = false;
} // namespace

QString title() { return QStringLiteral("Norvelia: raccolte"); }

RaccolteStore& store()
{
    RaccolteStore& s = RaccolteStore::shared();
    if (!told) {
        told = true;
        const QString text = Raccolte::openMessage(s.openReport(), s.path());
        if (!text.isEmpty()) MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, title());
    }
    return s;
}

const std::vector<MaximEntry>& corpus()
{
    if (!corpus_) corpus_ = std::make_unique<std::vector<MaximEntry>>(MaximCorpus::load());
    return *corpus_;
}

const MaximLocator& locator()
{
    if (!locator_) locator_ = std::make_unique<MaximLocator>(corpus());
    return *locator_;
}

void reset()
{
    locator_.reset();
    corpus_.reset();
    RaccolteStore::resetShared();
    told = false;
}

QString addedMessage(const RaccolteStore::Added& added, const QString& name)
{
    const QString where = QStringLiteral("«") + name + QStringLiteral("»");
    if (added.added == 0)
        return added.already == 1 ? QStringLiteral("La massima è già presente in ") + where
                                  : QStringLiteral("Le massime sono già presenti in ") + where;
    QString text = added.added == 1 ? QStringLiteral("1 massima aggiunta a ") + where
                                    : QStringLiteral("%1 massime aggiunte a ").arg(added.added) + where;
    if (added.already == 1) text += QStringLiteral(" (1 era già presente)");
    else if (added.already > 1) text += QStringLiteral(" (%1 erano già presenti)").arg(added.already);
    return text;
}

bool tell(const RaccolteError& error)
{
    if (!error) return false;
    MsgBox(Raccolte::message(error), MsgButtons::OK, MsgIcon::Exclamation, title());
    return true;
}

QString addMaxims(const std::vector<MaximRef>& maxims)
{
    if (maxims.empty()) return QString();
    RaccolteStore& s = store();
    if (!s.writable()) {
        tell(s.state() == RaccolteStore::State::ReadOnlyNewer ? RaccolteError{RaccolteFault::ReadOnly, QString()}
                                                              : RaccolteError{RaccolteFault::Unavailable, s.openReport().reason});
        return QString();
    }
    const auto list = s.raccolte();
    if (tell(list.error)) return QString();
    const auto last = s.lastUsed();
    QStringList names;
    for (const RaccoltaInfo& r : list.value) names << r.name;
    const QString label = maxims.size() == 1 ? QStringLiteral("Aggiungere la massima alla raccolta (scrivere un nome nuovo per crearla):")
                                             : QStringLiteral("Aggiungere le %1 massime alla raccolta (scrivere un nome nuovo per crearla):")
                                                   .arg(maxims.size());
    const auto chosen = Platform::current().inputText(title(), label, names, last.value ? last.value->name : QString());
    if (!chosen) return QString();
    const QString name = chosen->simplified();
    auto found = s.find(name);
    if (tell(found.error)) return QString();
    long long id;
    QString shown = name;
    if (found.value) {
        id = found.value->id;
        shown = found.value->name;
    } else {
        const auto created = s.create(name);
        if (tell(created.error)) return QString();
        id = created.value;
    }
    const auto added = s.add(id, maxims);
    if (tell(added.error)) return QString();
    return addedMessage(added.value, shown);
}

void copyToClipboard(const QString& plain, const QString& html)
{
    auto* data = new QMimeData;
    data->setText(plain);
    data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace RaccolteActions
