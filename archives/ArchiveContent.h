#pragma once
#include <QString>
#include <vector>

// An archive window's tables: the topic titles by topic number, and the maxim texts by topic and
// maxim number. Numbers start at 1; row and column 0 exist and are never used. The tables are dense:
// (TopicCount + 1) x (MaximsPerTopic + 1) cells, and an empty cell is the same as one never written.
class ArchiveContent {
public:
    void reset(int topicCount, int maximsPerTopic);
    int topicCount() const { return topicCount_; }
    int maximsPerTopic() const { return maximsPerTopic_; }

    const QString& TopicTitles(int t) const;
    const QString& MaximTexts(int t, int m) const;
    void setTopicTitle(int t, const QString& title);
    void setMaximText(int t, int m, const QString& text);

    // Non-empty cells of topic t over all places 1 to MaximsPerTopic.
    int CountTopicMaxims(int t) const;
    int cellCount() const { return int(cells_.size()); }

private:
    bool inside(int t, int m) const { return t >= 0 && t <= topicCount_ && m >= 0 && m <= maximsPerTopic_; }
    int topicCount_ = 0;
    int maximsPerTopic_ = 0;
    std::vector<QString> titles_;
    std::vector<QString> cells_;
};
