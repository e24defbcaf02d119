#include "QueryTranslator.h"
#include "TextFold.h"
#include "Thesaurus.h"
#include <QRegularExpression>
#include <algorithm>

bool CitationFilter::accepts(const Citation& c, const QString& foldedPlace) const
{
    if (anyCassazione && c.family != Authority::CassazioneCivile && c.family != Authority::CassazionePenale) return false;
    if (family && c.family != *family) return false;
    if (!place.isEmpty() && foldedPlace != place) return false;
    if (!section.isEmpty() && c.section.compare(section, Qt::CaseInsensitive) != 0) return false;
    if (number && c.number != number) return false;
    if (year && c.year != year) return false;
    return true;
}

QString CitationFilter::describe() const
{
    QStringList parts;
    if (anyCassazione) parts << QStringLiteral("Cassazione");
    else if (family) parts << Citations::groupName(*family);
    if (!place.isEmpty()) parts << place;
    if (!section.isEmpty()) parts << (section == QLatin1String("Ad. plen.") ? section : QStringLiteral("sez. ") + section);
    if (number && year) parts << QStringLiteral("n. %1/%2").arg(number).arg(year);
    else if (number) parts << QStringLiteral("n. %1").arg(number);
    else if (year) parts << QString::number(year);
    return parts.join(QStringLiteral(", "));
}

bool ParsedQuery::hasRelated() const
{
    for (const QueryGroup& g : groups)
        for (const QueryTerm& t : g.alternatives)
            if (!t.related.empty()) return true;
    return false;
}

