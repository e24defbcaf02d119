#pragma once
#include "RaccolteStore.h"
#include "search/MaximCorpus.h"
#include <QHash>
#include <vector>

// Finds a stored maxim in the archives as they are now. Where it was (archive, topic, place) is
// tried first; when the maxim there is another one, because a later edition moved it, it is looked
// up by its citation and the opening of its text. A maxim found in neither way is no longer in the
// archives: the raccolta keeps it with the text it had.
class MaximLocator {
public:
    explicit MaximLocator(const std::vector<MaximEntry>& corpus);

    struct Found {
        const MaximEntry* entry = nullptr;   // null: no longer in the archives
        bool moved = false;                  // found by citation and text, not where it was
    };
    Found locate(const StoredMaxim& m) const;

    // What the store keeps of a maxim of the corpus.
    static MaximRef ref(const MaximEntry& e);

private:
    static QString key(const QString& citation, const QString& opening);
    const std::vector<MaximEntry>& corpus_;
    QHash<QString, int> byPlace_;      // "archive/topic/maxim"
    QHash<QString, int> byContent_;    // citation and opening
};

// The words shown beside a maxim the archives no longer hold.
inline QString goneMark() { return QStringLiteral("non più presente nell'archivio"); }
