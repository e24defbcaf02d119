#include "ArchiveData.h"
#include <QFile>
#include <QHash>
#include <QResource>

const ParsedTopic* ParsedArchive::topic(int number) const
{
    for (const ParsedTopic& t : topics)
        if (t.number == number) return &t;
    return nullptr;
}

namespace {
QHash<QString, QByteArray>& overrides()
{
    static QHash<QString, QByteArray> o;
    return o;
}

bool parseTopicLine(QByteArrayView rest, int& number, QString& title)
{
    // rest follows "@topic": one blank, digits, one blank, the title (possibly empty for placeholders).
    if (rest.isEmpty() || rest.front() != ' ') return false;
    qsizetype i = 1;
    long long n = 0;
    const qsizetype start = i;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
        n = n * 10 + (rest[i] - '0');
        if (n > 1000000) return false;
        ++i;
    }
    if (i == start) return false;
    if (i < rest.size() && rest[i] != ' ') return false;
    number = int(n);
    title = i < rest.size() ? QString::fromUtf8(rest.sliced(i + 1)) : QString();
    return true;
}
} // namespace

namespace ArchiveData {

ParsedArchive parse(QByteArrayView data)
{
    ParsedArchive out;
    ParsedTopic* current = nullptr;
    int lineNo = 0;
    int lastNumber = 0;
    qsizetype pos = 0;
    // A byte-order mark is tolerated at the very start.
    if (data.startsWith("\xEF\xBB\xBF")) pos = 3;
    while (pos < data.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0) end = data.size();
        QByteArrayView line = data.sliced(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.front() == '#') continue;
        bool blank = true;
        for (char c : line)
            if (c != ' ' && c != '\t') { blank = false; break; }
        if (blank) continue;
        if (line.startsWith("@topic")) {
            int number = 0;
            QString title;
            if (!parseTopicLine(line.sliced(6), number, title)) {
                out.errors << QStringLiteral("line %1: malformed @topic record").arg(lineNo);
                current = nullptr;
                continue;
            }
            if (number <= lastNumber) {
                out.errors << QStringLiteral("line %1: topic %2 does not follow topic %3 in ascending order")
                                  .arg(lineNo).arg(number).arg(lastNumber);
                current = nullptr;
                continue;
            }
            lastNumber = number;
            out.topics.push_back(ParsedTopic{number, title, lineNo, {}, {}});
            current = &out.topics.back();
            continue;
        }
        if (!current) {
            out.errors << QStringLiteral("line %1: text outside any topic").arg(lineNo);
            continue;
        }
        if (line == "@empty") current->cells << QString();
        else current->cells << QString::fromUtf8(line);
        current->cellLines.push_back(lineNo);
    }
    return out;
}

QByteArray bytesFor(const QString& formName)
{
    auto it = overrides().find(formName);
    if (it != overrides().end()) return it.value();
    QResource res(QStringLiteral(":/archives/data/") + formName + QStringLiteral(".txt"));
    if (!res.isValid()) return {};
    if (res.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(res.data()), qsizetype(res.size()));
    return res.uncompressedData();
}

void setOverride(const QString& formName, const QByteArray& utf8) { overrides().insert(formName, utf8); }
void clearOverrides() { overrides().clear(); }

} // namespace ArchiveData