namespace QueryTranslator {

namespace {
QString romanSection(int n)
{
    static const char* roman[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    return n >= 1 && n <= 9 ? QString::fromLatin1(roman[n]) : QString();
}

// A copy of the text with letters folded and everything else kept, the same length, so that what the
// patterns find there can be blanked out of the text itself.
QString lowered(const QString& text)
{
    QString s = text;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t f = TextFold::foldChar(s.at(i).unicode());
        if (f) s[i] = QChar(f);
    }
    return s;
}

void blank(QString& text, QString& low, qsizetype start, qsizetype end)
{
    for (qsizetype i = start; i < end; ++i) text[i] = low[i] = QLatin1Char(' ');
}

struct Span {
    qsizetype start, end;
};

// The longest known place that starts at pos (after blanks), or -1.
qsizetype placeAt(const QString& low, qsizetype pos, const std::vector<QString>& places, QString* place)
{
    while (pos < low.size() && low.at(pos).isSpace()) ++pos;
    qsizetype best = -1;
    for (const QString& p : places) {
        if (p.isEmpty() || !QStringView(low).sliced(pos).startsWith(p)) continue;
        const qsizetype end = pos + p.size();
        if (end < low.size() && TextFold::foldChar(low.at(end).unicode())) continue;
        if (end > best) {
            best = end;
            *place = p;
        }
    }
    return best;
}

// The seats of the regional administrative courts, and the region each judges for: the edition's
// citations name the region, a lawyer often names the seat ("TAR Milano", "TAR Puglia, Lecce").
struct Seat {
    const char* seat;
    const char* region;
};
constexpr Seat tarSeats[] = {
    {"milano", "lombardia"},     {"brescia", "lombardia"},          {"roma", "lazio"},
    {"latina", "lazio"},         {"napoli", "campania"},            {"salerno", "campania"},
    {"bari", "puglia"},          {"lecce", "puglia"},               {"palermo", "sicilia"},
    {"catania", "sicilia"},      {"torino", "piemonte"},            {"venezia", "veneto"},
    {"firenze", "toscana"},      {"bologna", "emilia romagna"},     {"parma", "emilia romagna"},
    {"genova", "liguria"},       {"ancona", "marche"},              {"perugia", "umbria"},
    {"l'aquila", "abruzzo"},     {"pescara", "abruzzo"},            {"campobasso", "molise"},
    {"potenza", "basilicata"},   {"catanzaro", "calabria"},         {"reggio calabria", "calabria"},
    {"cagliari", "sardegna"},    {"trieste", "friuli venezia giulia"}, {"trento", "trentino alto adige"},
    {"bolzano", "trentino alto adige"}, {"aosta", "valle d aosta"},
};

// A TAR's place at pos: a region, a seat read as its region, and after a region the seat that may
// follow it (", Brescia", "- sez. staccata di Lecce", "sede di Parma"). The end of what was read, or -1.
qsizetype tarPlaceAt(const QString& low, qsizetype pos, const std::vector<QString>& places, QString* place)
{
    auto atWord = [&low](qsizetype at, const QString& w) {
        while (at < low.size() && low.at(at).isSpace()) ++at;
        if (!QStringView(low).sliced(at).startsWith(w)) return qsizetype(-1);
        const qsizetype end = at + w.size();
        return end < low.size() && TextFold::foldChar(low.at(end).unicode()) ? qsizetype(-1) : end;
    };
    qsizetype end = placeAt(low, pos, places, place);
    for (const Seat& s : tarSeats) {
        const qsizetype e = atWord(pos, QString::fromLatin1(s.seat));
        if (e > 0 && e >= end) {
            end = e;
            *place = QString::fromLatin1(s.region);
        }
    }
    if (end < 0) return -1;
    // The seat after the region.
    qsizetype at = end;
    while (at < low.size() && (low.at(at).isSpace() || low.at(at) == QLatin1Char(',') || low.at(at) == QLatin1Char('-'))) ++at;
    for (const char* lead : {"sez. staccata di", "sezione staccata di", "sede di", "sez.", ""}) {
        const qsizetype afterLead = *lead ? atWord(at, QString::fromLatin1(lead)) : at;
        if (afterLead < 0) continue;
        for (const Seat& s : tarSeats) {
            if (*place != QLatin1String(s.region)) continue;
            const qsizetype e = atWord(afterLead, QString::fromLatin1(s.seat));
            if (e > 0) return e;
        }
    }
    return end;
}

struct AuthorityPattern {
    const char* pattern;
    std::optional<Authority> family;
    bool anyCassazione;
    bool takesPlace;
    bool strong;   // an abbreviation: a citation even when nothing else of one is typed
    bool labour = false;   // "Cass. lav.": the labour section of the civil court
};

void readCitation(QString& text, QString& low, const std::vector<QString>& places, CitationFilter& f)
{
    struct Candidate {
        Span span;
        std::optional<Authority> family;
        bool anyCassazione = false;
        QString place;
        QString section;
        bool strong = false;
    };
    static const AuthorityPattern patterns[] = {
        {"\\bcass(?:azione)?\\b\\.?\\s*civ(?:ile)?\\b\\.?", Authority::CassazioneCivile, false, false, true},
        {"\\bcass(?:azione)?\\b\\.?\\s*pen(?:ale)?\\b\\.?", Authority::CassazionePenale, false, false, true},
        {"\\bcass(?:azione)?\\b\\.?\\s*lav(?:oro)?\\b\\.?", Authority::CassazioneCivile, false, false, true, true},
        {"\\bcass\\b\\.?", std::nullopt, true, false, true},
        {"\\bcassazione\\b", std::nullopt, true, false, false},
        {"\\bcons(?:iglio)?\\b\\.?\\s*(?:di\\s+)?st(?:ato)?\\b\\.?|\\bcds\\b|\\bc\\.\\s?d\\.\\s?s\\.", Authority::ConsiglioDiStato,
         false, false, true},
        {"\\b(?:corte|c\\.)\\s*cost(?:ituzionale)?\\b\\.?", Authority::CorteCostituzionale, false, false, true},
        {"\\bcorte\\s+(?:dei\\s+)?conti\\b", Authority::CorteDeiConti, false, false, true},
        {"\\bt\\.\\s?a\\.\\s?r\\.|\\btar\\b", Authority::Tar, false, true, true},
        {"\\btrib\\.(?:\\s*di\\b)?", Authority::Tribunale, false, true, true},
        {"\\btribunale\\b(?:\\s*di\\b)?", Authority::Tribunale, false, true, false},
        {"\\bapp\\.(?:\\s*di\\b)?|\\bcorte\\s+d\\s*'?\\s*app\\b\\.?(?:\\s*di\\b)?", Authority::CorteAppello, false, true, true},
        {"\\bcorte\\s+d\\s*'?\\s*appello\\b(?:\\s*di\\b)?", Authority::CorteAppello, false, true, false},
        {"\\bpret\\.(?:\\s*di\\b)?", Authority::Pretura, false, true, true},
        {"\\bpretura\\b(?:\\s*di\\b)?", Authority::Pretura, false, true, false},
    };
    static const std::vector<QRegularExpression> compiled = [] {
        std::vector<QRegularExpression> v;
        for (const AuthorityPattern& p : patterns) v.emplace_back(QString::fromLatin1(p.pattern));
        return v;
    }();

    const QString originalText = text, originalLow = low;
    // Most queries are words alone: a pattern is tried only when the word it starts with is there.
    static const char* const keys[] = {"cass", "cass", "cass", "cass", "cass", "", "cost", "conti", "t", "trib",
                                       "trib", "app", "app", "pret", "pret"};
    static_assert(std::size(keys) == std::size(patterns));
    const bool anyDigit = std::any_of(low.begin(), low.end(), [](QChar c) { return c.isDigit(); });
    std::vector<Candidate> authorities;
    for (std::size_t k = 0; k < compiled.size(); ++k) {
        if (*keys[k] && !low.contains(QLatin1String(keys[k]))) continue;
        if (!*keys[k] && !low.contains(QLatin1String("st")) && !low.contains(QLatin1String("cds")) &&
            !low.contains(QLatin1String("d.")))
            continue;
        auto it = compiled[k].globalMatch(low);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            Candidate c;
            c.span = {m.capturedStart(0), m.capturedEnd(0)};
            c.family = patterns[k].family;
            c.anyCassazione = patterns[k].anyCassazione;
            c.strong = patterns[k].strong;
            if (patterns[k].labour) c.section = QStringLiteral("lav.");
            if (patterns[k].takesPlace) {
                QString place;
                const qsizetype end = c.family == Authority::Tar ? tarPlaceAt(low, c.span.end, places, &place)
                                                                : placeAt(low, c.span.end, places, &place);
                if (end > 0) {
                    c.place = place;
                    c.span.end = end;
                    c.strong = true;   // "Tribunale di Milano" is a court, "tribunale" alone may be a word
                }
            }
            blank(text, low, c.span.start, c.span.end);
            authorities.push_back(std::move(c));
        }
    }

