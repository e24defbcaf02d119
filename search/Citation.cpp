#include "Citation.h"
#include <QRegularExpression>

namespace Citations {

int monthNumber(QStringView name)
{
    static const char* months[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                     "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    for (int i = 0; i < 12; ++i)
        if (name == QLatin1String(months[i])) return i + 1;
    return 0;
}

int start(QStringView maxim)
{
    if (!maxim.endsWith(QLatin1Char(')'))) return -1;
    return int(maxim.lastIndexOf(QLatin1String(" - (")));
}

QString text(QStringView maxim)
{
    const int s = start(maxim);
    if (s < 0) return QString();
    return maxim.sliced(s + 4, maxim.size() - s - 5).toString();
}

std::optional<Citation> parse(QStringView citation)
{
    static const QRegularExpression re(
        QStringLiteral("^(Cassazione civile|Cassazione penale|Consiglio di Stato|Corte costituzionale|Corte dei conti|"
                       "TAR ([^,]+)|Tribunale (?:di )?([^,]+)|Corte d'appello (?:di )?([^,]+)|Pretura (?:di )?([^,]+))"
                       "(?:, (?:sez\\. ([^,]+)|(Ad\\. plen\\.)))?, (\\d{1,2})°? (\\p{Ll}+) (\\d{4})(?:, n\\. (\\d+))?$"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = re.match(citation.toString());
    if (!m.hasMatch()) return std::nullopt;
    Citation c;
    c.authority = m.captured(1);
    if (c.authority == QLatin1String("Cassazione civile")) c.family = Authority::CassazioneCivile;
    else if (c.authority == QLatin1String("Cassazione penale")) c.family = Authority::CassazionePenale;
    else if (c.authority == QLatin1String("Consiglio di Stato")) c.family = Authority::ConsiglioDiStato;
    else if (c.authority == QLatin1String("Corte costituzionale")) c.family = Authority::CorteCostituzionale;
    else if (c.authority == QLatin1String("Corte dei conti")) c.family = Authority::CorteDeiConti;
    else if (m.hasCaptured(2)) { c.family = Authority::Tar; c.place = m.captured(2); }
    else if (m.hasCaptured(3)) { c.family = Authority::Tribunale; c.place = m.captured(3); }
    else if (m.hasCaptured(4)) { c.family = Authority::CorteAppello; c.place = m.captured(4); }
    else { c.family = Authority::Pretura; c.place = m.captured(5); }
    c.section = m.hasCaptured(6) ? m.captured(6) : m.captured(7);
    c.day = m.captured(8).toInt();
    c.month = monthNumber(m.capturedView(9));
    c.year = m.captured(10).toInt();
    c.number = m.captured(11).toInt();
    if (c.month == 0 || c.day < 1 || c.day > 31) return std::nullopt;
    return c;
}

QString groupName(Authority a)
{
    switch (a) {
    case Authority::CassazioneCivile: return QStringLiteral("Cassazione civile");
    case Authority::CassazionePenale: return QStringLiteral("Cassazione penale");
    case Authority::ConsiglioDiStato: return QStringLiteral("Consiglio di Stato");
    case Authority::Tar: return QStringLiteral("TAR");
    case Authority::CorteCostituzionale: return QStringLiteral("Corte costituzionale");
    case Authority::CorteDeiConti: return QStringLiteral("Corte dei conti");
    case Authority::Tribunale: return QStringLiteral("Tribunale");
    case Authority::CorteAppello: return QStringLiteral("Corte d'appello");
    case Authority::Pretura: return QStringLiteral("Pretura");
    }
    return QString();
}

} // namespace Citations
