#pragma once
class QIODevice;
class QTextDocument;

// Writes a document as Rich Text, the interchange format word processors read as their own: it is
// what the program saves under ".doc", so that Word and LibreOffice both open it as a text document
// with the same paragraphs, page breaks, fonts, sizes, alignment and tables.
namespace RtfWriter {
bool write(const QTextDocument& doc, QIODevice* out);
}