    bool numberFound = false;
    QString section;
    static const QRegularExpression sectionRe(
        QStringLiteral("\\bsez(?:ione|\\.)?\\s*(un(?:ite)?\\b\\.?|lav(?:oro)?\\b\\.?|[ivx]{1,4}\\b|[1-9]\\b)"));
    static const QRegularExpression plenaryRe(QStringLiteral("\\bad\\.?\\s*plen(?:aria)?\\b\\.?|\\ba\\.\\s?p\\."));
    static const QRegularExpression unitedRe(QStringLiteral("\\bs\\.\\s?u\\."));
    static const QRegularExpression unitedCapsRe(QStringLiteral("\\bSU\\b"));
    const bool sectionWords = low.contains(QLatin1String("sez"));
    if (auto m = sectionWords ? sectionRe.match(low) : QRegularExpressionMatch(); m.hasMatch()) {
        const QString s = m.captured(1);
        if (s.startsWith(QLatin1String("un"))) section = QStringLiteral("un.");
        else if (s.startsWith(QLatin1String("lav"))) section = QStringLiteral("lav.");
        else if (s.at(0).isDigit()) section = romanSection(s.toInt());
        else section = s.toUpper();
        blank(text, low, m.capturedStart(0), m.capturedEnd(0));
    }
    const bool plenaryWords = low.contains(QLatin1String("plen")) || low.contains(QLatin1String("a."));
    if (auto m = plenaryWords ? plenaryRe.match(low) : QRegularExpressionMatch(); m.hasMatch()) {
        section = QStringLiteral("Ad. plen.");
        blank(text, low, m.capturedStart(0), m.capturedEnd(0));
    }
    for (const QRegularExpression* re : {&unitedRe, &unitedCapsRe}) {
        if (!low.contains(QLatin1String("s.u")) && !low.contains(QLatin1String("s. u")) && !text.contains(QLatin1String("SU")))
            break;
        if (auto m = re->match(re == &unitedRe ? low : text); m.hasMatch()) {
            section = QStringLiteral("un.");
            blank(text, low, m.capturedStart(0), m.capturedEnd(0));
        }
    }

