#include "CommandLine.h"
#include "ModNorvelia.h"
#include "archives/ArchiveDefinition.h"
#include "search/RelatedMaxims.h"
#include "RaccolteCommands.h"
#include "search/SearchIndex.h"
#include "search/SearchMessages.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace CommandLine {

namespace {
QString usage()
{
    return QStringLiteral(
        "Uso: norvelia [--cerca TESTO [--senza-sinonimi] | --affini ARCHIVIO:ARGOMENTO:MASSIMA] [--limite N]\n"
        "              [--formato tsv|json] [--help] [--version]\n"
        "       norvelia --raccolte | --raccolta NOME [--formato tsv|json] | --aggiungi NOME ARCHIVIO:ARGOMENTO:MASSIMA\n"
        "                [--nota TESTO] | --esporta NOME FILE\n"
        "Senza opzioni apre il programma.\n"
        "\n"
        "  --cerca TESTO       stampa le massime che contengono TESTO, in ordine di pertinenza, ed esce;\n"
        "                      TESTO si scrive come nella finestra di ricerca: parole, \"frasi\", parola*,\n"
        "                      -parola, O tra due parole, citazioni (Cass. 3679/1996) e norme (art. 1117 cod. civ.)\n"
        "  --affini ARCHIVIO:ARGOMENTO:MASSIMA\n"
        "                      stampa le massime affini a quella indicata (per esempio condominio:5:3),\n"
        "                      calcolate dalla stessa sentenza, dalle norme citate e dalle parole, con il motivo\n"
        "  --limite N          quante massime stampare al massimo (20 se non indicato, 8 con --affini, 0 per tutte)\n"
        "  --formato tsv|json  tsv (il normale): una massima per riga, archivio, argomento, numero della\n"
        "                      massima e citazione separati da tabulazioni; json: un elenco di oggetti con\n"
        "                      anche il titolo dell'argomento, un estratto del testo e il punteggio; con --affini\n"
        "                      il motivo è l'ultimo campo (tsv) o la chiave reason (json)\n"
        "  --senza-sinonimi    cerca solo le parole scritte, senza i termini d'epoca che il thesaurus\n"
        "                      associa a quelli di oggi (es. SCIA: denuncia di inizio attività)\n"
        "%1"
        "  --help              mostra questo aiuto ed esce\n"
        "  --version           mostra la versione ed esce\n"
        "\n"
        "Codici di uscita: 0 eseguito (anche quando nessuna massima è trovata), 2 opzione non valida.\n")
        .arg(RaccolteCommands::usage());
}

int bad(QString& err, const QString& why)
{
    err += QStringLiteral("norvelia: ") + why + QStringLiteral("\nPer l'elenco delle opzioni: norvelia --help\n");
    return 2;
}

// "condominio:5:3" as an entry of the index, or -1.
int relatedPlace(const SearchIndex& index, const QString& place)
{
    const QStringList parts = place.split(QLatin1Char(':'));
    if (parts.size() != 3) return -1;
    bool topicOk = false, maximOk = false;
    const int topic = parts.at(1).toInt(&topicOk), maxim = parts.at(2).toInt(&maximOk);
    if (!topicOk || !maximOk) return -1;
    const auto archives = Archives::all();
    for (int a = 0; a < int(archives.size()); ++a)
        if (archives[std::size_t(a)].name().compare(parts.at(0).trimmed(), Qt::CaseInsensitive) == 0)
            return RelatedMaxims::find(index, a, topic, maxim);
    return -1;
}

// A maxim as the JSON output gives it: where it stands, its citation, its topic's title, an excerpt
// (the words found in it, if any) and its score.
QJsonObject maximObject(SearchIndex& index, int id, const ParsedQuery& query, double score)
{
    const MaximEntry& e = index.entry(id);
    QJsonObject o;
    o.insert(QStringLiteral("archive"), MaximCorpus::archiveName(e));
    o.insert(QStringLiteral("topic"), e.topic);
    o.insert(QStringLiteral("maxim"), e.maxim);
    o.insert(QStringLiteral("citation"), Citations::text(e.text));
    o.insert(QStringLiteral("title"), MaximCorpus::topicTitle(e));
    o.insert(QStringLiteral("snippet"), index.snippet(id, query, false));
    o.insert(QStringLiteral("score"), score);
    return o;
}

// A maxim as the plain output gives it: archive, topic, number and citation, between tabs.
QString maximLine(const MaximEntry& e)
{
    return QStringLiteral("%1\t%2\t%3\t%4").arg(MaximCorpus::archiveName(e)).arg(e.topic).arg(e.maxim).arg(Citations::text(e.text));
}

// The maxims related to the one at place, as --cerca prints its hits, the reason last.
int printRelated(const QString& place, int limit, bool json, QString& out, QString& err)
{
    SearchIndex& index = SearchIndex::shared();
    const int id = relatedPlace(index, place);
    if (id < 0)
        return bad(err, QStringLiteral("nessuna massima in %1: si indica come ARCHIVIO:ARGOMENTO:MASSIMA, "
                                       "per esempio condominio:5:3").arg(place));
    RelatedMaxims related(index);
    const std::vector<RelatedMaxim> found = related.of(id, limit == 0 ? index.size() : limit);
    QJsonArray array;
    for (const RelatedMaxim& r : found) {
        if (json) {
            QJsonObject o = maximObject(index, r.id, ParsedQuery(), r.score);
            o.insert(QStringLiteral("reason"), related.reason(r));
            array.append(o);
        } else {
            out += maximLine(index.entry(r.id)) + QLatin1Char('\t') + related.reason(r) + QLatin1Char('\n');
        }
    }
    if (json) out += QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    return 0;
}
} // namespace

