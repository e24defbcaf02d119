#pragma once
#include "Statutes.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

// The law's words across its reforms: each group pairs the terms a user of today types ("permesso di
// costruire", "SCIA") with the terms the maxims use ("concessione edilizia", "denuncia di inizio
// attività"), and names the statute and the date of the change. The groups are data that jurists keep,
// a UTF-8 text file compiled into the program, one group a line:
//     today's terms | the edition's terms | statute | YYYY-MM-DD
// terms separated by ";", "#" opening a comment line. A term that reads as a statute ("l. 109/1994") is
// that statute, searched among the statutes the maxims cite.
struct ThesaurusTerm {
    QString text;                      // as written
    std::vector<std::string> words;    // folded, every word: the phrase to search
    std::vector<std::string> keys;     // inflection keys of the words that are not function words
    std::optional<StatuteRef> statute;
};

struct ThesaurusGroup {
    std::vector<ThesaurusTerm> today;
    std::vector<ThesaurusTerm> edition;
    QString statute;   // the change, as written
    QDate date;
    int line = 0;
};

struct ParsedThesaurus {
    std::vector<ThesaurusGroup> groups;
    QStringList errors;   // "riga N: ...", the line left out

    // The longest today's term that the query's keys spell from position at on: its group and its
    // length in keys; length 0 when none.
    struct Match {
        int group = -1;
        int term = -1;
        int length = 0;
    };
    Match longestAt(const std::vector<std::string>& keys, std::size_t at) const;
};

namespace Thesaurus {
ParsedThesaurus parse(QByteArrayView utf8);
// The compiled file, or the override installed for this process.
QByteArray bytes();
// The parsed groups of bytes(), read once (again after an override changes).
const ParsedThesaurus& shared();
// Replaces the compiled file for this process (tests use small data of their own); clearOverride()
// restores it.
void setOverride(const QByteArray& utf8);
void clearOverride();
} // namespace Thesaurus
