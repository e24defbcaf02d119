#include "PageLayout.h"
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextFrame>
#include <algorithm>
#include <cmath>

// The resolution the text layout takes as the screen's; margins are scaled from it to the layout's
// own device, so they are given in its terms.
extern Q_GUI_EXPORT int qt_defaultDpiY();

namespace PageLayout {
namespace {
// A device of the layout's resolution: fonts are sized for it, whatever screen the text is shown on.
QSizeF pageSize() { return QSizeF(paperSize().width(), stride()); }

QImage& layoutDevice()
{
    static QImage device = [] {
        QImage d(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMetre = int(std::lround(Dpi / 0.0254));
        d.setDotsPerMeterX(dotsPerMetre);
        d.setDotsPerMeterY(dotsPerMetre);
        return d;
    }();
    return device;
}
} // namespace

QSizeF paperSize() { return QPageSize(QPageSize::A4).size(QPageSize::Millimeter) / 25.4 * Dpi; }
QMarginsF margins() { return QMarginsF(Dpi, Dpi, Dpi, Dpi); }
double gap() { return Dpi / 4; }
double stride() { return paperSize().height() + gap(); }

void apply(QTextDocument* doc)
{
    doc->documentLayout()->setPaintDevice(&layoutDevice());
    // Glyph advances from the font's design, not from its hinting at one size: the same line breaks at
    // every resolution.
    doc->setUseDesignMetrics(true);
    doc->setPageSize(pageSize());
    const double toFrame = qt_defaultDpiY() / Dpi;
    const QMarginsF m = margins();
    QTextFrameFormat f = doc->rootFrame()->frameFormat();
    f.setLeftMargin(m.left() * toFrame);
    f.setRightMargin(m.right() * toFrame);
    f.setTopMargin(m.top() * toFrame);
    f.setBottomMargin((m.bottom() + gap()) * toFrame);
    doc->rootFrame()->setFrameFormat(f);
}

void holdPages(QTextDocument* doc)
{
    // A null size, not an invalid one: only a null page size stops the layout.
    if (!pagesHeld(doc)) doc->setPageSize(QSizeF(0, 0));
}

bool pagesHeld(const QTextDocument* doc) { return doc->pageSize().isNull(); }

void ensurePages(const QTextDocument* doc)
{
    if (pagesHeld(doc)) const_cast<QTextDocument*>(doc)->setPageSize(pageSize());
}

QRectF sheet(int index) { return QRectF(QPointF(0, index * stride()), paperSize()); }

int pageCount(const QTextDocument* doc)
{
    ensurePages(doc);
    return std::max(1, doc->pageCount());
}

int sheetAt(const QTextDocument* doc, double y)
{
    return std::clamp(int(std::floor(y / stride())), 0, pageCount(doc) - 1);
}

void print(const QTextDocument* doc, QPrinter* printer)
{
    ensurePages(doc);
    printer->setFullPage(true);
    QPainter p(printer);
    if (!p.isActive()) return;
    const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
    const double scale = std::min(paper.width() / paperSize().width(), paper.height() / paperSize().height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    const int pages = pageCount(doc);
    for (int i = 0; i < pages; ++i) {
        if (i > 0) printer->newPage();
        p.save();
        p.scale(scale, scale);
        const QRectF s = sheet(i);
        p.translate(0, -s.top());
        p.setClipRect(s);
        context.clip = s;
        doc->documentLayout()->draw(&p, context);
        drawFooter(&p, doc, i);
        p.restore();
    }
}

void setFooter(QTextDocument* doc, const QString& pattern) { doc->setProperty("pageFooter", pattern); }

QString footer(const QTextDocument* doc) { return doc->property("pageFooter").toString(); }

QString footerText(const QTextDocument* doc, int index)
{
    const QString pattern = footer(doc);
    if (pattern.isEmpty()) return QString();
    return pattern.arg(index + 1).arg(pageCount(doc));
}

void drawFooter(QPainter* painter, const QTextDocument* doc, int index)
{
    const QString text = footerText(doc, index);
    if (text.isEmpty()) return;
    const QRectF s = sheet(index);
    // Half-way down the bottom margin, in the document's own typeface at 9 points.
    const QRectF band(s.left() + margins().left(), s.bottom() - margins().bottom() / 2 - Dpi / 8,
                      s.width() - margins().left() - margins().right(), Dpi / 4);
    painter->save();
    QFont f(doc->defaultFont());
    if (const QTextBlock first = doc->begin(); first.isValid()) f.setFamilies(first.charFormat().fontFamilies().toStringList());
    f.setPixelSize(int(std::lround(9 * Dpi / 72)));
    painter->setFont(f);
    painter->setPen(Qt::black);
    painter->drawText(band, Qt::AlignCenter, text);
    painter->restore();
}
} // namespace PageLayout
