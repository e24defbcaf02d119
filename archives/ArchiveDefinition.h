#pragma once
#include <QString>
#include <span>

// The constant record of one archive: everything in which the seven archive windows differ.
struct TopicDef {
    const char* title;   // UTF-8
    int maxims;          // how many maxims the topic holds
};

struct ArchiveDefinition {
    const char* formName;
    const char* caption;
    int windowNumber;
    const char* helpQuestionName;
    const char* helpPage;
    const char* menuOption;
    const char* menuPhrase;
    const char* maximLinePrefix;
    int topicCount;
    int maximsPerTopic;
    // Which noun stands in the five texts that come in two wordings.
    bool totalSentenze;
    bool instructionSentenze;
    bool countEndingSentenze;
    bool pastLastSentenze;
    bool contaSentenza;
    int finestraBlanks;        // blanks before "Fi&nestra n." in the menu bar item
    bool perTopicLoaders;      // false: the whole content is stored in one step
    std::span<const TopicDef> topics;   // topic t is topics[t - 1]

    QString name() const { return QString::fromUtf8(formName); }
    QString topicTitle(int t) const { return QString::fromUtf8(topics[std::size_t(t - 1)].title); }
    int topicMaxims(int t) const { return topics[std::size_t(t - 1)].maxims; }
    int totalMaxims() const;

    QString totalEnding() const;          // " massime totali"
    QString instruction() const;          // passo after load
    QString countEnding() const;          // passo after a topic choice
    QString pastLastLine() const;         // shown past the last maxim
    QString contaToolTip() const;
    QString finestraCaption() const;      // blanks + "Fi&nestra n.6 di 8"
    QString ownWindowQuestion() const;    // "E' questa la finestra 'Condominio': ..."
};

namespace Archives {
constexpr int Count = 7;
// In window-number order: edilizia, urbanistica, espropriazioni, professionisti, condominio, enti, imprese.
std::span<const ArchiveDefinition> all();
const ArchiveDefinition* find(const QString& formName);
// 0..6 in the order above, or -1.
int indexOf(const QString& formName);
} // namespace Archives
