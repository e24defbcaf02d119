#pragma once
#include <QString>
#include <QStringView>
#include <string>
#include <vector>

// The statutes a text cites: articles of the codes and of the Constitution ("art. 1117 cod. civ.",
// "artt. 1117 e 1118 cod. civ.", "art. 42 Cost.") and acts with their number and year ("legge 28
// febbraio 1985 n. 47", "d.P.R. n. 380 del 2001", "legge 47/1985"). Each is known by a key that does not
// depend on how it was written, so that a law typed as "legge 47/1985" finds the maxims that cite it in
// full; the label is how the search window names it.
struct StatuteRef {
    std::string key;   // "cc:1117", "att.cc:63", "cost:42", "legge:47:1985", "dpr:380:2001"
    QString label;     // "art. 1117 cod. civ.", "legge 28 febbraio 1985 n. 47"
    bool dated = false;   // the label gives the act's full date
    int year = 0;         // the act's year; 0 for articles of the codes
};

struct StatuteMatch {
    int start = 0;   // span of the citing words in the text, UTF-16 units
    int end = 0;
    StatuteRef ref;
};

namespace Statutes {
// Every statute cited in text, in order of appearance; an article list gives one match per article.
std::vector<StatuteMatch> find(QStringView text);
// A year written with two digits belongs to the century of the archives' rulings: 50 to 99 are 1900s.
int fullYear(int year);
} // namespace Statutes
