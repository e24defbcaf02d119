#pragma once
#include "SearchIndex.h"
#include <QString>
#include <QStringList>

// The sentences the search says about a result, made apart from the window so that the window, the
// command line and the tests read the same words: the count line, what the thesaurus added, and, when
// nothing is found, what to try next.
namespace SearchMessages {
// "Cercato anche: concessione edilizia (oggi permesso di costruire, d.P.R. 380/2001, art. 10)", one
// sentence for each term of today found in the query; empty when the thesaurus added nothing.
QStringList expansions(const ParsedQuery& q);
// The line above the list: "N massime trovate", the related forms apart, the partial matches said in
// plain words.
QString countLine(const SearchIndex::Result& r, double milliseconds);
// What a citation or a statute typed matched nothing of, when that is why nothing was found: "la norma
// legge n. 47 del 1999 non è citata in nessuna massima".
QStringList unmatchedParts(const SearchIndex& index, const ParsedQuery& q);
// When nothing is found: the thesaurus's terms that come near the words typed, the edition's limit, and
// the words one click could search alone.
struct Suggestions {
    QStringList thesaurus;   // "SCIA: denuncia di inizio attività"
    QString edition;         // the reminder of the rulings' years
    QStringList words;       // each a query of its own
};
Suggestions noHit(const ParsedQuery& q, const ParsedThesaurus* thesaurus);
} // namespace SearchMessages
