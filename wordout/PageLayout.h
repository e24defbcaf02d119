#pragma once
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>

class QPainter;
class QPrinter;
class QString;
class QTextDocument;

// The printed page of every document (A4, margins of one inch) and the layout of a document's text in
// it. The text is laid out once, in a unit of its own (Dpi units to the inch) that no screen changes,
// so that lines wrap and pages end alike on every screen, at every zoom and on paper. Between two
// sheets the layout keeps a gap, which the document window shows as grey ground; printing leaves it
// out.
namespace PageLayout {
constexpr double Dpi = 96;
QSizeF paperSize();   // in layout units
QMarginsF margins();   // the printed margins, in layout units
double gap();   // between two sheets, in layout units
double stride();   // from the top of one sheet to the top of the next
// Lays the document out in the page: paper, margins, gap, the screen-independent unit.
void apply(QTextDocument* doc);
// Text written in bulk goes into a document whose pages are held: the layout keeps everything but the
// page size, and without one it lays nothing out. A document with pages is laid out again after every
// piece typed into it, over more of it the longer it grows, so a print cost the square of its length;
// held, it costs what building the text costs, and the pages are laid out once, by `ensurePages`,
// which everything below calls before it reads them.
void holdPages(QTextDocument* doc);
bool pagesHeld(const QTextDocument* doc);
// The page size back on a held document; nothing on one that has its pages. The layout is the
// document's own cache of its pages, completed on demand the way Qt completes it, so a constant
// document may be given.
void ensurePages(const QTextDocument* doc);
// Sheet `index` (from 0) in layout units.
QRectF sheet(int index);
// The sheet at a height in layout units (from 0), within the document's pages.
int sheetAt(const QTextDocument* doc, double y);
int pageCount(const QTextDocument* doc);   // lays the pages out if they are held
// Each sheet on a page of its own, scaled to the printer's paper when that is smaller.
void print(const QTextDocument* doc, QPrinter* printer);
// A line at the foot of every sheet, in the bottom margin: "%1" becomes the sheet's number and "%2"
// the number of sheets ("pag. %1 di %2"); empty for none. It is kept with the document, so that the
// window, the printer and the saved files show the same.
void setFooter(QTextDocument* doc, const QString& pattern);
QString footer(const QTextDocument* doc);
QString footerText(const QTextDocument* doc, int index);   // for sheet `index` (from 0)
// Draws the footer of sheet `index` with a painter in layout units.
void drawFooter(QPainter* painter, const QTextDocument* doc, int index);
} // namespace PageLayout
