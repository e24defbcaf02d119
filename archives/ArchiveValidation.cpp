#include "ArchiveValidation.h"
#include <QRegularExpression>

namespace ArchiveValidation {

bool allowedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F) return true;
    static const QString extra = QStringLiteral("àèéìòùÉÈ°«»‘’");
    return extra.contains(c);
}

bool hasCitation(const QString& text, bool* section, bool* number, QString* why)
{
    static const QString months =
        QStringLiteral("gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|novembre|dicembre");
    static const QRegularExpression re(
        QStringLiteral(" - \\((Cassazione civile|Cassazione penale|Consiglio di Stato|Corte costituzionale|Corte dei conti|"
                       "TAR [A-Z][\\w' ]+|Tribunale (?:di )?[A-Z][\\w' ]+|Corte d'appello (?:di )?[A-Z][\\w' ]+|"
                       "Pretura (?:di )?[A-Z][\\w' ]+)"
                       "(, sez\\. (?:[IVXL]+|[A-Z]|un\\.|lav\\.))?, (\\d{1,2}) (") +
        months + QStringLiteral(") (\\d{4})(, n\\. \\d+)?\\)$"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) {
        if (why) *why = QStringLiteral("no citation in the form \" - (Authority[, sez. X], day month year[, n. N])\"");
        return false;
    }
    static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int day = m.captured(3).toInt();
    const int month = int(months.split(QLatin1Char('|')).indexOf(m.captured(4)));
    const int year = m.captured(5).toInt();
    if (year < 1950 || year > 2001) {
        if (why) *why = QStringLiteral("citation year %1 outside 1950-2001").arg(year);
        return false;
    }
    if (day < 1 || day > days[month] || (month == 1 && day == 29 && (year % 4 != 0 || (year % 100 == 0 && year % 400 != 0)))) {
        if (why) *why = QStringLiteral("citation date %1 %2 %3 does not exist").arg(day).arg(m.captured(4)).arg(year);
        return false;
    }
    if (section) *section = m.hasCaptured(2) && !m.captured(2).isEmpty();
    if (number) *number = m.hasCaptured(6) && !m.captured(6).isEmpty();
    return true;
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
            bool section = false, number = false;
            QString why;
            if (!hasCitation(text, &section, &number, &why)) r.errors << at + QStringLiteral(": ") + why;
            r.withSection += section;
            r.withNumber += number;
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
