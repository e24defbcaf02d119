#include "ArchiveValidation.h"
#include <QHash>
#include <QRegularExpression>

QString Citation::numberRegister() const
{
    if ((authority == QLatin1String("Cassazione civile") && section != QLatin1String("un.")) || section.isEmpty())
        return authority;
    return authority + QStringLiteral(", ") + section;
}

QString CitedMaxim::place() const
{
    return QStringLiteral("%1 topic %2 maxim %3").arg(archive).arg(topic).arg(maxim);
}

namespace ArchiveValidation {

bool allowedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F) return true;
    static const QString extra = QStringLiteral("àèéìòùÉÈ°«»‘’");
    return extra.contains(c);
}

namespace {
const QString& monthNames()
{
    static const QString months =
        QStringLiteral("gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|novembre|dicembre");
    return months;
}

int monthNumber(const QString& name)
{
    return int(monthNames().split(QLatin1Char('|')).indexOf(name)) + 1;
}

// The date of Easter Sunday in the Gregorian calendar (the anonymous algorithm).
QDate easter(int year)
{
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4, f = (b + 8) / 25;
    const int g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
    return QDate(year, (h + l - 7 * m + 114) / 31, (h + l - 7 * m + 114) % 31 + 1);
}

// The first act (statute, decree, judgment) the text names with a date or year later than the ruling's.
QString laterAct(const QString& text, const QDate& ruling)
{
    // An act named by its full date: the date follows the act's kind at once, as in "legge 28 febbraio
    // 1985 n. 47" or "r.d. 11 dicembre 1933"; a date that no act's name leads ("entro il 15 settembre")
    // is a time limit, which may well lie ahead of the ruling.
    static const QRegularExpression dated(
        QStringLiteral("(?:^|[\\s(])(?:legge(?: quadro| unica| regionale \\w+)?|leggi|testo unico|t\\.u\\.|sentenza|decreto|"
                       "[dr]\\.[A-Za-z.]*\\.) (\\d{1,2})°? (") +
        monthNames() + QStringLiteral(") (\\d{4})"));
    // An act named by number and year ("legge n. 241 del 1990") or by year alone ("la legge del 2001").
    static const QRegularExpression byYear(QStringLiteral("(?:n\\. \\d+|legge|decreto) del (\\d{4})"));
    for (auto it = dated.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QDate act(m.captured(3).toInt(), monthNumber(m.captured(2)), m.captured(1).toInt());
        if (act > ruling) return m.captured(0).trimmed();
    }
    for (auto it = byYear.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).toInt() > ruling.year()) return m.captured(0);
    }
    return {};
}

QString describe(const Citation& c)
{
    QString s = c.authority;
    if (c.section == QLatin1String("Ad. plen.")) s += QStringLiteral(", ") + c.section;
    else if (!c.section.isEmpty()) s += QStringLiteral(", sez. ") + c.section;
    return s + QStringLiteral(", ") + c.date.toString(Qt::ISODate);
}
} // namespace

