#include "ArchiveContent.h"

namespace {
const QString& emptyText()
{
    static const QString e;
    return e;
}
} // namespace

void ArchiveContent::reset(int topicCount, int maximsPerTopic)
{
    topicCount_ = std::max(0, topicCount);
    maximsPerTopic_ = std::max(0, maximsPerTopic);
    titles_.assign(std::size_t(topicCount_ + 1), QString());
    cells_.assign(std::size_t(topicCount_ + 1) * std::size_t(maximsPerTopic_ + 1), QString());
}

const QString& ArchiveContent::TopicTitles(int t) const
{
    if (t < 0 || t > topicCount_) return emptyText();
    return titles_[std::size_t(t)];
}

const QString& ArchiveContent::MaximTexts(int t, int m) const
{
    if (!inside(t, m)) return emptyText();
    return cells_[std::size_t(t) * std::size_t(maximsPerTopic_ + 1) + std::size_t(m)];
}

void ArchiveContent::setTopicTitle(int t, const QString& title)
{
    if (t >= 1 && t <= topicCount_) titles_[std::size_t(t)] = title;
}

void ArchiveContent::setMaximText(int t, int m, const QString& text)
{
    if (t >= 1 && m >= 1 && inside(t, m)) cells_[std::size_t(t) * std::size_t(maximsPerTopic_ + 1) + std::size_t(m)] = text;
}

int ArchiveContent::CountTopicMaxims(int t) const
{
    int n = 0;
    for (int m = 1; m <= maximsPerTopic_; ++m)
        if (!MaximTexts(t, m).isEmpty()) ++n;
    return n;
}
