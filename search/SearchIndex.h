#pragma once
#include "Citation.h"
#include "MaximCorpus.h"
#include "QueryTranslator.h"
#include "TextFold.h"
#include "WordForms.h"
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The search over all maxims. The words are answered by an in-memory SQLite FTS5 index with three
// columns, the folded words ("exact"), their inflection keys ("forma") and the keys of the statutes
// each maxim cites ("norme"), ranked by BM25 with the exact forms weighing more, so that "distanza"
// finds "distanze" yet ranks the maxims that say "distanza" first. The hits come in tiers: the typed
// words and their inflections, then what only the thesaurus's terms found, then the related forms
// (derivations, Snowball's stem). The citation and statute filters and the counts beside the list are
// answered from plain tables held here: a few thousand small integers that a loop reads faster than a
// query could.
class SearchIndex {
public:
    explicit SearchIndex(std::vector<MaximEntry> entries);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // The text engine's table: the folded words, their inflection keys and the cited statutes' keys,
    // without a copy of the texts. The fuzz targets check the translator's expressions against it.
    static constexpr const char* TableSql =
        "CREATE VIRTUAL TABLE idx USING fts5(exact, forma, norme, tokenize='ascii', content='')";

    // Built from the program's own data the first time it is asked for.
    static SearchIndex& shared();
    // Forgets the shared index, so that the next use reads the data again (tests that change it).
    static void resetShared();

    enum class Sort { Relevance, Newest, Oldest, ArchiveOrder };
    struct Filters {
        int archive = -1;                    // 0..6
        std::optional<Authority> authority;
        int yearFrom = 0;                    // 0: open
        int yearTo = 0;
        int statute = -1;                    // a statute id
        bool thesaurus = true;               // the edition's terms for today's ("Termini d'epoca")
    };
    struct Hit {
        int id = 0;          // the entry
        double score = 0;    // higher is better
        int matched = 0;     // groups of words matched, when not all of them could be
        int tier = 0;        // a Tier
    };
    enum Tier { Typed = 0, Thesaurus = 1, Related = 2 };
    struct Facets {
        // How many hits each choice would keep, with the other filters in force.
        std::array<int, 7> archives{};
        std::array<int, AuthorityCount> authorities{};
        std::vector<std::pair<int, int>> statutes;   // (statute id, hits), most cited first
        int yearMin = 0;                             // years of the hits, the year filters aside
        int yearMax = 0;
        int total = 0;                               // hits before the filters beside the list
    };
    struct Result {
        ParsedQuery query;
        std::vector<Hit> hits;
        Facets facets;
        bool partial = false;   // no maxim held every word: those with most of them
        double milliseconds = 0;
        // Hits holding a form of every word (through the thesaurus too): the related forms come after.
        int found() const;
    };
    Result search(const QString& text, const Filters& filters, Sort sort = Sort::Relevance);
    Result search(const QString& text);

    int size() const { return int(entries_.size()); }
    const MaximEntry& entry(int id) const { return entries_[std::size_t(id)]; }
    const StatuteRef& statute(int id) const { return statutes_[std::size_t(id)]; }
    int statuteCount() const { return int(statutes_.size()); }
    std::vector<int> statutesOf(int id) const;
    const std::vector<QString>& places() const { return places_; }
    const WordForms& wordForms() const { return forms_; }
    // Fills the inflections and related forms of the query's words from the archives' vocabulary.
    void resolve(ParsedQuery& q) const;

    // About two lines of the maxim around the words found, those words in bold (HTML) or plain.
    QString snippet(int id, const ParsedQuery& query, bool html);
    // The whole maxim before its citation, the words found in bold as in the snippets (HTML).
    QString highlighted(int id, const ParsedQuery& query);

    // The rows of a match expression written as QueryTranslator writes them, scored as a search scores
    // them, in no order: for rankings of our own that ask the text engine for more than a query can.
    std::vector<Hit> match(const std::string& expression);
    // In how many maxims a folded word stands in that form.
    int wordFrequency(const std::string& folded);

    // For the benchmark: the rows and scores of a bare match, nothing else.
    int bareMatch(const std::string& expression);
    // Bytes SQLite holds for the index.
    static long long sqliteMemory();

private:
    struct WordMark {
        int start, length;
        bool marked;   // one of the query's words, forms or prefixes
    };
    std::vector<WordMark> markWords(const QString& text, const ParsedQuery& q, int* statuteAt = nullptr);
    static void appendMarked(QString& out, const QString& text, const std::vector<WordMark>& words, int from, int to);
    void build();
    void matchInto(const std::string& expression, std::vector<Hit>& out);
    bool passesQuery(int id, const ParsedQuery& q) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* match_ = nullptr;
    sqlite3_stmt* frequency_ = nullptr;
    Stemmer stemmer_;
    std::vector<MaximEntry> entries_;
    std::vector<int> placeOf_;            // per entry: index into places_, or -1
    std::vector<QString> places_;         // folded
    std::vector<int> statuteStart_;       // per entry, into statuteIds_ (one more at the end)
    std::vector<int> statuteIds_;
    std::vector<StatuteRef> statutes_;
    std::unordered_map<std::string, int> statuteByKey_;
    WordForms forms_;
};
