// The window-picture decoder on arbitrary bytes: a picture it accepts has all its pixels in the input.
#include "platform/Bitmap.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QImage image = Bitmap::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (image.isNull()) return 0;
    const qsizetype bytesPerPixel = image.format() == QImage::Format_Indexed8 ? 1 : 3;
    if (qsizetype(image.width()) * image.height() * bytesPerPixel > qsizetype(size)) __builtin_trap();
    volatile QRgb last = image.pixel(image.width() - 1, image.height() - 1);
    (void)last;
    return 0;
}
