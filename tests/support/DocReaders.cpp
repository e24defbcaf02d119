#include "DocReaders.h"
#include <QHash>
#include <QStringDecoder>
#include <QtEndian>
#include <zlib.h>

namespace {
struct State {
    int font = 0;
    double size = 12;
    bool bold = false;
    QString destination;   // fonttbl, colortbl, or empty for body text
};
} // namespace

RtfDocument ReadRtf(const QByteArray& in)
{
    RtfDocument doc;
    if (!in.startsWith("{\\rtf1")) return doc;
    QList<State> stack{State{}};
    RtfParagraph para;
    QHash<int, QString> fontNames;
    int currentFontEntry = -1;
    QString fontName;
    int gap = 0;
    auto decoder = QStringDecoder("windows-1252");
    auto addText = [&](const QString& t) {
        State& s = stack.last();
        if (s.destination == QLatin1String("fonttbl")) { fontName += t; return; }
        if (!s.destination.isEmpty()) return;
        para.text += t;
        if (para.runs.isEmpty() || para.runs.last().font != fontNames.value(s.font) || para.runs.last().size != s.size ||
            para.runs.last().bold != s.bold)
            para.runs.append(RtfRun{fontNames.value(s.font), s.size, s.bold, QString()});
        para.runs.last().text += t;
    };
    auto endParagraph = [&] {
        para.markSize = stack.last().size;
        doc.paragraphs << para;
        const bool inTable = para.inTable;
        const char align = para.align;
        para = RtfParagraph{};
        para.inTable = inTable;
        para.align = align;
    };
    qsizetype i = 0;
    while (i < in.size()) {
        const char c = in[i];
        if (c == '{') { stack.append(stack.last()); ++i; continue; }
        if (c == '}') {
            if (stack.last().destination == QLatin1String("fonttbl") && currentFontEntry >= 0 && !fontName.isEmpty()) {
                fontNames[currentFontEntry] = fontName.trimmed().remove(QLatin1Char(';'));
                currentFontEntry = -1;
                fontName.clear();
            }
            if (stack.size() > 1) stack.removeLast();
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') { ++i; continue; }
        if (c == '\\') {
            ++i;
            if (i >= in.size()) break;
            const char n = in[i];
            if (n == '\\' || n == '{' || n == '}') { addText(QString(QChar::fromLatin1(n))); ++i; continue; }
            if (n == '\'') {
                const QByteArray hex = in.mid(i + 1, 2);
                addText(decoder.decode(QByteArray(1, char(hex.toInt(nullptr, 16)))));
                i += 3;
                continue;
            }
            if (n == '~') { addText(QString(QChar::Nbsp)); ++i; continue; }
            qsizetype j = i;
            while (j < in.size() && std::isalpha(uchar(in[j]))) ++j;
            const QByteArray word = in.mid(i, j - i);
            qsizetype k = j;
            if (k < in.size() && (in[k] == '-' || std::isdigit(uchar(in[k])))) {
                ++k;
                while (k < in.size() && std::isdigit(uchar(in[k]))) ++k;
            }
            const bool hasParam = k > j;
            const int param = hasParam ? in.mid(j, k - j).toInt() : 0;
            i = k;
            if (i < in.size() && in[i] == ' ') ++i;
            State& s = stack.last();
            if (word == "fonttbl" || word == "colortbl") s.destination = QString::fromLatin1(word);
            else if (word == "f" && s.destination == QLatin1String("fonttbl")) currentFontEntry = param;
            else if (word == "f") s.font = param;
            else if (word == "fs") s.size = param / 2.0;
            else if (word == "b") s.bold = !hasParam || param != 0;
            else if (word == "plain") { s.bold = false; s.size = 12; }
            else if (word == "pard") { para.align = 'l'; para.pageBreakBefore = false; para.inTable = false; }
            else if (word == "qj") para.align = 'j';
            else if (word == "qr") para.align = 'r';
            else if (word == "qc") para.align = 'c';
            else if (word == "ql") para.align = 'l';
            else if (word == "pagebb") para.pageBreakBefore = true;
            else if (word == "intbl") para.inTable = true;
            else if (word == "par" || word == "cell") endParagraph();
            else if (word == "row") ++doc.rows;
            else if (word == "paperw") doc.paperWidth = param;
            else if (word == "margl") doc.marginLeft = param;
            else if (word == "margr") doc.marginRight = param;
            else if (word == "trgaph") gap = param;
            else if (word == "trleft") doc.tableLeft = std::min(doc.tableLeft, param - gap);
            else if (word == "cellx") doc.tableRight = std::max(doc.tableRight, param - gap);
            else if (word == "tab") addText(QStringLiteral("\t"));
            else if (word == "line") addText(QString(QChar::LineSeparator));
            else if (word == "u") { addText(QString(QChar(char16_t(param)))); if (i < in.size() && in[i] == '?') ++i; }
            continue;
        }
        addText(QString(QChar::fromLatin1(c)));
        ++i;
    }
    // The last paragraph has no mark of its own.
    if (!para.text.isEmpty() || !para.runs.isEmpty()) endParagraph();
    for (auto it = fontNames.begin(); it != fontNames.end(); ++it) doc.fonts << it.value();
    doc.ok = true;
    return doc;
}

QByteArray ZipEntry(const QByteArray& zip, const QString& name)
{
    // Sizes and places from the central directory: writers that stream their entries (LibreOffice)
    // leave them out of the local headers.
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > zip.size()) return {};
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(zip.constData() + at)); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(zip.constData() + at)); };
    const QByteArray want = name.toUtf8();
    qsizetype p = u32(end + 16);
    for (int n = u16(end + 10); n > 0 && p + 46 <= zip.size() && zip.mid(p, 4) == QByteArray("PK\x01\x02", 4); --n) {
        const quint16 method = u16(p + 10);
        const quint32 csize = u32(p + 20), usize = u32(p + 24);
        const quint16 nlen = u16(p + 28), xlen = u16(p + 30), clen = u16(p + 32);
        const qsizetype local = u32(p + 42);
        if (zip.mid(p + 46, nlen) == want) {
            if (local + 30 > zip.size()) return {};
            const QByteArray raw = zip.mid(local + 30 + u16(local + 26) + u16(local + 28), csize);
            if (method == 0) return raw;
            QByteArray out(qsizetype(usize), '\0');
            z_stream s{};
            if (inflateInit2(&s, -MAX_WBITS) != Z_OK) return {};
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
            s.avail_in = uInt(raw.size());
            s.next_out = reinterpret_cast<Bytef*>(out.data());
            s.avail_out = uInt(out.size());
            const int r = inflate(&s, Z_FINISH);
            inflateEnd(&s);
            return r == Z_STREAM_END ? out : QByteArray();
        }
        p += 46 + nlen + xlen + clen;
    }
    return {};
}
