#pragma once
#include "SearchIndex.h"
#include "TextFold.h"
#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

// The maxims a lawyer would read next after one: the edition has no notes of its own sending the
// reader on, so they are computed from what the index knows, and each comes with the few words that
// say why. The signals, strongest first: the same ruling, massimata in another archive; the statutes
// both maxims cite, each weighing as much as it is rare; the likeness of their words, a ranked query
// of the maxim's most distinctive words (exact and stemmed) against every other; and small bonuses
// for the same topic and for another archive's topic on the same subject. A maxim that restates the
// given one word for word says nothing new and is left out, as is the maxim itself.
struct RelatedMaxim {
    int id = 0;
    double score = 0;
    bool sameRuling = false;
    std::vector<int> statutes;   // statute ids both cite, rarest first
    double words = 0;            // likeness of the words, the maxim's own as 1
    bool sameTopic = false;
    bool sameSubject = false;    // another archive's topic on the same subject
};

class RelatedMaxims {
public:
    // Measured on the judged pairs of tests/test_related. The words alone put 37 of 42 in the first
    // eight (34 with the topic bonuses and no statutes); any statute weight from 0.05 to 0.5 puts 41, and from 0.12 to 0.3 with both bonuses at
    // 0.15 the pairs stand highest (the sum of their ranks is least): the middle of that plateau is
    // kept. Leaving out of the word query the words of more than 3% of the maxims ranks the pairs
    // higher still; 14 words rank them best, and the time grows with the words (bench/bench_related).
    struct Weights {
        double sameRuling = 100;   // above anything the other signals can add up to
        double statute = 0.2;      // per unit of a shared statute's rarity, log(maxims / citing maxims)
        double words = 1;          // the maxim's own likeness to its words is 1
        double sameTopic = 0.15;
        double sameSubject = 0.15;
        int distinctiveWords = 14;     // words of the maxim in its query
        double commonShare = 0.03;     // words in more of the maxims than this are left out of it
    };
    static constexpr int DefaultLimit = 8;

    explicit RelatedMaxims(SearchIndex& index);
    RelatedMaxims(SearchIndex& index, Weights weights);

    // The related maxims of entry id, best first.
    std::vector<RelatedMaxim> of(int id, int limit = DefaultLimit);
    // "stessa sentenza", "art. 1118 cod. civ.", "stesso tema".
    QString reason(const RelatedMaxim& r) const;

    // The entry at a place of the archives (archive 0..6, topic and maxim as the window counts
    // them), or -1.
    static int find(const SearchIndex& index, int archive, int topic, int maxim);
    // The line that names what the related maxims are related to: "Affini a: Condominio, 5)
    // Amministratore, n. 3".
    static QString caption(const MaximEntry& e);
    // Two texts that say the same words in the same order, whatever their case, accents and marks.
    static bool sameWords(QStringView a, QStringView b);

    // The text engine's query of the maxim's most distinctive words, any of them.
    std::string wordsQuery(int id);

    SearchIndex& index() const { return index_; }

private:
    bool subjectShared(int archiveA, int topicA, int archiveB, int topicB) const;

    SearchIndex& index_;
    Weights weights_;
    Stemmer stemmer_;
    std::string buffer_;
    std::vector<std::vector<int>> citing_;                  // statute id -> entries citing it
    std::unordered_map<int, std::vector<std::string>> subjects_;   // archive * 100 + topic -> stems of its title
    std::unordered_map<std::string, int> frequency_;        // folded word -> maxims holding it
    std::vector<double> scratch_;                           // per entry, while ranking
};
