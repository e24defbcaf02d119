#pragma once
#include <QByteArrayView>
#include <QImage>
#include <QPixmap>
#include <QString>

// Pictures of the windows, stored as Windows bitmaps. Going through Qt's image readers costs a scan of
// every image-format plugin on the first picture of the run, which showed in the start-up time; the
// plain uncompressed bitmaps the program ships are decoded here instead.
namespace Bitmap {
// An uncompressed 8-bit (palette) or 24-bit Windows bitmap; a null image for anything else, damaged
// files included.
QImage decode(QByteArrayView bytes);
// The picture in a file or resource: decoded here when it is such a bitmap, by Qt's readers otherwise.
QPixmap load(const QString& path);
} // namespace Bitmap
