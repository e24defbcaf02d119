#pragma once
#include "TextFold.h"
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The archives' own words grouped by what they mean, in two tiers. The first tier is inflection: a word
// matches the words that share its inflection key (TextFold::inflectionKey) and, when it is a form of a
// verb that the archives show as a verb (its infinitive and a second form only a verb has, a participle
// or a gerund), every form of that verb and the noun of its stem: "revoca", "revocare" and "revocato"
// are one word, "solare" is not "sola", since no "solato" or "solando" makes it a verb. The second tier
// is derivation, Snowball's stem: "sopraelevazione" and "sopraelevare", offered apart as related forms.
//
// Snowball's stems are taken only when a related form is asked for, and only for the words that may
// share the stem asked: the stemmer never changes a word's first two letters, so those words are the
// ones beginning as the stem does. Stemming all the archives' words would cost the index build a
// quarter of its time for a tier most queries never reach.
class WordForms {
public:
    WordForms();
    ~WordForms();
    WordForms(WordForms&&) noexcept;
    WordForms& operator=(WordForms&&) noexcept;

    // Every distinct word of the texts (folded); then finish().
    void add(std::string_view word);
    void finish();

    // The inflection keys a word matches, its own first.
    std::vector<std::string> keys(std::string_view word) const;
    // The archives' words that share the Snowball stem but none of the keys, sorted.
    std::vector<std::string> related(std::string_view snowball, const std::vector<std::string>& keys) const;
    // Whether the archives show this stem and conjugation ("revoc", 'a') as a verb.
    bool isVerb(const std::string& stem, char conjugation) const;

private:
    struct Verb {
        std::vector<std::string> forms;
        int telling = 0;
        bool infinitive = false;
    };
    std::unordered_map<std::string, Verb> verbs_;   // stem + conjugation vowel
    std::vector<std::string> words_;                // sorted
    // Filled a beginning at a time, the first time a stem with that beginning is asked for.
    struct Stems {
        std::mutex lock;
        Stemmer stemmer;
        std::unordered_set<std::string> begun;
        std::unordered_map<std::string, std::vector<std::string>> bySnowball;
    };
    std::unique_ptr<Stems> stems_;
};
