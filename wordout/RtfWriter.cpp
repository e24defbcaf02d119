#include "RtfWriter.h"
#include "PageLayout.h"
#include <QIODevice>
#include <QStringConverter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>

namespace {
// The page in twips, as the document's own layout has it.
int twips(double layoutUnits) { return int(std::lround(layoutUnits * 1440 / PageLayout::Dpi)); }
struct Page {
    int width = twips(PageLayout::paperSize().width());
    int height = twips(PageLayout::paperSize().height());
    QMarginsF m = PageLayout::margins();
    int left = twips(m.left()), right = twips(m.right()), top = twips(m.top()), bottom = twips(m.bottom());
    int textWidth() const { return width - left - right; }
};

struct Tables {
    QStringList fonts;
    QList<QColor> colours;   // index 0 is the automatic colour
    int font(const QString& family)
    {
        const QString f = family.isEmpty() ? QStringLiteral("Times New Roman") : family;
        int i = int(fonts.indexOf(f));
        if (i < 0) { fonts << f; i = int(fonts.size() - 1); }
        return i;
    }
    int colour(const QColor& c)
    {
        for (int i = 0; i < colours.size(); ++i)
            if (colours[i] == c) return i + 1;
        colours << c;
        return int(colours.size());
    }
};

QString familyOf(const QTextCharFormat& f)
{
    // Read the properties themselves: the convenience getter of this Qt version fails on a format
    // that names no family at all.
    const QString single = f.property(QTextFormat::FontFamily).toString();
    if (!single.isEmpty()) return single;
    const QStringList fams = f.property(QTextFormat::FontFamilies).toStringList();
    return fams.isEmpty() ? QString() : fams.first();
}

QByteArray escape(const QString& text)
{
    QByteArray out;
    auto encoder = QStringEncoder("windows-1252");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') { out += '\\'; out += char(u); }
        else if (u == '\t') out += "\\tab ";
        else if (u == QChar::LineSeparator || u == '\n') out += "\\line ";
        else if (u == QChar::Nbsp) out += "\\~";
        else if (u >= 0x20 && u < 0x80) out += char(u);
        else if (u < 0x20) continue;
        else {
            const QByteArray enc = encoder.encode(QString(c));
            if (!encoder.hasError() && enc.size() == 1 && enc != "?") out += "\\'" + QByteArray::number(quint8(enc[0]), 16).rightJustified(2, '0');
            else out += "\\u" + QByteArray::number(qint16(u)) + '?';
            encoder.resetState();
        }
    }
    return out;
}

const char* alignment(Qt::Alignment a)
{
    if (a & Qt::AlignJustify) return "\\qj";
    if (a & Qt::AlignRight) return "\\qr";
    if (a & Qt::AlignHCenter) return "\\qc";
    return "\\ql";
}

QByteArray runs(const QTextBlock& block, Tables& t)
{
    QByteArray out;
    auto fragmentFormat = [&](const QTextCharFormat& f) {
        QByteArray s = "\\f" + QByteArray::number(t.font(familyOf(f)));
        const double size = f.fontPointSize() > 0 ? f.fontPointSize() : 12.0;
        s += "\\fs" + QByteArray::number(int(std::lround(size * 2)));
        if (f.fontWeight() >= QFont::Bold) s += "\\b";
        if (f.fontItalic()) s += "\\i";
        if (f.hasProperty(QTextFormat::ForegroundBrush)) s += "\\cf" + QByteArray::number(t.colour(f.foreground().color()));
        return s;
    };
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid()) continue;
        out += '{' + fragmentFormat(frag.charFormat()) + ' ' + escape(frag.text()) + '}';
        any = true;
    }
    // An empty paragraph keeps its size: the paragraph mark carries the font of the block.
    if (!any) out += fragmentFormat(block.charFormat()) + ' ';
    return out;
}

