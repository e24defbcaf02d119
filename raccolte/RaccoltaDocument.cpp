#include "RaccoltaDocument.h"
#include "archives/ArchiveDefinition.h"
#include "wordout/PageLayout.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include <QSettings>

namespace RaccoltaDocument {

namespace {
QSettings settings() { return QSettings(QStringLiteral("Norvelia"), QStringLiteral("Norvelia")); }
}

std::vector<RaccoltaEntry> entries(const std::vector<StoredMaxim>& stored, const MaximLocator& locator)
{
    std::vector<RaccoltaEntry> out;
    out.reserve(stored.size());
    for (const StoredMaxim& m : stored) {
        const MaximLocator::Found f = locator.locate(m);
        out.push_back(RaccoltaEntry{m, f.entry, f.moved});
    }
    return out;
}

QString heading(const RaccoltaEntry& e)
{
    if (e.current) return MaximCorpus::headingLine(*e.current);
    QString h;
    const ArchiveDefinition* def = Archives::find(e.stored.archive);
    if (def && e.stored.topic >= 1 && e.stored.topic <= def->topicCount)
        h = QString::fromUtf8(def->maximLinePrefix) + def->topicTitle(e.stored.topic) + QStringLiteral("    n.") +
            QString::number(e.stored.maxim);
    else
        h = e.stored.archive;
    return h + QStringLiteral(" (") + goneMark() + QLatin1Char(')');
}

QString copyText(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form)
{
    QStringList parts;
    for (const RaccoltaEntry& e : list) parts << ShortCitation::quote(e.text(), form);
    return parts.join(QStringLiteral("\n\n"));
}

QString copyHtml(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form)
{
    QString out;
    for (const RaccoltaEntry& e : list) out += ShortCitation::quoteHtml(e.text(), form);
    return out;
}

QString citations(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form)
{
    QStringList lines;
    for (const RaccoltaEntry& e : list) {
        const QString c = ShortCitation::citation(e.text(), form);
        if (!c.isEmpty()) lines << c;
    }
    return lines.join(QLatin1Char('\n'));
}

QString longDate(const QDate& date)
{
    static const char* const months[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                           "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    return QStringLiteral("%1 %2 %3").arg(date.day()).arg(QLatin1String(months[date.month() - 1])).arg(date.year());
}

QString footerPattern() { return QStringLiteral("pag. %1 di %2"); }

void type(WordSelection& sel, const QString& name, const QDate& date, const std::vector<RaccoltaEntry>& list,
          ShortCitation::Form form)
{
    const QChar cr(13);
    sel.setFontName(QStringLiteral("Century Gothic"));
    sel.setFontSize(18);
    sel.setBold(true);
    sel.TypeText(name + cr);
    sel.setBold(false);
    sel.setFontSize(11);
    sel.TypeText(QStringLiteral("Raccolta di massime al ") + longDate(date) + cr + cr);
    sel.setBold(true);
    sel.TypeText(QStringLiteral("Indice delle citazioni") + cr);
    sel.setBold(false);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QString c = ShortCitation::citation(list[i].text(), form);
        sel.TypeText(QStringLiteral("%1. ").arg(i + 1) + (c.isEmpty() ? heading(list[i]) : c) + cr);
    }
    // The maxims follow one another: a raccolta of fifteen is a few pages, not fifteen.
    for (std::size_t i = 0; i < list.size(); ++i) {
        const RaccoltaEntry& e = list[i];
        sel.TypeText(QString(cr));
        sel.setFontSize(10);
        sel.TypeText(QStringLiteral("%1. ").arg(i + 1) + heading(e) + cr);
        sel.setFontSize(12);
        sel.TypeText(QStringLiteral("«") + ShortCitation::body(e.text()) + QStringLiteral("»"));
        const QString c = ShortCitation::citation(e.text(), form);
        if (!c.isEmpty()) {
            sel.TypeText(QStringLiteral(" "));
            sel.setBold(true);
            sel.TypeText(QStringLiteral("(") + c + QLatin1Char(')'));
            sel.setBold(false);
        }
        sel.TypeText(QString(cr));
        if (!e.stored.note.trimmed().isEmpty()) {
            sel.setFontSize(11);
            sel.TypeText(QStringLiteral("Nota: ") + e.stored.note.trimmed() + cr);
        }
    }
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
    if (WordDocument* doc = sel.Document()) PageLayout::setFooter(doc->text(), footerPattern());
}

ShortCitation::Form preferredForm()
{
    return settings().value(QStringLiteral("raccolte/formaCitazione")).toString() == QLatin1String("estesa")
               ? ShortCitation::Form::Long
               : ShortCitation::Form::Short;
}

void setPreferredForm(ShortCitation::Form form)
{
    settings().setValue(QStringLiteral("raccolte/formaCitazione"),
                        form == ShortCitation::Form::Long ? QStringLiteral("estesa") : QStringLiteral("breve"));
}

} // namespace RaccoltaDocument
