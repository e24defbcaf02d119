// The tips file reader on arbitrary bytes: every line comes back, none holds a terminator.
#include "help/TipFile.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList tips = TipFile::split(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const QString& t : tips)
        if (t.contains(QLatin1Char('\r')) || t.contains(QLatin1Char('\n'))) __builtin_trap();
    if (size > 0 && tips.isEmpty() && data[0] != '\r' && data[0] != '\n') __builtin_trap();
    return 0;
}
