#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Readers of saved documents, for checking what the files themselves hold.
struct RtfRun {
    QString font;
    double size = 0;
    bool bold = false;
    QString text;
};
struct RtfParagraph {
    QString text;
    char align = 'l';   // l, r, c, j
    bool pageBreakBefore = false;
    bool inTable = false;
    QList<RtfRun> runs;
    double markSize = 0;   // size in force at the paragraph mark (for empty paragraphs)
};
struct RtfDocument {
    bool ok = false;
    QStringList fonts;
    QList<RtfParagraph> paragraphs;
    int rows = 0;
    int paperWidth = 0, marginLeft = 0, marginRight = 0;   // twips
    // The outer edges of the widest table row as word processors draw it (the row's left position and
    // its last cell boundary, each less the cell gap), twips from the left margin.
    int tableLeft = 0, tableRight = 0;
};
RtfDocument ReadRtf(const QByteArray& rtf);

// The named entry of a zip archive, inflated; empty when missing.
QByteArray ZipEntry(const QByteArray& zip, const QString& name);