std::optional<Citation> citation(const QString& text, QString* why)
{
    static const QRegularExpression re(
        QStringLiteral(" - \\((Cassazione civile|Cassazione penale|Consiglio di Stato|Corte costituzionale|Corte dei conti|"
                       "TAR [A-Z][\\w' ]+|Tribunale (?:di )?[A-Z][\\w' ]+|Corte d'appello (?:di )?[A-Z][\\w' ]+|"
                       "Pretura (?:di )?[A-Z][\\w' ]+)"
                       "(?:, sez\\. ([IVXL]+|[A-Z]|un\\.|lav\\.)|, (Ad\\. plen\\.))?, (\\d{1,2}) (") +
            monthNames() + QStringLiteral(") (\\d{4})(?:, n\\. (\\d+))?\\)$"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) {
        if (why) *why = QStringLiteral("no citation in the form \" - (Authority[, sez. X], day month year[, n. N])\"");
        return std::nullopt;
    }
    const int day = m.captured(4).toInt();
    const int year = m.captured(6).toInt();
    if (year < 1950 || year > 2001) {
        if (why) *why = QStringLiteral("citation year %1 outside 1950-2001").arg(year);
        return std::nullopt;
    }
    Citation c;
    c.date = QDate(year, monthNumber(m.captured(5)), day);
    if (!c.date.isValid()) {
        if (why) *why = QStringLiteral("citation date %1 %2 %3 does not exist").arg(day).arg(m.captured(5)).arg(year);
        return std::nullopt;
    }
    c.authority = m.captured(1);
    c.section = m.hasCaptured(2) ? m.captured(2) : m.captured(3);
    c.number = m.captured(7).toInt();
    return c;
}

bool hasCitation(const QString& text, bool* section, bool* number, QString* why)
{
    const std::optional<Citation> c = citation(text, why);
    if (!c) return false;
    if (section) *section = !c->section.isEmpty();
    if (number) *number = c->number != 0;
    return true;
}

bool sittingDay(const QDate& date)
{
    if (date.dayOfWeek() == Qt::Sunday) return false;
    static const int holidays[][2] = {{1, 1}, {6, 1}, {25, 4}, {1, 5}, {15, 8}, {1, 11}, {8, 12}, {25, 12}, {26, 12}};
    for (const auto& h : holidays)
        if (date.day() == h[0] && date.month() == h[1]) return false;
    // The Republic's day was kept on the first Sunday of June from 1977 to 2000.
    if (date.day() == 2 && date.month() == 6 && (date.year() < 1977 || date.year() > 2000)) return false;
    return date != easter(date.year()).addDays(1);
}

QStringList citationFaults(const QString& text, const Citation& c)
{
    QStringList faults;
    const QString ruling = c.date.toString(Qt::ISODate);
    const QString act = laterAct(text.left(text.lastIndexOf(QLatin1String(" - ("))), c.date);
    if (!act.isEmpty()) faults << QStringLiteral("\"%1\" is later than the ruling of %2").arg(act, ruling);
    if (c.authority == QLatin1String("Consiglio di Stato") && c.section.isEmpty())
        faults << QStringLiteral("a Consiglio di Stato ruling without its section");
    if (!sittingDay(c.date)) faults << QStringLiteral("the ruling is dated %1, a Sunday or a national holiday").arg(ruling);
    return faults;
}

std::vector<CitedMaxim> citedMaxims(const QString& archive, const ParsedArchive& data)
{
    std::vector<CitedMaxim> out;
    for (const ParsedTopic& topic : data.topics) {
        for (qsizetype i = 0; i < topic.cells.size(); ++i) {
            if (std::optional<Citation> c = citation(topic.cells[i]))
                out.push_back({archive, topic.number, int(i) + 1, topic.cells[i], *c});
        }
    }
    return out;
}

QStringList rulingConflicts(const std::vector<CitedMaxim>& maxims)
{
    QStringList conflicts;
    QHash<QString, const CitedMaxim*> first;   // register|year|number -> the first maxim citing it
    for (const CitedMaxim& m : maxims) {
        const Citation& c = m.citation;
        if (c.number == 0) continue;
        const QString key = QStringLiteral("%1|%2|%3").arg(c.numberRegister()).arg(c.date.year()).arg(c.number);
        const auto found = first.constFind(key);
        if (found == first.constEnd()) {
            first.insert(key, &m);
            continue;
        }
        const Citation& o = (*found)->citation;
        if (o.authority != c.authority || o.section != c.section || o.date != c.date)
            conflicts << QStringLiteral("%1 and %2: n. %3 of %4 is cited as two rulings (%5 / %6)")
                             .arg((*found)->place(), m.place())
                             .arg(c.number)
                             .arg(c.date.year())
                             .arg(describe(o), describe(c));
    }
    return conflicts;
}

QStringList numberingOutOfOrder(const std::vector<CitedMaxim>& maxims)
{
    QHash<QString, std::vector<const CitedMaxim*>> registers;   // register|year -> its numbered maxims
    for (const CitedMaxim& m : maxims)
        if (m.citation.number != 0)
            registers[QStringLiteral("%1|%2").arg(m.citation.numberRegister()).arg(m.citation.date.year())].push_back(&m);
    QStringList faults;
    for (const CitedMaxim& m : maxims) {
        const Citation& c = m.citation;
        if (c.number == 0) continue;
        for (const CitedMaxim* o : registers.value(QStringLiteral("%1|%2").arg(c.numberRegister()).arg(c.date.year()))) {
            const Citation& later = o->citation;
            // Each pair once, from the lower number.
            if (later.number <= c.number || later.date.daysTo(c.date) <= filingLagDays) continue;
            faults << QStringLiteral("%1 and %2: n. %3 of %4 comes before n. %5 of %6 (%7)")
                          .arg(m.place(), o->place())
                          .arg(c.number)
                          .arg(c.date.toString(Qt::ISODate))
                          .arg(later.number)
                          .arg(later.date.toString(Qt::ISODate), c.numberRegister());
        }
    }
    return faults;
}

ValidationReport validate(const ArchiveDefinition& def, const ParsedArchive& data)
{
    ValidationReport r;
    const QString name = def.name();
    for (const QString& e : data.errors) r.errors << name + QLatin1Char(' ') + e;
    long long totalLength = 0;
    for (const ParsedTopic& topic : data.topics) {
        const QString where = QStringLiteral("%1 topic %2").arg(name).arg(topic.number);
        if (topic.number < 1 || topic.number > def.topicCount) {
            r.errors << where + QStringLiteral(": no such topic (the archive has %1)").arg(def.topicCount);
            continue;
        }
        if (topic.title != def.topicTitle(topic.number))
            r.errors << where + QStringLiteral(": title \"%1\", the archive's is \"%2\"").arg(topic.title, def.topicTitle(topic.number));
        int maxims = 0;
        bool emptySeen = false;
        for (std::size_t i = 0; i < std::size_t(topic.cells.size()); ++i) {
            const QString& text = topic.cells[qsizetype(i)];
            const QString at = QStringLiteral("%1 line %2").arg(name).arg(topic.cellLines[i]);
            if (text.isEmpty()) {
                emptySeen = true;
                continue;
            }
            if (emptySeen) r.errors << at + QStringLiteral(": a maxim after an empty cell leaves a gap in the numbering");
            ++maxims;
            ++r.maxims;
            totalLength += text.size();
            for (QChar c : text) {
                if (!allowedCharacter(c)) {
                    r.errors << at + QStringLiteral(": character U+%1 is not allowed").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
                    break;
                }
            }
            if (text.size() < 200 || text.size() > 1500)
                r.errors << at + QStringLiteral(": %1 characters, outside 200 to 1500").arg(text.size());
            QString why;
            const std::optional<Citation> c = citation(text, &why);
            if (!c) {
                r.errors << at + QStringLiteral(": ") + why;
                continue;
            }
            r.withSection += !c->section.isEmpty();
            r.withNumber += c->number != 0;
            for (const QString& fault : citationFaults(text, *c))
                r.errors << QStringLiteral("%1 maxim %2 (line %3): ").arg(where).arg(int(i) + 1).arg(topic.cellLines[i]) + fault;
        }
        if (maxims != def.topicMaxims(topic.number))
            r.errors << where + QStringLiteral(": %1 maxims, the archive's definition gives %2").arg(maxims).arg(def.topicMaxims(topic.number));
        if (topic.cells.size() > def.maximsPerTopic)
            r.errors << where + QStringLiteral(": %1 cells do not fit below the %2 places").arg(topic.cells.size()).arg(def.maximsPerTopic);
    }
    r.averageLength = r.maxims ? double(totalLength) / r.maxims : 0;
    if (r.maxims > 0 && r.averageLength < 450)
        r.errors << QStringLiteral("%1: the maxims average %2 characters, below 450").arg(name).arg(r.averageLength, 0, 'f', 0);
    return r;
}

} // namespace ArchiveValidation
