#include "Thesaurus.h"
#include "TextFold.h"
#include <QFile>
#include <memory>

ParsedThesaurus::Match ParsedThesaurus::longestAt(const std::vector<std::string>& keys, std::size_t at) const
{
    Match best;
    for (int g = 0; g < int(groups.size()); ++g) {
        const std::vector<ThesaurusTerm>& today = groups[std::size_t(g)].today;
        for (int t = 0; t < int(today.size()); ++t) {
            const std::vector<std::string>& k = today[std::size_t(t)].keys;
            if (k.empty() || int(k.size()) <= best.length || at + k.size() > keys.size()) continue;
            if (std::equal(k.begin(), k.end(), keys.begin() + std::ptrdiff_t(at))) best = {g, t, int(k.size())};
        }
    }
    return best;
}

namespace Thesaurus {

namespace {
constexpr int MaxLine = 2000;   // characters: a longer line is not a group someone wrote

// A term as the search needs it; an error text when it cannot be one.
QString readTerm(const QString& written, ThesaurusTerm& t)
{
    t.text = written.simplified();
    if (t.text.isEmpty()) return QStringLiteral("termine vuoto");
    const std::vector<StatuteMatch> statutes = Statutes::find(t.text);
    if (statutes.size() == 1 && statutes.front().start == 0 && statutes.front().end >= t.text.trimmed().size() - 1)
        t.statute = statutes.front().ref;
    for (TextFold::Word& w : TextFold::words(t.text)) {
        if (!TextFold::isStopword(w.folded)) t.keys.push_back(TextFold::inflectionKey(w.folded));
        t.words.push_back(std::move(w.folded));
    }
    if (t.words.empty()) return QStringLiteral("termine senza parole: ") + t.text;
    if (t.keys.empty() && !t.statute) return QStringLiteral("termine di sole parole comuni: ") + t.text;
    return QString();
}

QString readTerms(const QString& field, std::vector<ThesaurusTerm>& out)
{
    for (const QString& part : field.split(QLatin1Char(';'))) {
        ThesaurusTerm t;
        const QString error = readTerm(part, t);
        if (!error.isEmpty()) return error;
        out.push_back(std::move(t));
    }
    return QString();
}
} // namespace

ParsedThesaurus parse(QByteArrayView utf8)
{
    ParsedThesaurus out;
    const QString all = QString::fromUtf8(utf8);
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (n == 0 && line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        auto fail = [&](const QString& why) { out.errors << QStringLiteral("riga %1: %2").arg(n + 1).arg(why); };
        if (line.size() > MaxLine) {
            fail(QStringLiteral("riga troppo lunga"));
            continue;
        }
        const QStringList fields = line.split(QStringLiteral(" | "));
        if (fields.size() != 4) {
            fail(QStringLiteral("attesi quattro campi separati da \" | \", trovati %1").arg(fields.size()));
            continue;
        }
        ThesaurusGroup g;
        g.line = n + 1;
        QString error = readTerms(fields.at(0), g.today);
        if (error.isEmpty()) error = readTerms(fields.at(1), g.edition);
        if (!error.isEmpty()) {
            fail(error);
            continue;
        }
        if (std::any_of(g.today.begin(), g.today.end(), [](const ThesaurusTerm& t) { return t.keys.empty(); })) {
            fail(QStringLiteral("un termine di oggi deve avere parole da riconoscere"));
            continue;
        }
        g.statute = fields.at(2).simplified();
        if (g.statute.isEmpty()) {
            fail(QStringLiteral("manca la norma della modifica"));
            continue;
        }
        g.date = QDate::fromString(fields.at(3).trimmed(), Qt::ISODate);
        if (!g.date.isValid()) {
            fail(QStringLiteral("data non valida: %1 (si scrive AAAA-MM-GG)").arg(fields.at(3).trimmed()));
            continue;
        }
        out.groups.push_back(std::move(g));
    }
    return out;
}

namespace {
struct State {
    std::optional<QByteArray> override;
    std::unique_ptr<ParsedThesaurus> parsed;
};
State& state()
{
    static State s;
    return s;
}
} // namespace

QByteArray bytes()
{
    if (state().override) return *state().override;
    QFile f(QStringLiteral(":/search/thesaurus.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const ParsedThesaurus& shared()
{
    State& s = state();
    if (!s.parsed) s.parsed = std::make_unique<ParsedThesaurus>(parse(bytes()));
    return *s.parsed;
}

void setOverride(const QByteArray& utf8)
{
    state().override = utf8;
    state().parsed.reset();
}

void clearOverride()
{
    state().override.reset();
    state().parsed.reset();
}

} // namespace Thesaurus
