#pragma once
#include "Citation.h"
#include "Statutes.h"
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

class Stemmer;

// What a user types in the search box, taken apart: the words to find (all of them, each with its
// alternatives after "O"), the words to exclude, the citation typed among them ("Cass. sez. II
// 3679/1996") as a filter on the rulings, the statutes typed ("art. 1117 cod. civ.", "legge 47/1985") as
// filters on what the maxims cite, and a note for everything ignored. Nothing the user types reaches the
// text engine except as quoted folded words, so no input can be a syntax error there.
struct QueryTerm {
    std::vector<std::string> words;   // folded; several for a phrase
    std::string stem;                 // of a single unquoted word
    bool prefix = false;              // parola*
    bool quoted = false;              // "..." : exact forms, in this order
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
    bool hasWords() const { return !groups.empty(); }
    bool empty() const { return groups.empty() && excluded.empty() && citation.empty() && statutes.empty(); }
};

namespace QueryTranslator {
constexpr int MaxLength = 1000;   // characters of a query read; a longer paste is cut, with a note
constexpr int MaxTerms = 16;      // words and phrases read

// places: every place of the archives' citations, folded ("milano", "emilia romagna").
ParsedQuery parse(const QString& text, const std::vector<QString>& places, Stemmer& stemmer);

// The text engine's match expressions: exact forms in column "exact", stems in column "stem".
std::string term(const QueryTerm& t);
std::string group(const QueryGroup& g);
std::string allOf(const std::vector<QueryGroup>& groups);
std::string anyOf(const std::vector<QueryTerm>& terms);
// The whole query's expression, exclusions included; empty when it has no words to find.
std::string expression(const ParsedQuery& q);
} // namespace QueryTranslator