    static const QRegularExpression numberDelRe(QStringLiteral("\\bn\\.?\\s*(\\d{1,6})\\s+del\\s+(\\d{4})\\b"));
    static const QRegularExpression numberSlashRe(QStringLiteral("(?:\\bn\\.?\\s*)?\\b(\\d{1,6})\\s*/\\s*(\\d{4}|\\d{2})\\b"));
    static const QRegularExpression numberYearRe(QStringLiteral("\\b(\\d{1,6})\\s+(19[5-9]\\d|200[01])\\b"));
    static const QRegularExpression numberOnlyRe(QStringLiteral("\\bn\\.\\s*(\\d{1,6})\\b"));
    for (const QRegularExpression* re : {&numberDelRe, &numberSlashRe, &numberYearRe}) {
        if (numberFound || !anyDigit) break;
        if (auto m = re->match(low); m.hasMatch()) {
            f.number = m.captured(1).toInt();
            f.year = Statutes::fullYear(m.captured(2).toInt());
            numberFound = true;
            blank(text, low, m.capturedStart(0), m.capturedEnd(0));
        }
    }
    if (!numberFound && anyDigit) {
        if (auto m = numberOnlyRe.match(low); m.hasMatch()) {
            f.number = m.captured(1).toInt();
            numberFound = true;
            blank(text, low, m.capturedStart(0), m.capturedEnd(0));
        }
    }

    // A full court name alone ("ricorso per cassazione", "competenza del tribunale") is a word of the
    // text; it is a court when something else of a citation comes with it.
    const bool citationContext = numberFound || !section.isEmpty() ||
                                 std::any_of(authorities.begin(), authorities.end(), [](const Candidate& c) { return c.strong; });
    const Candidate* chosen = nullptr;
    for (const Candidate& c : authorities) {
        if (!c.strong && !citationContext) {
            // Give the words back.
            for (qsizetype i = c.span.start; i < c.span.end; ++i) {
                text[i] = originalText[i];
                low[i] = originalLow[i];
            }
            continue;
        }
        if (!chosen || (c.strong && !chosen->strong)) chosen = &c;
    }
    if (chosen) {
        f.family = chosen->family;
        f.anyCassazione = chosen->anyCassazione;
        f.place = chosen->place;
        if (!chosen->section.isEmpty() && section.isEmpty()) section = chosen->section;
    }
    f.section = section;
    if (chosen && !f.year && anyDigit) {
        static const QRegularExpression yearRe(QStringLiteral("\\b(19[5-9]\\d|200[01])\\b"));
        if (auto m = yearRe.match(low); m.hasMatch()) {
            f.year = m.captured(1).toInt();
            blank(text, low, m.capturedStart(0), m.capturedEnd(0));
        }
    }
}
} // namespace

namespace {
QueryTerm wordTerm(const std::string& folded, Stemmer& stemmer)
{
    QueryTerm t;
    t.words.push_back(folded);
    t.stem = stemmer.stem(folded);
    t.forms.push_back(TextFold::inflectionKey(folded));
    return t;
}

QueryTerm thesaurusTerm(const ThesaurusTerm& e, Stemmer& stemmer)
{
    QueryTerm t;
    if (e.statute) {
        t.statute = e.statute->key;
        t.words = e.words;
    } else if (e.words.size() == 1) {
        t = wordTerm(e.words.front(), stemmer);
    } else {
        t.words = e.words;
    }
    t.thesaurus = true;
    return t;
}
} // namespace

