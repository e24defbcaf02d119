#pragma once
#include "ArchiveData.h"
#include "ArchiveDefinition.h"
#include <QString>
#include <QStringList>

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

namespace ArchiveValidation {
ValidationReport validate(const ArchiveDefinition& def, const ParsedArchive& data);
// True when text ends with a citation in the required form; section/number tell what it carries.
bool hasCitation(const QString& text, bool* section = nullptr, bool* number = nullptr, QString* why = nullptr);
bool allowedCharacter(QChar c);
} // namespace ArchiveValidation