QByteArray paragraphProperties(const QTextBlock& block)
{
    QByteArray p = "\\pard\\plain";
    const QTextBlockFormat bf = block.blockFormat();
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) p += "\\pagebb";
    p += alignment(bf.alignment());
    return p;
}

void writeTable(QTextTable* table, Tables& t, QByteArray& out)
{
    // The text width of the page, shared evenly between the columns. Word processors draw a row from
    // its left position less the cell gap to its last boundary less the gap: shifting both by the gap
    // puts the outer borders on the margins.
    const int width = Page().textWidth();
    const int gap = 70;
    const int cols = table->columns();
    for (int r = 0; r < table->rows(); ++r) {
        out += "\\trowd\\trgaph" + QByteArray::number(gap) + "\\trleft" + QByteArray::number(gap);
        if (r < table->format().headerRowCount()) out += "\\trhdr";
        for (int c = 0; c < cols; ++c) {
            const QTextTableCellFormat cf = table->cellAt(r, c).format().toTableCellFormat();
            if (cf.hasProperty(QTextFormat::BackgroundBrush)) out += "\\clcbpat" + QByteArray::number(t.colour(cf.background().color()));
            out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            out += "\\cellx" + QByteArray::number(gap + width * (c + 1) / cols);
        }
        out += '\n';
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            bool first = true;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                const QTextBlock b = it.currentBlock();
                if (!b.isValid()) continue;
                if (!first) out += "\\par\n";
                out += paragraphProperties(b) + "\\intbl " + runs(b, t);
                first = false;
            }
            out += "\\cell\n";
        }
        out += "\\row\n";
    }
}
} // namespace

namespace RtfWriter {
bool write(const QTextDocument& doc, QIODevice* dev)
{
    Tables t;
    QByteArray body;
    QTextFrame* root = doc.rootFrame();
    QList<QByteArray> paragraphs;
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(child)) {
                QByteArray tb;
                writeTable(table, t, tb);
                paragraphs << tb;
            }
            continue;
        }
        const QTextBlock b = it.currentBlock();
        if (!b.isValid()) continue;
        paragraphs << paragraphProperties(b) + ' ' + runs(b, t);
    }
    for (int i = 0; i < paragraphs.size(); ++i) {
        const bool isTable = paragraphs[i].startsWith("\\trowd");
        body += paragraphs[i];
        // The last paragraph has no mark of its own, as in the word processor's document.
        if (!isTable && i + 1 < paragraphs.size()) body += "\\par";
        body += '\n';
    }
    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    if (t.fonts.isEmpty()) t.font(QString());
    for (int i = 0; i < t.fonts.size(); ++i)
        head += "{\\f" + QByteArray::number(i) + "\\fnil " + escape(t.fonts[i]) + ";}";
    head += "}\n{\\colortbl;";
    for (const QColor& c : t.colours)
        head += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
                QByteArray::number(c.blue()) + ';';
    const Page page;
    head += "}\n\\paperw" + QByteArray::number(page.width) + "\\paperh" + QByteArray::number(page.height) + "\\margl" +
            QByteArray::number(page.left) + "\\margr" + QByteArray::number(page.right) + "\\margt" + QByteArray::number(page.top) +
            "\\margb" + QByteArray::number(page.bottom) + '\n';
    // The page footer as fields, so that the word processor numbers the pages it lays out itself.
    if (const QString pattern = PageLayout::footer(&doc); !pattern.isEmpty()) {
        QByteArray footer = "{\\footer\\pard\\qc\\fs18 ";
        static const QByteArray page = "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}";
        static const QByteArray pages = "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}";
        const QStringList parts = pattern.split(QStringLiteral("%1"));
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0) footer += page;
            const QStringList inner = parts[i].split(QStringLiteral("%2"));
            for (int k = 0; k < inner.size(); ++k) {
                if (k > 0) footer += pages;
                footer += escape(inner[k]);
            }
        }
        head += footer + "\\par}\n";
    }
    const QByteArray all = head + body + "}\n";
    return dev->write(all) == all.size();
}
} // namespace RtfWriter
