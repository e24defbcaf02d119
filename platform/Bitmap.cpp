#include "Bitmap.h"
#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace Bitmap {
namespace {
quint32 u32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint32>(b.data() + at); }
quint16 u16(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint16>(b.data() + at); }
qint32 s32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<qint32>(b.data() + at); }
} // namespace

QImage decode(QByteArrayView b)
{
    constexpr qsizetype fileHeader = 14;
    if (b.size() < fileHeader + 40 || b[0] != 'B' || b[1] != 'M') return {};
    const quint32 pixelsAt = u32(b, 10);
    const quint32 infoSize = u32(b, 14);
    if (infoSize < 40 || infoSize > quint32(b.size() - fileHeader)) return {};
    const qint32 width = s32(b, 18);
    const qint32 rawHeight = s32(b, 22);
    const quint16 planes = u16(b, 26), bits = u16(b, 28);
    const quint32 compression = u32(b, 30);
    quint32 colours = u32(b, 46);
    if (planes != 1 || compression != 0 || (bits != 8 && bits != 24)) return {};
    // Width and height are bounded well below what the row arithmetic below could overflow.
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384) return {};
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const qsizetype stride = ((qsizetype(width) * bits + 31) / 32) * 4;
    if (pixelsAt > quint32(b.size()) || qsizetype(b.size()) - pixelsAt < stride * height) return {};

    QImage image;
    if (bits == 8) {
        if (colours == 0) colours = 256;
        const qsizetype paletteAt = fileHeader + infoSize;
        if (colours > 256 || paletteAt + qsizetype(colours) * 4 > pixelsAt) return {};
        image = QImage(width, height, QImage::Format_Indexed8);
        if (image.isNull()) return {};
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (quint32 i = 0; i < colours; ++i) {
            const auto* p = reinterpret_cast<const uchar*>(b.data() + paletteAt + 4 * i);
            table[i] = qRgb(p[2], p[1], p[0]);
        }
        image.setColorTable(table);   // all 256 entries: an index past the stored palette reads black
    } else {
        image = QImage(width, height, QImage::Format_RGB888);
        if (image.isNull()) return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const uchar*>(b.data() + pixelsAt + stride * (bottomUp ? height - 1 - y : y));
        uchar* dst = image.scanLine(y);
        if (bits == 8) {
            std::copy(src, src + width, dst);
        } else {
            for (int x = 0; x < width; ++x) {
                dst[3 * x] = src[3 * x + 2];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x];
            }
        }
    }
    return image;
}

QPixmap load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    const QImage image = decode(bytes);
    if (!image.isNull()) return QPixmap::fromImage(image);
    QPixmap other;
    other.loadFromData(bytes);
    return other;
}
} // namespace Bitmap