bool wanted(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments.at(i).startsWith(QLatin1String("--"))) return true;
    return false;
}

int run(const QStringList& arguments, QString& out, QString& err)
{
    if (const auto code = RaccolteCommands::run(arguments, out, err)) return *code;
    bool help = false, version = false;
    std::optional<QString> query, relatedTo;
    int limit = 20;
    bool limitGiven = false, formatGiven = false;
    bool json = false;
    bool thesaurus = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        auto value = [&](QString* v) {
            if (i + 1 >= arguments.size()) return false;
            *v = arguments.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--help")) help = true;
        else if (a == QLatin1String("--version")) version = true;
        else if (a == QLatin1String("--cerca")) {
            if (!value(&v)) return bad(err, QStringLiteral("--cerca vuole il testo da cercare"));
            query = v;
        } else if (a == QLatin1String("--affini")) {
            if (!value(&v)) return bad(err, QStringLiteral("--affini vuole la massima, come ARCHIVIO:ARGOMENTO:MASSIMA"));
            relatedTo = v;
        } else if (a == QLatin1String("--limite")) {
            bool ok = false;
            if (!value(&v) || (limit = v.toInt(&ok), !ok) || limit < 0)
                return bad(err, QStringLiteral("--limite vuole un numero intero non negativo"));
            limitGiven = true;
        } else if (a == QLatin1String("--formato")) {
            if (!value(&v) || (v != QLatin1String("tsv") && v != QLatin1String("json")))
                return bad(err, QStringLiteral("--formato vuole tsv oppure json"));
            json = v == QLatin1String("json");
            formatGiven = true;
        } else if (a == QLatin1String("--senza-sinonimi")) {
            thesaurus = false;
        } else {
            return bad(err, QStringLiteral("opzione non riconosciuta: ") + a);
        }
    }
    if (help) {
        out += usage();
        return 0;
    }
    if (version) {
        ModNorvelia::InitSharedState();
        out += ModNorvelia::state().ProductName + QLatin1Char(' ') + ModNorvelia::state().ProductVersion + QLatin1Char('\n');
        return 0;
    }
    if (query && relatedTo) return bad(err, QStringLiteral("--cerca e --affini non si usano insieme"));
    // The related maxims use no thesaurus: turning it off there would be a promise kept by nothing.
    if (relatedTo && !thesaurus) return bad(err, QStringLiteral("--senza-sinonimi vale solo con --cerca"));
    if (relatedTo) return printRelated(*relatedTo, limitGiven ? limit : RelatedMaxims::DefaultLimit, json, out, err);
    if (!query) {
        if (!thesaurus) return bad(err, QStringLiteral("--senza-sinonimi vale solo con --cerca"));
        if (limitGiven || formatGiven) return bad(err, QStringLiteral("--limite e --formato valgono solo con --cerca o --affini"));
        return bad(err, QStringLiteral("nessuna opzione da eseguire"));
    }

    SearchIndex& index = SearchIndex::shared();
    SearchIndex::Filters filters;
    filters.thesaurus = thesaurus;
    const SearchIndex::Result r = index.search(*query, filters);
    for (const QString& note : r.query.ignored) err += QStringLiteral("norvelia: ") + note + QLatin1Char('\n');
    for (const QString& note : SearchMessages::expansions(r.query)) err += QStringLiteral("norvelia: ") + note + QLatin1Char('\n');
    if (const int related = int(r.hits.size()) - r.found(); related > 0)
        err += QStringLiteral("norvelia: %1 massime solo in forme affini, elencate dopo le altre\n").arg(related);
    const int shown = limit == 0 ? int(r.hits.size()) : std::min(limit, int(r.hits.size()));
    QJsonArray array;
    for (int k = 0; k < shown; ++k) {
        const SearchIndex::Hit& h = r.hits[std::size_t(k)];
        if (json) array.append(maximObject(index, h.id, r.query, h.score));
        else out += maximLine(index.entry(h.id)) + QLatin1Char('\n');
    }
    if (json) out += QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace CommandLine
