#pragma once
#include <QString>
#include <QStringView>
#include <optional>

// The citation that ends every maxim, " - (Cassazione civile, sez. II, 14 marzo 2000, n. 2932)", read
// into its parts, so that a search can filter on the authority, its place, the section, the date and
// the number rather than on words.
enum class Authority : unsigned char {
    CassazioneCivile,
    CassazionePenale,
    ConsiglioDiStato,
    Tar,
    CorteCostituzionale,
    CorteDeiConti,
    Tribunale,
    CorteAppello,
    Pretura,
};
constexpr int AuthorityCount = 9;

struct Citation {
    Authority family = Authority::CassazioneCivile;
    QString authority;   // as written: "Tribunale di Milano", "TAR Lombardia"
    QString place;       // "Milano", "Lombardia"; empty for the national courts
    QString section;     // "II", "un.", "lav.", "Ad. plen."; empty when none
    int day = 0;
    int month = 0;       // 1 to 12
    int year = 0;
    int number = 0;      // 0 when the ruling carries none
    // The ruling's date as one sortable number, yyyymmdd.
    int dateKey() const { return year * 10000 + month * 100 + day; }
};

namespace Citations {
// Where the citation starts in a maxim (the index of " - (" before it), or -1 when the text does not
// end with one.
int start(QStringView maxim);
// The citation's own text, without " - (" and ")"; empty when there is none.
QString text(QStringView maxim);
// Reads a citation's text (as text() gives it).
std::optional<Citation> parse(QStringView citation);
// The name of a group of authorities, as the search window shows it: "Cassazione civile", ...,
// "Corte d'appello", "Pretura".
QString groupName(Authority a);
// 1 to 12 for an Italian month name in lower case, 0 otherwise.
int monthNumber(QStringView name);
} // namespace Citations
