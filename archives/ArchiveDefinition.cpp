#include "ArchiveDefinition.h"
#include <numeric>

namespace {
const TopicDef ediliziaTopics[] = {
    {"Abitazione, uso", 8},
    {"Abuso edilizio, reati, assenso, sanatoria", 17},
    {"Agevolazioni tributarie, mutuo", 2},
    {"Autorizzazione edilizia, manutenzione", 14},
    {"Barriere architettoniche", 2},
    {"Concessione edilizia", 62},
    {"Compravendita", 7},
    {"Comunioni, divisioni, successioni", 4},
    {"Confini, appoggio, sconfinamento", 48},
    {"Costruzione", 17},
    {"Destinazione d'uso", 13},
    {"Difformità, varianti, deroghe", 10},
    {"Diritti", 20},
    {"Distanze", 62},
    {"Fognature, stillicidio", 3},
    {"Impugnative, ricorsi, controversie", 16},
    {"Interno", 2},
    {"Locazione di immobili", 6},
    {"Luci, vedute", 63},
    {"Muro di cinta, recinzioni, muro comune", 13},
    {"Ordinanze, demolizioni, sindaco", 34},
    {"Pertinenze, parcheggi", 4},
    {"Piscina, impianti sportivi", 3},
    {"Proprietà", 75},
    {"Ricostruzioni, consolidamenti, ristrutturazioni", 11},
    {"Servitù", 135},
    {"Sopraelevazioni, ampliamenti, trasformazioni", 16},
    {"Sporti, balconi", 17},
    {"Usucapione", 147},
    {"Valore degli immobili", 5},
    {"Vincolo paesaggistico, tutela ambientale", 6},
    {"Voltura", 7},
    {"Volumi tecnici", 7},
};

const TopicDef urbanisticaTopics[] = {
    {"Acque", 49},
    {"Ambiente", 1},
    {"Azioni giudiziarie", 1},
    {"...", 0},
    {"...", 0},
    {"Catasto", 2},
    {"...", 0},
    {"Demanio", 5},
    {"Diritti, obbligazioni", 3},
    {"Discarica", 4},
    {"Distanze", 1},
    {"Edilizia residenziale", 0},
    {"Elettricità", 4},
    {"...", 0},
    {"...", 0},
    {"...", 0},
    {"...", 0},
    {"Fiumi, laghi", 4},
    {"Fognature", 1},
    {"...", 0},
    {"Fondi rustici", 19},
    {"Impianti, sport", 3},
    {"Indice di fabbricabilità", 1},
    {"Inquinamento", 1},
    {"Lottizzazioni", 13},
    {"Occupazione d'urgenza", 2},
    {"Oneri di urbanizzazione", 1},
    {"Opere di urbanizzazione", 2},
    {"Ordinanze sindacali", 1},
    {"Piani urbanistici", 3},
    {"Risarcimento del danno", 4},
    {"Sciopero", 3},
    {"Trasporti", 3},
    {"Turismo", 1},
    {"Verde pubblico", 1},
    {"Vincoli urbanistici", 5},
};

const TopicDef espropriazioniTopics[] = {
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {".....", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"Edilizia economica e popolare", 2},
    {"..", 0},
    {"Espropriazioni presso terzi", 1},
    {"..", 0},
    {"Indennità", 6},
    {"..", 0},
    {"..", 0},
    {"Occupazione d'urgenza", 1},
    {"..", 0},
    {"Risarcimento del danno", 6},
    {"..", 0},
    {"..", 0},
    {"..", 0},
    {"....", 0},
    {"..", 0},
    {"..", 0},
    {"..", 0},
};

const TopicDef professionistiTopics[] = {
    {"...", 0},
    {"Albo professionale", 1},
    {"..", 0},
    {"..", 0},
    {"...", 0},
    {"..", 0},
    {"Arricchimento senza causa", 7},
    {"Avvocati", 2},
    {"Azioni giudiziarie", 9},
    {"Brevetti", 1},
    {"Cliente", 1},
    {"Collaudo", 1},
    {"Competenze professionali", 3},
    {"Consulente tecnico", 9},
    {"Contratto, leasing", 1},
    {"Crediti", 4},
    {"Firma", 1},
    {"Geometri", 3},
    {"Incarico", 9},
    {"Nomina", 1},
    {"Notai", 5},
    {"Notifica", 1},
    {"Pignoramento", 2},
    {"Praticantato", 1},
    {"Prescrizione", 1},
    {"Progetto", 1},
    {"Redditi, IVA", 4},
    {"Responsabilità", 3},
    {"Riscatto corso di laurea", 1},
    {"S.A.L.", 1},
    {"Società di ingegneria", 1},
    {"...", 0},
    {"Tariffe, onorari, compensi", 44},
    {"Transazione", 1},
    {"..", 0},
    {"Varie", 0},
};

const TopicDef condominioTopics[] = {
    {"Abbaini, mansarde, tetto", 11},
    {"Abitabilità", 2},
    {"Abuso", 5},
    {"Acqua potabile", 6},
    {"Amministratore", 24},
    {"Animali", 11},
    {"Antenna", 18},
    {"Appalto", 10},
    {"Ascensore", 18},
    {"Assemblea", 62},
    {"Assicurazione", 10},
    {"Automezzi", 31},
    {"Azioni giudiziarie", 27},
    {"Balconi", 8},
    {"Barriere architettoniche", 11},
    {"Canne fumarie", 2},
    {"Compravendita, proprietà, locazioni", 18},
    {"Danni, difetti e riparazioni", 10},
    {"Distanze", 4},
    {"Facciate dell'edificio", 24},
    {"Fognature e pluviali", 9},
    {"Giardini, cortili, viali, passi carrabili", 16},
    {"Impermeabilizzazioni", 4},
    {"Innovazioni, sopraelevazioni", 4},
    {"Lastrico solare, terrazza", 17},
    {"Portierato", 13},
    {"Responsabilità civile, immissioni moleste", 17},
    {"Ripartizione delle spese", 21},
    {"Riscaldamento centrale", 34},
    {"Scale", 13},
    {"Soffitti, volte e solai", 11},
    {"Spese amministrative, spese urgenti", 7},
    {"Suolo, recinzioni, muri, intercapedini", 10},
    {"Tabelle millesimali, revisione, regolamento", 24},
    {"Usufrutto, usucapione", 17},
    {"Varie (comunione, conto corrente)", 3},
};

const TopicDef entiTopics[] = {
    {"...", 0},
    {"...", 0},
    {"Abusi, omissioni, reati", 9},
    {"Accesso ai documenti", 11},
    {"...", 0},
    {"...", 0},
    {"...", 0},
    {"Appalti, gare, contratti", 16},
    {"Atto notorio", 2},
    {"...", 0},
    {"...", 0},
    {"...", 0},
    {"Azioni giudiziarie", 13},
    {"...", 0},
    {"Collaudo", 2},
    {"Concorso", 1},
    {"Corte dei Conti", 4},
    {"Dipendenti", 18},
    {"Dirigenti, quadri", 6},
    {"Diritti, poteri", 3},
    {"...", 0},
    {"Incaricati di pubblico servizio, pubblici ufficiali", 6},
    {"Indennità", 1},
    {"Invalidi civili", 1},
    {"Opere pubbliche, militari", 7},
    {"Pagamenti", 1},
    {"Procedimento", 8},
    {"Promozioni", 1},
    {"Pubblica utilità", 2},
    {"Risarcimento del danno", 7},
    {"Sindaco", 1},
    {"Somme immobilizzate", 2},
    {"Stato di dissesto", 1},
    {"...", 0},
    {"Trasformazioni in spa", 1},
    {"Turbativa", 1},
};

const TopicDef impreseTopics[] = {
    {"Accertamenti, legittimità, reati", 4},
    {"Appalto, bando, gara", 25},
    {"Arbitrato", 4},
    {"Assistenza e previdenza", 29},
    {"Associazione di imprese", 2},
    {"Assunzione", 5},
    {"...", 0},
    {"...", 0},
    {"...", 0},
    {"Bilancio, comunicazioni sociali", 5},
    {"...", 0},
    {"Cassa integrazione, mobilità, licenziamento", 29},
    {"Cauzione, fideiussione", 2},
    {"Collaudo", 0},
    {"Contratto", 9},
    {"Cooperative", 4},
    {"Crediti, anticipazioni, indennizzi", 10},
    {"Fallimento, insolvenza", 14},
    {"Ferie, indennità, malattia, aspettativa", 7},
    {"Imposte, tasse", 4},
    {"Impresa artigiana, agenzia", 2},
    {"Infortuni", 10},
    {"Institori, procuratori, liti", 11},
    {"Invalidi, inabili", 6},
    {"Invenzioni", 1},
    {"Mansioni, dirigenti, qualifica", 14},
    {"Penale", 2},
    {"Recesso, dimissioni, sospensioni", 6},
    {"Risarcimento danni, vizi e difetti", 25},
    {"Riserve, revisione prezzi", 11},
    {"Salute e sicurezza dei lavoratori", 7},
    {"Sindacati, sciopero", 6},
    {"Sponsor", 2},
    {"Stato di avanzamento dei lavori", 1},
    {"Trasferimento", 5},
    {"Varie", 2},
};

const ArchiveDefinition definitions[Archives::Count] = {
    {"edilizia", "Norvelia: edilizia", 2, "Edilizia", "guidaedilizia", "Edilizia",
     " massime riguardanti l'edilizia suddivise in 33 argomenti", "Massime sull'edilizia: ", 33, 150,
     false, false, false, false, false, 126, true, ediliziaTopics},
    {"urbanistica", "Norvelia: urbanistica", 3, "Urbanistica", "guidaurbanistica", "Urbanistica",
     " massime riguardanti le problematiche di urbanistica", "Massime sull'urbanistica: ", 36, 100,
     false, false, false, false, true, 126, true, urbanisticaTopics},
    {"espropriazioni", "Norvelia: espropriazioni", 4, "Espropriazioni", "guidaespropriazioni", "Espropriazioni",
     " massime sull'espropriazione per pubblica utilità", "Massime sulle espropriazioni: ", 36, 100,
     true, true, true, true, false, 126, false, espropriazioniTopics},
    {"professionisti", "Norvelia: professionisti", 5, "Professionisti", "guidaprofessionisti", "Professionisti",
     " massime riguardanti i professionisti dell'edilizia", "Massime sui professionisti: ", 36, 100,
     false, false, false, false, false, 126, true, professionistiTopics},
    {"condominio", "Norvelia: condominio", 6, "Condominio", "guidacondominio", "Condominio",
     " massime riguardanti il condominio suddivise in 36 argomenti", "Massime sul condominio: ", 36, 100,
     false, false, true, false, false, 126, true, condominioTopics},
    {"enti", "Norvelia: enti", 7, "Enti", "guidaenti", "Enti",
     " massime riguardanti gli enti territoriali", "Massime sugli enti: ", 36, 100,
     false, false, false, false, false, 126, true, entiTopics},
    {"imprese", "Norvelia: imprese, appalti, lavoro", 8, "Imprese", "guidaimprese", "Imprese, appalti, lavoro",
     " massime riguardanti le imprese, gli appalti, il lavoro", "Massime sulle imprese: ", 36, 100,
     false, false, false, false, false, 125, true, impreseTopics},
};

QString noun(bool sentenze) { return sentenze ? QStringLiteral("sentenze") : QStringLiteral("massime"); }
} // namespace

