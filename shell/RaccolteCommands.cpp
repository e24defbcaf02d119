#include "RaccolteCommands.h"
#include "archives/ArchiveDefinition.h"
#include "platform/Fonts.h"
#include "raccolte/RaccoltaDocument.h"
#include "raccolte/RaccolteStore.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

namespace RaccolteCommands {

namespace {
int bad(QString& err, const QString& why)
{
    err += QStringLiteral("norvelia: ") + why + QStringLiteral("\n");
    return 2;
}

struct Request {
    bool list = false;
    std::optional<QString> show, addTo, addSpec, note, exportName, exportFile;
    bool json = false;
};

// The store of the user's data folder; the folder is the one the windows use.
std::optional<int> openStore(RaccolteStore& store, bool write, QString& err)
{
    if (QCoreApplication::applicationName().isEmpty() || !QCoreApplication::instance())
        QCoreApplication::setApplicationName(QStringLiteral("Norvelia"));
    const RaccolteStore::OpenReport report = store.open(RaccolteStore::defaultPath());
    const QString told = Raccolte::openMessage(report, store.path());
    if (!told.isEmpty()) err += QStringLiteral("norvelia: ") + QString(told).replace(QLatin1Char('\n'), QLatin1Char(' ')) + QLatin1Char('\n');
    if (report.state == RaccolteStore::State::Unavailable) return 2;
    if (write && !store.writable()) return 2;
    return std::nullopt;
}

std::optional<RaccoltaInfo> named(RaccolteStore& store, const QString& name, QString& err)
{
    const auto found = store.find(name);
    if (found.error) err += QStringLiteral("norvelia: ") + Raccolte::message(found.error) + QLatin1Char('\n');
    else if (!found.value) err += QStringLiteral("norvelia: nessuna raccolta di nome «%1»\n").arg(name);
    return found.value;
}

int list(RaccolteStore& store, bool json, QString& out, QString& err)
{
    const auto r = store.raccolte();
    if (r.error) return bad(err, Raccolte::message(r.error));
    QJsonArray array;
    for (const RaccoltaInfo& i : r.value) {
        if (json) array.append(QJsonObject{{QStringLiteral("name"), i.name}, {QStringLiteral("count"), i.count}});
        else out += QStringLiteral("%1\t%2\n").arg(i.name).arg(i.count);
    }
    if (json) out += QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    return 0;
}

int show(RaccolteStore& store, const QString& name, bool json, QString& out, QString& err)
{
    const auto info = named(store, name, err);
    if (!info) return 2;
    const auto stored = store.maxims(info->id);
    if (stored.error) return bad(err, Raccolte::message(stored.error));
    const std::vector<MaximEntry> corpus = MaximCorpus::load();
    const MaximLocator locator(corpus);
    const std::vector<RaccoltaEntry> entries = RaccoltaDocument::entries(stored.value, locator);
    QJsonArray array;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const RaccoltaEntry& e = entries[k];
        const QString archive = e.current ? MaximCorpus::archiveName(*e.current) : e.stored.archive;
        const int topic = e.current ? e.current->topic : e.stored.topic;
        const int maxim = e.current ? e.current->maxim : e.stored.maxim;
        const QString citation = ShortCitation::citation(e.text(), ShortCitation::Form::Long);
        if (json) {
            QJsonObject o;
            o.insert(QStringLiteral("number"), int(k + 1));
            o.insert(QStringLiteral("archive"), archive);
            o.insert(QStringLiteral("topic"), topic);
            o.insert(QStringLiteral("maxim"), maxim);
            o.insert(QStringLiteral("citation"), citation);
            o.insert(QStringLiteral("short"), ShortCitation::citation(e.text(), ShortCitation::Form::Short));
            o.insert(QStringLiteral("note"), e.stored.note);
            o.insert(QStringLiteral("present"), !e.gone());
            o.insert(QStringLiteral("text"), ShortCitation::body(e.text()));
            array.append(o);
        } else {
            QString note = e.stored.note;
            note.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6").arg(k + 1).arg(archive).arg(topic).arg(maxim).arg(citation, note);
            if (e.gone()) out += QLatin1Char('\t') + goneMark();
            out += QLatin1Char('\n');
        }
    }
    if (json)
        out += QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("name"), info->name}, {QStringLiteral("maxims"), array}})
                                     .toJson(QJsonDocument::Indented));
    return 0;
}

