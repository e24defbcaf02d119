#include "MaximCorpus.h"
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include <QRegularExpression>

namespace MaximCorpus {

std::vector<MaximEntry> load()
{
    std::vector<MaximEntry> out;
    out.reserve(2100);
    const auto archives = Archives::all();
    for (int a = 0; a < int(archives.size()); ++a) {
        const ArchiveDefinition& def = archives[std::size_t(a)];
        const ParsedArchive parsed = ArchiveData::parse(ArchiveData::bytesFor(def.name()));
        // The same cells the archive window shows: topics of the archive, places up to its table size.
        for (int t = 1; t <= def.topicCount; ++t) {
            const ParsedTopic* topic = parsed.topic(t);
            if (!topic) continue;
            const int places = std::min<int>(int(topic->cells.size()), def.maximsPerTopic);
            for (int m = 1; m <= places; ++m) {
                const QString& text = topic->cells[m - 1];
                if (text.isEmpty()) continue;
                MaximEntry e;
                e.archive = a;
                e.topic = t;
                e.maxim = m;
                e.text = text;
                if (const auto c = Citations::parse(Citations::text(text))) {
                    e.citation = *c;
                    e.cited = true;
                }
                out.push_back(std::move(e));
            }
        }
    }
    return out;
}

std::vector<MaximEntry> enlarged(const std::vector<MaximEntry>& base, int times)
{
    std::vector<MaximEntry> out;
    out.reserve(base.size() * std::size_t(std::max(times, 1)));
    static const QRegularExpression number(QStringLiteral(", n\\. (\\d+)\\)$"));
    for (int k = 0; k < times; ++k) {
        for (const MaximEntry& e : base) {
            MaximEntry c = e;
            if (k > 0 && e.cited) {
                c.citation.number = e.citation.number ? e.citation.number + k * 100000 : k;
                const QRegularExpressionMatch m = number.match(c.text);
                const QString tail = QStringLiteral(", n. %1)").arg(c.citation.number);
                if (m.hasMatch()) c.text.replace(m.capturedStart(0), m.capturedLength(0), tail);
                else c.text.replace(c.text.size() - 1, 1, tail);
            }
            out.push_back(std::move(c));
        }
    }
    return out;
}

QString archiveName(const MaximEntry& e) { return Archives::all()[std::size_t(e.archive)].name(); }

QString archiveTitle(const MaximEntry& e)
{
    const QString n = archiveName(e);
    return n.left(1).toUpper() + n.mid(1);
}

QString topicTitle(const MaximEntry& e) { return Archives::all()[std::size_t(e.archive)].topicTitle(e.topic); }

QString headingLine(const MaximEntry& e)
{
    return QString::fromUtf8(Archives::all()[std::size_t(e.archive)].maximLinePrefix) + topicTitle(e) +
           QStringLiteral("    n.") + QString::number(e.maxim);
}

QString plainCopy(const MaximEntry& e) { return headingLine(e) + QLatin1Char('\n') + e.text; }

} // namespace MaximCorpus
