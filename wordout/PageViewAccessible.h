#pragma once
#include <QAccessible>
#include <QObject>
#include <QString>
#include <utility>

class PageView;
class QTextDocument;

// The page view to assistive technology: an editable text over the document it shows, as a text
// editor is, so that a screen reader reads the document by characters, words, lines, sentences and
// paragraphs, follows the caret and the selection and hears every change. The pages are drawn by a
// graphics scene, which tells a reader nothing by itself.
namespace PageViewAccessible {
// Installs the interface once; the document window does it before its first view is made.
void install();

// The range [first, second) of the unit of the given kind that holds the offset, in the document's
// character positions (a paragraph ends with its separator, read as a line break).
std::pair<int, int> unitAt(const QTextDocument* doc, int offset, QAccessible::TextBoundaryType type);
} // namespace PageViewAccessible