ParsedQuery parse(const QString& input, const std::vector<QString>& places, Stemmer& stemmer, const ParsedThesaurus* thesaurus)
{
    ParsedQuery q;
    QString text = input;
    if (text.size() > MaxLength) {
        text.truncate(MaxLength);
        q.ignored << QStringLiteral("testo troppo lungo: letti i primi %1 caratteri").arg(MaxLength);
    }
    bool controls = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029 || QChar::isSurrogate(c)) {
            controls = controls || (c != '\t' && c != '\n' && c != '\r');
            text[i] = QLatin1Char(' ');
        }
    }
    if (controls) q.ignored << QStringLiteral("caratteri di controllo ignorati");

    QString low = lowered(text);
    for (const StatuteMatch& s : Statutes::find(text)) {
        if (std::none_of(q.statutes.begin(), q.statutes.end(), [&](const StatuteRef& r) { return r.key == s.ref.key; }))
            q.statutes.push_back(s.ref);
        blank(text, low, s.start, s.end);
    }
    readCitation(text, low, places, q.citation);

    // Words, phrases, exclusions and "O" between alternatives.
    struct Item {
        bool isOr = false;
        bool exclude = false;
        QueryTerm term;
        std::vector<QueryTerm> extra{};   // the thesaurus's alternatives
        bool merged = false;              // a later word of a term of today, part of the item before it
    };
    std::vector<Item> items;
    QStringList stopwords;
    bool loneSign = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isQuote = [](QChar c) { return c == QLatin1Char('"') || c == QChar(0x201C) || c == QChar(0x201D) || c == QChar(0xAB) || c == QChar(0xBB); };
    while (i < n) {
        if (text.at(i).isSpace()) {
            ++i;
            continue;
        }
        bool exclude = false;
        if (text.at(i) == QLatin1Char('-') && i + 1 < n && !text.at(i + 1).isSpace()) {
            exclude = true;
            ++i;
        }
        if (isQuote(text.at(i))) {
            qsizetype close = i + 1;
            while (close < n && !isQuote(text.at(close))) ++close;
            if (close >= n) q.ignored << QStringLiteral("virgolette non chiuse: la frase arriva alla fine del testo");
            QueryTerm t;
            t.quoted = true;
            for (TextFold::Word& w : TextFold::words(QStringView(text).sliced(i + 1, close - i - 1))) t.words.push_back(std::move(w.folded));
            if (!t.words.empty()) items.push_back({false, exclude, std::move(t), {}, false});
            i = close + 1;
            continue;
        }
        qsizetype end = i;
        while (end < n && !text.at(end).isSpace() && !isQuote(text.at(end))) ++end;
        const QString token = text.mid(i, end - i);
        i = end;
        if (!exclude && (token == QLatin1String("O") || token == QLatin1String("OR") || token == QLatin1String("o") ||
                         token == QLatin1String("or"))) {
            items.push_back({true, false, {}, {}, false});
            continue;
        }
        const bool prefix = token.endsWith(QLatin1Char('*'));
        std::vector<TextFold::Word> words = TextFold::words(token);
        if (words.empty()) {
            if (token.contains(QLatin1Char('*')) || token.contains(QLatin1Char('-')) || exclude) loneSign = true;
            continue;
        }
        for (std::size_t k = 0; k < words.size(); ++k) {
            const bool last = k + 1 == words.size();
            if (TextFold::isStopword(words[k].folded) && !(prefix && last)) {
                stopwords << QString::fromStdString(words[k].folded);
                continue;
            }
            QueryTerm t;
            if (prefix && last) {
                t.words.push_back(words[k].folded);
                t.prefix = true;
            } else {
                t = wordTerm(words[k].folded, stemmer);
            }
            items.push_back({false, exclude, std::move(t), {}, false});
        }
    }
    if (loneSign) q.ignored << QStringLiteral("segni isolati ignorati");

    // Terms of today among the plain words typed in a row, the longest first.
    if (thesaurus && !thesaurus->groups.empty()) {
        auto plain = [](const Item& it) { return !it.isOr && !it.exclude && !it.term.quoted && !it.term.prefix; };
        for (std::size_t k = 0; k < items.size();) {
            if (!plain(items[k])) {
                ++k;
                continue;
            }
            std::size_t end = k;
            std::vector<std::string> keys;
            while (end < items.size() && plain(items[end])) keys.push_back(items[end++].term.forms.front());
            for (std::size_t at = 0; at < keys.size();) {
                const ParsedThesaurus::Match m = thesaurus->longestAt(keys, at);
                if (!m.length) {
                    ++at;
                    continue;
                }
                const ThesaurusGroup& g = thesaurus->groups[std::size_t(m.group)];
                const ThesaurusTerm& today = g.today[std::size_t(m.term)];
                Item& first = items[k + at];
                if (m.length > 1) {
                    // Several words of a term of today are that term, as a phrase.
                    QueryTerm phrase;
                    phrase.words = today.words;
                    first.term = std::move(phrase);
                    for (std::size_t j = 1; j < std::size_t(m.length); ++j) items[k + at + j].merged = true;
                    // The function words of the term were read as part of it, not ignored.
                    for (const std::string& w : today.words) stopwords.removeAll(QString::fromStdString(w));
                }
                Expansion e;
                e.today = today.text;
                e.statute = g.statute;
                // The other terms of today are searched too: "SCIA" finds a maxim that spells it out.
                for (const std::vector<ThesaurusTerm>* side : {&g.today, &g.edition}) {
                    for (const ThesaurusTerm& other : *side) {
                        if (&other == &today) continue;
                        first.extra.push_back(thesaurusTerm(other, stemmer));
                        if (side == &g.edition) e.added << other.text;
                    }
                }
                if (std::none_of(q.expansions.begin(), q.expansions.end(), [&](const Expansion& x) { return x.today == e.today; }))
                    q.expansions.push_back(std::move(e));
                at += std::size_t(m.length);
            }
            k = end;
        }
        std::erase_if(items, [](const Item& it) { return it.merged; });
    }

    if (!stopwords.isEmpty()) {
        stopwords.removeDuplicates();
        q.ignored << QStringLiteral("parole comuni ignorate: ") + stopwords.join(QStringLiteral(", "));
    }

    bool loneOr = false;
    int terms = 0;
    bool tooMany = false;
    for (std::size_t k = 0; k < items.size(); ++k) {
        Item& it = items[k];
        if (it.isOr) continue;
        if (terms >= MaxTerms) {
            tooMany = true;
            break;
        }
        ++terms;
        if (it.exclude) {
            q.excluded.push_back(std::move(it.term));
            continue;
        }
        const bool joinsPrevious = k > 0 && items[k - 1].isOr && k >= 2 && !items[k - 2].isOr && !items[k - 2].exclude &&
                                   !q.groups.empty();
        if (!joinsPrevious) q.groups.emplace_back();
        q.groups.back().alternatives.push_back(std::move(it.term));
        for (QueryTerm& t : it.extra) q.groups.back().alternatives.push_back(std::move(t));
    }
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (!items[k].isOr) continue;
        const bool before = k > 0 && !items[k - 1].isOr && !items[k - 1].exclude;
        const bool after = k + 1 < items.size() && !items[k + 1].isOr && !items[k + 1].exclude;
        if (!before || !after) loneOr = true;
    }
    if (loneOr) q.ignored << QStringLiteral("\"O\" senza una parola ai due lati ignorato");
    if (tooMany) q.ignored << QStringLiteral("troppe parole: lette le prime %1").arg(MaxTerms);
    if (q.groups.empty() && !q.excluded.empty() && q.citation.empty() && q.statutes.empty())
        q.ignored << QStringLiteral("solo esclusioni: indicare anche che cosa cercare");
    if (q.empty() && q.ignored.isEmpty() && !input.trimmed().isEmpty())
        q.ignored << QStringLiteral("nessuna parola da cercare");
    return q;
}

