#include "SearchMessages.h"
#include "Thesaurus.h"
#include <QLocale>

namespace SearchMessages {

QStringList expansions(const ParsedQuery& q)
{
    QStringList out;
    for (const Expansion& e : q.expansions) {
        if (e.added.isEmpty()) continue;
        out << QStringLiteral("Cercato anche: %1 (oggi %2, %3)").arg(e.added.join(QStringLiteral(", ")), e.today, e.statute);
    }
    return out;
}

QString countLine(const SearchIndex::Result& r, double milliseconds)
{
    if (r.query.empty()) return QStringLiteral("Scrivere le parole, la frase o la citazione da cercare");
    const QLocale it(QLocale::Italian, QLocale::Italy);
    const QString time = QStringLiteral(" (") + it.toString(milliseconds, 'f', 1) + QStringLiteral(" ms)");
    const int found = r.found();
    const int related = int(r.hits.size()) - found;
    if (r.partial)
        return QStringLiteral("Nessuna massima contiene tutte le parole: ecco quelle che ne contengono di più (%1)").arg(found) + time;
    QString line = found == 1 ? QStringLiteral("1 massima trovata") : QStringLiteral("%1 massime trovate").arg(found);
    if (related == 1) line += QStringLiteral(", e 1 in forme affini");
    else if (related > 1) line += QStringLiteral(", e %1 in forme affini").arg(related);
    return line + time;
}

QStringList unmatchedParts(const SearchIndex& index, const ParsedQuery& q)
{
    QStringList out;
    // A statute no maxim cites, or a ruling that is not in the edition.
    for (const StatuteRef& s : q.statutes) {
        bool cited = false;
        for (int sid = 0; sid < index.statuteCount() && !cited; ++sid) cited = index.statute(sid).key == s.key;
        if (!cited) out << QStringLiteral("la norma %1 non è citata in nessuna massima").arg(s.label);
    }
    if (!q.citation.empty()) {
        bool any = false;
        for (int id = 0; id < index.size() && !any; ++id) {
            const MaximEntry& e = index.entry(id);
            any = e.cited && q.citation.accepts(e.citation, QString::fromStdString(TextFold::foldedText(e.citation.place)));
        }
        if (!any) out << QStringLiteral("nessuna sentenza dell'edizione corrisponde alla citazione %1").arg(q.citation.describe());
    }
    return out;
}

Suggestions noHit(const ParsedQuery& q, const ParsedThesaurus* thesaurus)
{
    Suggestions s;
    s.edition = QStringLiteral("L'edizione raccoglie sentenze fino al 2001: una norma o un termine più recenti vi "
                               "compaiono con il nome di allora.");
    std::vector<std::string> typedKeys;
    for (const QueryGroup& g : q.groups) {
        for (const QueryTerm& t : g.alternatives) {
            if (t.thesaurus) continue;
            const QString words = QString::fromStdString([&] {
                std::string w;
                for (const std::string& x : t.words) w += (w.empty() ? "" : " ") + x;
                return w;
            }());
            if (!words.isEmpty() && !s.words.contains(words)) s.words << words;
            for (const std::string& w : t.words)
                if (!TextFold::isStopword(w)) typedKeys.push_back(TextFold::inflectionKey(w));
        }
    }
    if (s.words.size() < 2) s.words.clear();   // one word alone is the query already
    if (thesaurus) {
        // Groups that share a word with the query, today's side or the edition's.
        for (const ThesaurusGroup& g : thesaurus->groups) {
            bool near = false;
            for (const std::vector<ThesaurusTerm>* side : {&g.today, &g.edition})
                for (const ThesaurusTerm& t : *side)
                    for (const std::string& k : t.keys)
                        near = near || std::find(typedKeys.begin(), typedKeys.end(), k) != typedKeys.end();
            if (!near) continue;
            QStringList today, edition;
            for (const ThesaurusTerm& t : g.today) today << t.text;
            for (const ThesaurusTerm& t : g.edition) edition << t.text;
            s.thesaurus << QStringLiteral("%1: nelle massime %2").arg(today.join(QStringLiteral(", ")), edition.join(QStringLiteral(", ")));
            if (s.thesaurus.size() >= 5) break;
        }
    }
    return s;
}

} // namespace SearchMessages
