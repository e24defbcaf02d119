#pragma once
#include <QByteArray>
#include <QStringList>

// The tips file: plain text in the Windows Western code page, one tip a line. A line ends at a
// carriage return, a line feed, or the pair; a last line without terminator is still a tip, and a
// terminator at the very end adds none.
namespace TipFile {
QStringList split(const QByteArray& bytes);
}