namespace {
std::string quotedWords(const std::vector<std::string>& words)
{
    std::string s = "\"";
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i) s += ' ';
        s += words[i];
    }
    return s + '"';
}
} // namespace

std::string statuteToken(const std::string& key)
{
    std::string s = key;
    for (char& c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) c = 'x';
    return s;
}

std::string term(const QueryTerm& t, Reach reach)
{
    if (!t.statute.empty()) return "norme : \"" + statuteToken(t.statute) + '"';
    if (t.quoted || t.words.size() != 1) return "exact : " + quotedWords(t.words);
    if (t.prefix) return "exact : " + quotedWords(t.words) + " *";
    std::string s = "(exact : " + quotedWords(t.words);
    for (const std::string& k : t.forms) s += " OR forma : \"" + k + '"';
    if (reach == Reach::Related)
        for (const std::string& w : t.related) s += " OR exact : \"" + w + '"';
    return s + ')';
}

std::string group(const QueryGroup& g, Reach reach)
{
    std::vector<const QueryTerm*> shown;
    for (const QueryTerm& t : g.alternatives)
        if (reach != Reach::Typed || !t.thesaurus) shown.push_back(&t);
    if (shown.size() == 1) return term(*shown.front(), reach);
    std::string s = "(";
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i) s += " OR ";
        s += term(*shown[i], reach);
    }
    return s + ')';
}

std::string allOf(const std::vector<QueryGroup>& groups, Reach reach)
{
    std::string s;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i) s += " AND ";
        s += group(groups[i], reach);
    }
    return s;
}

std::string anyOf(const std::vector<QueryTerm>& terms)
{
    std::string s;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (i) s += " OR ";
        s += term(terms[i], Reach::Typed);
    }
    return s;
}

std::string expression(const ParsedQuery& q, Reach reach)
{
    if (!q.hasWords()) return std::string();
    std::string expr = allOf(q.groups, reach);
    if (!q.excluded.empty()) expr = "(" + expr + ") NOT (" + anyOf(q.excluded) + ")";
    return expr;
}

} // namespace QueryTranslator
