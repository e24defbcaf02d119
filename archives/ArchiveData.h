#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

// Reader of the archive data files: one record a line; "#" comments and blank lines ignored;
// "@topic N Title" starts topic N; "@empty" stores an explicitly empty cell; any other line is the
// text of the next maxim of the current topic.
struct ParsedTopic {
    int number = 0;
    QString title;
    int line = 0;                 // line of the @topic record, from 1
    QStringList cells;            // in maxim order; explicitly empty cells are empty texts
    std::vector<int> cellLines;   // line of each cell
};

struct ParsedArchive {
    std::vector<ParsedTopic> topics;   // in file order
    QStringList errors;                // malformed records, "line N: ..."
    const ParsedTopic* topic(int number) const;
};

namespace ArchiveData {
ParsedArchive parse(QByteArrayView utf8);

// The data compiled into the program for an archive, or an override installed for it.
QByteArray bytesFor(const QString& formName);
// Replaces an archive's data for this process (tests use small data of their own); an empty
// name list restores the compiled data for every archive.
void setOverride(const QString& formName, const QByteArray& utf8);
void clearOverrides();
} // namespace ArchiveData
