#include "TipFile.h"
#include "platform/CodePage.h"

namespace TipFile {
QStringList split(const QByteArray& bytes)
{
    const QString text = fromWindows1252(bytes);
    QStringList lines;
    QString current;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << current;
            current.clear();
            pending = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
            continue;
        }
        current += c;
        pending = true;
    }
    if (pending) lines << current;
    return lines;
}
} // namespace TipFile