int ArchiveDefinition::totalMaxims() const
{
    return std::accumulate(topics.begin(), topics.end(), 0, [](int s, const TopicDef& t) { return s + t.maxims; });
}

QString ArchiveDefinition::totalEnding() const { return QLatin1Char(' ') + noun(totalSentenze) + QStringLiteral(" totali"); }

QString ArchiveDefinition::instruction() const
{
    return QStringLiteral("scegliere l'argomento di cui si vuole visualizzare le ") + noun(instructionSentenze) +
           QStringLiteral(" disponibili");
}

QString ArchiveDefinition::countEnding() const
{
    return QLatin1Char(' ') + noun(countEndingSentenze) + QStringLiteral(" relative all'argomento scelto");
}

QString ArchiveDefinition::pastLastLine() const
{
    return QStringLiteral("     ----- non esistono altre ") + noun(pastLastSentenze) +
           QStringLiteral(" da visualizzare sull'argomento -----");
}

QString ArchiveDefinition::contaToolTip() const
{
    return QStringLiteral("numero della ") + (contaSentenza ? QStringLiteral("sentenza") : QStringLiteral("massima")) +
           QStringLiteral(" dell'argomento scelto");
}

QString ArchiveDefinition::finestraCaption() const
{
    return QString(finestraBlanks, QLatin1Char(' ')) + QStringLiteral("Fi&nestra n.") + QString::number(windowNumber) +
           QStringLiteral(" di 8");
}

QString ArchiveDefinition::ownWindowQuestion() const
{
    return QStringLiteral("E' questa la finestra '") + QString::fromUtf8(helpQuestionName) +
           QStringLiteral("': si vuole la guida della finestra?");
}

namespace Archives {
std::span<const ArchiveDefinition> all() { return definitions; }

int indexOf(const QString& formName)
{
    for (int i = 0; i < Count; ++i)
        if (formName == QLatin1String(definitions[i].formName)) return i;
    return -1;
}

const ArchiveDefinition* find(const QString& formName)
{
    const int i = indexOf(formName);
    return i < 0 ? nullptr : &definitions[i];
}
} // namespace Archives
