#pragma once
#include "ArchiveData.h"
#include "ArchiveDefinition.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Holds an archive's data file to the rules of the data format and to the archive's definition:
// titles, order, per-topic counts of every topic present, the characters, the length of each maxim,
// the citation at its end, and the archive's average length. Topics absent from the file are not
// errors (a file is completed topic by topic).
struct ValidationReport {
    QStringList errors;   // each "<archive> topic N: ..." or "<archive> line N: ..."
    int maxims = 0;
    int withNumber = 0;
    int withSection = 0;
    double averageLength = 0;
    bool ok() const { return errors.isEmpty(); }
};

// The citation at the end of a maxim, as read from its text.
struct Citation {
    QString authority;   // "Cassazione civile", "Consiglio di Stato", "TAR Lazio", ...
    QString section;     // "II", "un.", "lav.", "Ad. plen."; empty when the citation names none
    QDate date;
    int number = 0;      // 0 when the citation carries no number
    // The register a ruling number belongs to, as the courts kept them up to 2001: the simple civil
    // sections of the Cassazione, the labour section among them, number their rulings in one register
    // and the united civil sections in one of their own; the criminal bench, the Consiglio di Stato
    // (each section and the Adunanza plenaria) and every other court number them section by section.
    QString numberRegister() const;
};

// A maxim and where it stands, for the checks that look across maxims and archives.
struct CitedMaxim {
    QString archive;
    int topic = 0;
    int maxim = 0;       // place in the topic, from 1
    QString text;
    Citation citation;
    QString place() const;   // "<archive> topic N maxim M"
};

namespace ArchiveValidation {
// Also holds every maxim's citation to what a real ruling must be (citationFaults).
ValidationReport validate(const ArchiveDefinition& def, const ParsedArchive& data);
// True when text ends with a citation in the required form; section/number tell what it carries.
bool hasCitation(const QString& text, bool* section = nullptr, bool* number = nullptr, QString* why = nullptr);
std::optional<Citation> citation(const QString& text, QString* why = nullptr);
bool allowedCharacter(QChar c);

// What a well-formed citation can still get wrong on its own: a statute in the text dated after the
// ruling, a Consiglio di Stato ruling without its section, a date on which no court sits (a Sunday
// or a fixed national holiday).
QStringList citationFaults(const QString& text, const Citation& c);
bool sittingDay(const QDate& date);

// Every maxim of an archive whose citation reads, in place order.
std::vector<CitedMaxim> citedMaxims(const QString& archive, const ParsedArchive& data);
// One register, year and number is one ruling: every pair of maxims that cite it with a different
// authority, section or date, one message each, naming both places.
QStringList rulingConflicts(const std::vector<CitedMaxim>& maxims);
// A register numbers its rulings as they are filed, so within one register and year a higher number
// never bears an earlier date, save by the few days that filing may lag: every pair of maxims whose
// numbers run against their dates by more than that, one message each, naming both places.
constexpr int filingLagDays = 7;
QStringList numberingOutOfOrder(const std::vector<CitedMaxim>& maxims);
} // namespace ArchiveValidation
