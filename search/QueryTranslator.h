#pragma once
#include "Citation.h"
#include "Statutes.h"
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

class Stemmer;
struct ParsedThesaurus;

// What a user types in the search box, taken apart: the words to find (all of them, each with its
// alternatives after "O"), the words to exclude, the citation typed among them ("Cass. sez. II
// 3679/1996") as a filter on the rulings, the statutes typed ("art. 1117 cod. civ.", "legge 47/1985") as
// filters on what the maxims cite, and a note for everything ignored. Nothing the user types reaches the
// text engine except as quoted folded words, so no input can be a syntax error there.
struct QueryTerm {
    std::vector<std::string> words;   // folded; several for a phrase
    std::string stem;                 // Snowball's, of a single unquoted word
    std::vector<std::string> forms;   // inflection keys of a single unquoted word, its own first
    std::vector<std::string> related; // words sharing its Snowball stem but no key: derivations
    std::string statute;              // a statute's key: the maxims that cite it
    bool prefix = false;              // parola*
    bool quoted = false;              // "..." : exact forms, in this order
    bool thesaurus = false;           // added from the thesaurus, not typed
};

// A term the thesaurus added, for the note that says so.
struct Expansion {
    QStringList added;   // the edition's terms searched as well
    QString today;       // the term of today that brought them
    QString statute;     // the statute of the change
};

struct QueryGroup {
    std::vector<QueryTerm> alternatives;   // any of them
};

struct CitationFilter {
    std::optional<Authority> family;
    bool anyCassazione = false;   // "Cass." without civile or penale
    QString place;                // folded, as TextFold folds it: "lombardia", "reggio calabria"
    QString section;              // "II", "un.", "lav.", "Ad. plen."
    int number = 0;
    int year = 0;
    bool empty() const { return !family && !anyCassazione && place.isEmpty() && section.isEmpty() && !number && !year; }
    // foldedPlace is the citation's place folded the same way.
    bool accepts(const Citation& c, const QString& foldedPlace) const;
    QString describe() const;
};

struct ParsedQuery {
    std::vector<QueryGroup> groups;     // all must match
    std::vector<QueryTerm> excluded;    // none may match
    CitationFilter citation;
    std::vector<StatuteRef> statutes;   // each must be cited
    QStringList ignored;                // Italian notes for the status line
    std::vector<Expansion> expansions;  // what the thesaurus added
    bool hasWords() const { return !groups.empty(); }
    bool expanded() const { return !expansions.empty(); }
    bool hasRelated() const;
    bool empty() const { return groups.empty() && excluded.empty() && citation.empty() && statutes.empty(); }
};

namespace QueryTranslator {
constexpr int MaxLength = 1000;   // characters of a query read; a longer paste is cut, with a note
constexpr int MaxTerms = 16;      // words and phrases read

// places: every place of the archives' citations, folded ("milano", "emilia romagna"). With a
// thesaurus, a term of today typed among the words (the longest that the words spell) is searched
// together with the edition's terms, each multi-word term as a phrase and a statute as a statute.
ParsedQuery parse(const QString& text, const std::vector<QString>& places, Stemmer& stemmer,
                  const ParsedThesaurus* thesaurus = nullptr);

// How far a term reaches: the typed words and their inflections; those and the thesaurus's terms; all
// that and the related forms (derivations).
enum class Reach { Typed, Thesaurus, Related };

// The text engine's match expressions: folded words in column "exact", inflection keys in column
// "forma", the keys of the statutes cited in column "norme".
std::string term(const QueryTerm& t, Reach reach = Reach::Thesaurus);
std::string group(const QueryGroup& g, Reach reach = Reach::Thesaurus);
std::string allOf(const std::vector<QueryGroup>& groups, Reach reach = Reach::Thesaurus);
std::string anyOf(const std::vector<QueryTerm>& terms);
// The whole query's expression, exclusions included; empty when it has no words to find.
std::string expression(const ParsedQuery& q, Reach reach = Reach::Thesaurus);
// The single word the index holds for a statute's key: "legge:47:1985" is "leggex47x1985".
std::string statuteToken(const std::string& key);
} // namespace QueryTranslator
