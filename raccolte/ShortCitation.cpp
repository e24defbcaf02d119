#include "ShortCitation.h"

namespace ShortCitation {

namespace {
const char* const months[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};

QString section(const Citation& c)
{
    if (c.section.isEmpty()) return QString();
    // "Ad. plen." stands alone; the other sections are written "sez. II", "sez. lav.".
    if (c.section.startsWith(QLatin1String("Ad."))) return QStringLiteral(", ") + c.section;
    return QStringLiteral(", sez. ") + c.section;
}
} // namespace

QString authority(const Citation& c)
{
    switch (c.family) {
    case Authority::CassazioneCivile:
        // The united sections are one court for civil matters: "Cass. sez. un." says it all.
        if (c.section == QLatin1String("un.")) return QStringLiteral("Cass. sez. un.");
        return QStringLiteral("Cass. civ.") + section(c);
    case Authority::CassazionePenale:
        if (c.section == QLatin1String("un.")) return QStringLiteral("Cass. pen., sez. un.");
        return QStringLiteral("Cass. pen.") + section(c);
    case Authority::ConsiglioDiStato: return QStringLiteral("Cons. Stato") + section(c);
    case Authority::Tar: return QStringLiteral("T.A.R. ") + c.place + section(c);
    case Authority::CorteCostituzionale: return QStringLiteral("Corte cost.") + section(c);
    case Authority::CorteDeiConti: return QStringLiteral("Corte conti") + section(c);
    case Authority::Tribunale: return QStringLiteral("Trib. ") + c.place + section(c);
    case Authority::CorteAppello: return QStringLiteral("App. ") + c.place + section(c);
    case Authority::Pretura: return QStringLiteral("Pret. ") + c.place + section(c);
    }
    return QString();
}

QString of(const Citation& c)
{
    QString out = authority(c);
    if (c.month >= 1 && c.month <= 12)
        out += QStringLiteral(", %1 %2 %3").arg(c.day).arg(QLatin1String(months[c.month - 1])).arg(c.year);
    if (c.number > 0) out += QStringLiteral(", n. %1").arg(c.number);
    return out;
}

QString body(const QString& maxim)
{
    const int s = Citations::start(maxim);
    return (s < 0 ? maxim : maxim.left(s)).trimmed();
}

QString citation(const QString& maxim, Form form)
{
    const QString text = Citations::text(maxim);
    if (form == Form::Long || text.isEmpty()) return text;
    const auto c = Citations::parse(text);
    return c ? of(*c) : text;
}

QString quote(const QString& maxim, Form form)
{
    const QString c = citation(maxim, form);
    QString out = QStringLiteral("«") + body(maxim) + QStringLiteral("»");
    if (!c.isEmpty()) out += QStringLiteral(" (") + c + QLatin1Char(')');
    return out;
}

QString quoteHtml(const QString& maxim, Form form)
{
    const QString c = citation(maxim, form);
    QString out = QStringLiteral("<p>«") + body(maxim).toHtmlEscaped() + QStringLiteral("»");
    if (!c.isEmpty()) out += QStringLiteral(" (") + c.toHtmlEscaped() + QLatin1Char(')');
    return out + QStringLiteral("</p>");
}

} // namespace ShortCitation