int add(RaccolteStore& store, const QString& name, const QString& place, const QString& note, QString& out, QString& err)
{
    const QStringList parts = place.split(QLatin1Char(':'));
    bool okTopic = false, okMaxim = false;
    const int topic = parts.size() == 3 ? parts[1].toInt(&okTopic) : 0;
    const int maxim = parts.size() == 3 ? parts[2].toInt(&okMaxim) : 0;
    if (parts.size() != 3 || !okTopic || !okMaxim || Archives::indexOf(parts[0]) < 0)
        return bad(err, QStringLiteral("--aggiungi vuole NOME ARCHIVIO:ARGOMENTO:MASSIMA, per esempio condominio:5:3 "
                                       "(archivi: edilizia, urbanistica, espropriazioni, professionisti, condominio, enti, imprese)"));
    const std::vector<MaximEntry> corpus = MaximCorpus::load();
    const auto it = std::find_if(corpus.begin(), corpus.end(), [&](const MaximEntry& e) {
        return MaximCorpus::archiveName(e) == parts[0] && e.topic == topic && e.maxim == maxim;
    });
    if (it == corpus.end()) return bad(err, QStringLiteral("nessuna massima %1 nell'archivio").arg(place));
    auto found = store.find(name);
    if (found.error) return bad(err, Raccolte::message(found.error));
    long long id = found.value ? found.value->id : 0;
    QString shown = found.value ? found.value->name : name.simplified();
    if (!found.value) {
        const auto created = store.create(name);
        if (created.error) return bad(err, Raccolte::message(created.error));
        id = created.value;
    }
    const auto added = store.add(id, {MaximLocator::ref(*it)}, note);
    if (added.error) return bad(err, Raccolte::message(added.error));
    // The addedMessage of the windows, without a window's floor: said here in the same words.
    out += added.value.added ? QStringLiteral("1 massima aggiunta a «%1»\n").arg(shown)
                             : QStringLiteral("La massima è già presente in «%1»\n").arg(shown);
    return 0;
}

int exportTo(RaccolteStore& store, const QString& name, const QString& file, QString& out, QString& err)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("odt") && suffix != QLatin1String("pdf") && suffix != QLatin1String("doc"))
        return bad(err, QStringLiteral("--esporta vuole un file .odt, .pdf o .doc"));
    const auto info = named(store, name, err);
    if (!info) return 2;
    const auto stored = store.maxims(info->id);
    if (stored.error) return bad(err, Raccolte::message(stored.error));
    // Laying out text needs the fonts, hence an application (with widgets: the fonts' substitutes are
    // installed as the windows install them); no display is needed for it.
    std::unique_ptr<QApplication> app;
    static int argc = 1;
    static char name0[] = "norvelia";
    static char* argv[] = {name0, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    Fonts::install();   // the document's typeface resolves as it does in the windows
    const std::vector<MaximEntry> corpus = MaximCorpus::load();
    const MaximLocator locator(corpus);
    const std::vector<RaccoltaEntry> entries = RaccoltaDocument::entries(stored.value, locator);
    QString error;
    bool saved = false;
    {
        WordApplication word;   // not visible: the document is only written
        WordDocument* doc = word.DocumentsAdd();
        if (doc) {
            RaccoltaDocument::type(word.Selection(), info->name, QDate::currentDate(), entries, RaccoltaDocument::preferredForm());
            saved = doc->SaveAs(file, &error);
        }
    }
    if (!saved) return bad(err, QStringLiteral("il file %1 non può essere scritto%2").arg(file, error.isEmpty() ? QString() : QStringLiteral(": ") + error));
    const QString count = entries.size() == 1 ? QStringLiteral("1 massima") : QStringLiteral("%1 massime").arg(entries.size());
    out += QStringLiteral("Raccolta «%1» (%2) scritta in %3\n").arg(info->name, count, file);
    return 0;
}
} // namespace

