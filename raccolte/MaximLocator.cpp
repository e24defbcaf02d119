#include "MaximLocator.h"

namespace {
QString placeKey(const QString& archive, int topic, int maxim)
{
    return archive + QLatin1Char('/') + QString::number(topic) + QLatin1Char('/') + QString::number(maxim);
}
} // namespace

QString MaximLocator::key(const QString& citation, const QString& opening) { return citation + QLatin1Char('\n') + opening; }

MaximLocator::MaximLocator(const std::vector<MaximEntry>& corpus) : corpus_(corpus)
{
    byPlace_.reserve(qsizetype(corpus.size()));
    byContent_.reserve(qsizetype(corpus.size()));
    for (int i = 0; i < int(corpus.size()); ++i) {
        const MaximEntry& e = corpus[std::size_t(i)];
        byPlace_.insert(placeKey(MaximCorpus::archiveName(e), e.topic, e.maxim), i);
        byContent_.insert(key(Citations::text(e.text), RaccolteStore::openingOf(e.text)), i);
    }
}

MaximLocator::Found MaximLocator::locate(const StoredMaxim& m) const
{
    const QString content = key(m.citation, m.opening);
    if (const auto it = byPlace_.constFind(placeKey(m.archive, m.topic, m.maxim)); it != byPlace_.constEnd()) {
        const MaximEntry& e = corpus_[std::size_t(*it)];
        if (key(Citations::text(e.text), RaccolteStore::openingOf(e.text)) == content) return {&e, false};
    }
    if (const auto it = byContent_.constFind(content); it != byContent_.constEnd()) return {&corpus_[std::size_t(*it)], true};
    return {};
}

MaximRef MaximLocator::ref(const MaximEntry& e) { return MaximRef{MaximCorpus::archiveName(e), e.topic, e.maxim, e.text}; }