QString usage()
{
    return QStringLiteral(
        "  --raccolte          elenca le raccolte (nome e numero di massime, separati da una tabulazione)\n"
        "  --raccolta NOME     stampa le massime della raccolta: numero, archivio, argomento, massima,\n"
        "                      citazione e nota separati da tabulazioni (con --formato json: un oggetto)\n"
        "  --aggiungi NOME ARCHIVIO:ARGOMENTO:MASSIMA\n"
        "                      aggiunge una massima alla raccolta (creata se nuova), per esempio condominio:5:3\n"
        "  --nota TESTO        con --aggiungi: la nota della massima\n"
        "  --esporta NOME FILE scrive la raccolta in un documento .odt, .pdf o .doc secondo l'estensione\n");
}

std::optional<int> run(const QStringList& arguments, QString& out, QString& err)
{
    static const QStringList ours = {QStringLiteral("--raccolte"), QStringLiteral("--raccolta"), QStringLiteral("--aggiungi"),
                                     QStringLiteral("--nota"), QStringLiteral("--esporta")};
    if (std::none_of(arguments.begin() + std::min<qsizetype>(1, arguments.size()), arguments.end(),
                     [](const QString& a) { return ours.contains(a); }))
        return std::nullopt;
    Request r;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        auto value = [&](std::optional<QString>* v) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QLatin1String("--"))) return false;
            *v = arguments.at(++i);
            return true;
        };
        if (a == QLatin1String("--raccolte")) r.list = true;
        else if (a == QLatin1String("--raccolta")) {
            if (!value(&r.show)) return bad(err, QStringLiteral("--raccolta vuole il nome della raccolta"));
        } else if (a == QLatin1String("--aggiungi")) {
            if (!value(&r.addTo) || !value(&r.addSpec))
                return bad(err, QStringLiteral("--aggiungi vuole NOME ARCHIVIO:ARGOMENTO:MASSIMA"));
        } else if (a == QLatin1String("--nota")) {
            if (!value(&r.note)) return bad(err, QStringLiteral("--nota vuole il testo della nota"));
        } else if (a == QLatin1String("--esporta")) {
            if (!value(&r.exportName) || !value(&r.exportFile)) return bad(err, QStringLiteral("--esporta vuole NOME FILE"));
        } else if (a == QLatin1String("--formato")) {
            std::optional<QString> f;
            if (!value(&f) || (*f != QLatin1String("tsv") && *f != QLatin1String("json")))
                return bad(err, QStringLiteral("--formato vuole tsv oppure json"));
            r.json = *f == QLatin1String("json");
        } else {
            return bad(err, QStringLiteral("opzione non riconosciuta insieme alle raccolte: ") + a);
        }
    }
    const int actions = int(r.list) + int(bool(r.show)) + int(bool(r.addTo)) + int(bool(r.exportName));
    if (actions != 1) return bad(err, QStringLiteral("--raccolte, --raccolta, --aggiungi e --esporta si usano uno alla volta"));
    if (r.note && !r.addTo) return bad(err, QStringLiteral("--nota vale solo con --aggiungi"));
    RaccolteStore store;
    if (const auto failed = openStore(store, bool(r.addTo), err)) return failed;
    if (r.list) return list(store, r.json, out, err);
    if (r.show) return show(store, *r.show, r.json, out, err);
    if (r.addTo) return add(store, *r.addTo, *r.addSpec, r.note.value_or(QString()), out, err);
    return exportTo(store, *r.exportName, *r.exportFile, out, err);
}

} // namespace RaccolteCommands
